#pragma once
// A shown table view with two sheets for widget tests, recording the owner
// notifications it receives.
#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "axview/table_view.h"

class RecordingView : public CTableView {
 public:
  std::vector<std::pair<int, int>> cursorMoves;
  std::vector<int> sheetChanges;
  std::vector<std::pair<int, int>> cellChanges;
  int beeps = 0;
  using CTableView::CreateContextMenu;
  using CTableView::GetSheetObj;
  using CTableView::ReadFindReplaceHistory;
  using CTableView::WriteFindReplaceHistory;

 protected:
  void OnSheetChanged(int sheet) override {
    sheetChanges.push_back(sheet);
    CTableView::OnSheetChanged(sheet);
  }
  void OnCursorMoved(int line, int column) override { cursorMoves.emplace_back(line, column); }
  void OnCellChanged(int line, int column) override { cellChanges.emplace_back(line, column); }
  void MessageBeep() override { ++beeps; }
};

// Sheet 0: `lines` lines of `columns` 80-pixel columns ("r.c" texts); the
// last column numeric with 2 decimals. Sheet 1: three columns laid out by title.
inline void FillView(RecordingView& view, int lines = 100, int columns = 6) {
  view.InsertSheet(0, "Axis 1");
  view.InsertSheet(1, "Axis 2");
  for (int c = 0; c < columns; ++c) {
    CColumnProp prop;
    prop.m_title = "Col " + std::to_string(c);
    prop.m_extent = CRect(0, 0, 80, 1);
    view.InsertColumn(0, c, &prop);
  }
  view.SetColumnEditMode(0, columns - 1, 1, 0, 7, 2);
  for (int l = 0; l < lines; ++l) {
    std::string text;
    for (int c = 0; c < columns; ++c) text += (c ? "\t" : "") + std::to_string(l) + "." + std::to_string(c);
    view.InsertLine(0, l, "");
    view.SetLineText(0, l, text.c_str());
  }
  view.InsertColumn(1, 0, "Speed", 1);
  view.InsertColumn(1, 1, "Acceleration time", 1);
  view.InsertColumn(1, 2, "M code", 0);
  for (int l = 0; l < 10; ++l) view.InsertLine(1, l, "1\t2\t3\r\n");
}

inline void ShowView(RecordingView& view, QSize size = QSize(700, 400)) {
  view.resize(size);
  view.show();
  view.activateWindow();
  view.setFocus();
  QApplication::processEvents();
  view.OnInitialUpdate();
  view.cursorMoves.clear();
  view.sheetChanges.clear();
}

inline CRect Sel(const CTableView& view) {
  CRect s;
  CPoint c;
  view.GetSel(s, c);
  return s;
}

inline CPoint Cur(const CTableView& view) {
  CRect s;
  CPoint c;
  view.GetSel(s, c);
  return c;
}

// The centre of a cell in viewport coordinates.
inline QPoint CellCentre(const CTableView& view, int line, int column) {
  CRect r = view.GetCellRect(line, column);
  return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
