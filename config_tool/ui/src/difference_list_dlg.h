#pragma once
// CDifferenceListDlg: every differing item of a verification in a table
// (part, where, table No., item and both values). A click on a column
// title sorts by it; Ctrl+C or "&Copy" puts the selected rows (all rows
// when none is selected) on the clipboard as tab-separated lines.
#include <QDialog>
#include <vector>

#include "axcfg_data/difference_list.h"

class QPushButton;
class QTableWidget;

namespace axcfgui {

class CDifferenceListDlg : public QDialog {
  Q_OBJECT

 public:
  // `secondTitle` names the column of the second configuration ("File" or
  // "Unit"); the first is the document.
  CDifferenceListDlg(const std::vector<axcfg::DifferenceItem>& items, const QString& secondTitle, QWidget* parent);

  QTableWidget* Table() const { return m_table; }
  QPushButton* CopyButton() const { return m_copy; }
  // The rows as shown (in the current order), the column titles first;
  // selected rows only when some are selected.
  QString CopyText() const;
  // One shown row as "what: first | second", the form axcfg prints.
  QString RowLine(int row) const;

 protected:
  // Ctrl+C on the table copies whole rows, not the current cell alone.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Copy();

  std::vector<axcfg::DifferenceItem> m_items;
  QTableWidget* m_table;
  QPushButton* m_copy;
  int m_sortColumn = -1;  // none: the list's own order
  Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

}  // namespace axcfgui
