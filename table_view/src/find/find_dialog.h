#pragma once
// CFindDialog: the find and replace dialog of a table view. It searches the
// view's current sheet through CTableView::OnSearchRequest, within an area of
// columns and lines, one column or all of them, and keeps the histories of
// the texts searched for and put in.
#include <QDialog>
#include <string>
#include <vector>

#include "axview/table_objects.h"

class CTableView;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class CFindDialog : public QDialog {
 public:
  CFindDialog(CTableView* view, bool replaceMode, std::vector<std::string> findHistory,
              std::vector<std::string> replaceHistory);
  ~CFindDialog() override;

  // The buttons.
  void OnButtonFindNext();
  void OnButtonFindReplace();
  void OnButtonFindReplaceAll();
  // A choice in the column list: 0 is "All columns".
  void OnColumnChosen(int index);

  bool IsReplaceMode() const { return m_mode == 0; }
  const CRect& Area() const { return m_area; }
  CPoint Position() const { return m_position; }
  const std::vector<std::string>& FindHistory() const { return m_findHistory; }
  const std::vector<std::string>& ReplaceHistory() const { return m_replaceHistory; }

  QComboBox* FindCombo() const { return m_findCombo; }
  QComboBox* ReplaceCombo() const { return m_replaceCombo; }
  QComboBox* ColumnList() const { return m_columnList; }
  QCheckBox* MatchCaseBox() const { return m_matchCaseBox; }
  QCheckBox* EntireCellsBox() const { return m_entireBox; }

 private:
  void SetMode(bool replace);
  void ApplyColumnFilters();
  void ReadControls();
  // The one-column check before a search; false when the dialog closed.
  bool CheckOneColumn(unsigned messageId);
  void AddToHistory(std::vector<std::string>& history, std::string& last, QComboBox* combo, const std::string& text);
  bool Send(DWORD action);
  void NothingMore();

  int m_matchCase = 0;
  int m_entireCells = 0;
  int m_columnIndex = 0;
  std::string m_findText;
  std::string m_replaceText;
  int m_mode = 1;  // 1 find, 0 replace
  std::vector<std::string> m_findHistory;
  std::vector<std::string> m_replaceHistory;
  std::vector<CColumnProp> m_columns;  // "All columns" first
  CTableView* m_view;
  CRect m_area;
  CPoint m_position;
  int m_lineCount = 0;
  int m_columnCount = 0;
  std::string m_lastFind;
  std::string m_lastReplace;
  bool m_refused = false;  // the last request's replace text was refused

  QComboBox* m_findCombo;
  QComboBox* m_replaceCombo;
  QLabel* m_replaceLabel;
  QComboBox* m_columnList;
  QCheckBox* m_matchCaseBox;
  QCheckBox* m_entireBox;
  QPushButton* m_findNextButton;
  QPushButton* m_replaceButton;
  QPushButton* m_replaceAllButton;
};
