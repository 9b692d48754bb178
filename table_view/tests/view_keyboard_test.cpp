// Keyboard rules of the table view, driven with QTest key events.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>

#include "axview/helpers.h"
#include "view_fixture.h"

namespace {

class ViewKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    FillView(view);
    ShowView(view);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&view, key, mods); }
  RecordingView view;
};

}  // namespace

TEST_F(ViewKeys, ArrowsMoveOneCellAndStopAtTheEdges) {
  Key(Qt::Key_Up);
  Key(Qt::Key_Left);
  EXPECT_EQ(Cur(view), CPoint(0, 0));
  EXPECT_TRUE(view.cursorMoves.empty()) << "no move at the edge, no notification";
  Key(Qt::Key_Down);
  Key(Qt::Key_Right);
  EXPECT_EQ(Cur(view), CPoint(1, 1));
  EXPECT_EQ(Sel(view), CRect(1, 1, 1, 1));
  ASSERT_EQ(view.cursorMoves.size(), 2u);
  EXPECT_EQ(view.cursorMoves[1], std::make_pair(1, 1));
  for (int i = 0; i < 10; ++i) Key(Qt::Key_Right);
  EXPECT_EQ(Cur(view).x, 5);
}

TEST_F(ViewKeys, ShiftArrowsMoveTheFarEdgeOnly) {
  view.SetSel(CRect(2, 5, 2, 5), CPoint(2, 5));
  view.cursorMoves.clear();
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Sel(view), CRect(2, 5, 3, 7));
  EXPECT_EQ(Cur(view), CPoint(2, 5));
  Key(Qt::Key_Up, Qt::ShiftModifier);  // shrinks back towards the cursor
  EXPECT_EQ(Sel(view), CRect(2, 5, 3, 6));
  Key(Qt::Key_Up, Qt::ShiftModifier);
  Key(Qt::Key_Up, Qt::ShiftModifier);  // then grows above it
  EXPECT_EQ(Sel(view), CRect(2, 4, 3, 5));
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(Sel(view), CRect(0, 4, 2, 5));  // never beyond column 0
  EXPECT_TRUE(view.cursorMoves.empty());
  Key(Qt::Key_Right);  // a plain arrow collapses the selection
  EXPECT_EQ(Sel(view), CRect(3, 5, 3, 5));
}

TEST_F(ViewKeys, TabMovesRightAndShiftTabLeftWithoutExtending) {
  view.SetSel(CRect(1, 1, 3, 3), CPoint(2, 2));
  Key(Qt::Key_Tab);
  EXPECT_EQ(Sel(view), CRect(3, 2, 3, 2));
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Sel(view), CRect(1, 2, 1, 2));
  EXPECT_TRUE(view.hasFocus()) << "Tab stays in the grid";
}

TEST_F(ViewKeys, HomeAndEndWithCtrlAndShift) {
  view.SetSel(CRect(2, 10, 3, 12), CPoint(3, 12));
  Key(Qt::Key_Home);
  EXPECT_EQ(Sel(view), CRect(0, 10, 0, 10));
  Key(Qt::Key_End);
  EXPECT_EQ(Sel(view), CRect(5, 10, 5, 10));
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Cur(view), CPoint(5, 99));
  EXPECT_EQ(view.GetTopLine(), 100 - view.GetPageLines()) << "the last line is shown";
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(Sel(view), CRect(0, 0, 0, 0));
  EXPECT_EQ(view.GetTopLine(), 0);

  view.SetSel(CRect(2, 10, 3, 12), CPoint(3, 12));
  Key(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(Sel(view), CRect(2, 10, 5, 12));
  EXPECT_EQ(Cur(view), CPoint(3, 12));
  Key(Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(Sel(view), CRect(2, 10, 5, 99));
  Key(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(Sel(view), CRect(0, 10, 5, 99));
  EXPECT_EQ(Cur(view), CPoint(0, 12));
  Key(Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(Sel(view), CRect(0, 0, 5, 99));
  EXPECT_EQ(Cur(view), CPoint(0, 0));
}

TEST_F(ViewKeys, PageKeysMoveByTheVisibleLines) {
  const int page = view.GetPageLines();
  ASSERT_GT(page, 3);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(Cur(view), CPoint(0, page));
  EXPECT_LE(view.GetTopLine(), page);
  EXPECT_GE(view.GetTopLine() + page - 1, page) << "the cursor line is visible";
  Key(Qt::Key_PageDown, Qt::ShiftModifier);
  EXPECT_EQ(Sel(view), CRect(0, page, 0, 2 * page));
  Key(Qt::Key_PageUp);
  EXPECT_EQ(Cur(view), CPoint(0, 0));
  for (int i = 0; i < 100; ++i) Key(Qt::Key_PageDown);
  EXPECT_EQ(Cur(view), CPoint(0, 99));
}

TEST_F(ViewKeys, EnterWalksATwoByTwoSelectionColumnByColumn) {
  view.SetSel(CRect(1, 3, 2, 4), CPoint(1, 3));
  std::vector<CPoint> visited;
  for (int i = 0; i < 5; ++i) {
    Key(Qt::Key_Return);
    visited.push_back(Cur(view));
    EXPECT_EQ(Sel(view), CRect(1, 3, 2, 4));
  }
  EXPECT_EQ(visited, (std::vector<CPoint>{{1, 4}, {2, 3}, {2, 4}, {1, 3}, {1, 4}}));
  Key(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Cur(view), CPoint(1, 3));
  Key(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Cur(view), CPoint(2, 4));

  view.SetSel(CRect(0, 0, 0, 0), CPoint(0, 0));
  Key(Qt::Key_Enter);
  EXPECT_EQ(Sel(view), CRect(0, 1, 0, 1));
}

TEST_F(ViewKeys, CtrlPageSwitchesSheetsWithoutWrapping) {
  QSignalSpy tabs(&view, &CTableView::sheetTabChanged);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(view.GetSelSheet(), 0);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(view.GetSelSheet(), 1);
  EXPECT_EQ(view.sheetChanges, std::vector<int>{1});
  ASSERT_EQ(tabs.count(), 1);
  EXPECT_EQ(tabs.at(0).at(0).toInt(), 1);
  Key(Qt::Key_PageDown, Qt::ControlModifier);  // on the last sheet: nothing
  EXPECT_EQ(view.GetSelSheet(), 1);
  EXPECT_EQ(view.sheetChanges.size(), 1u);
  EXPECT_EQ(tabs.count(), 1);

  // Each sheet keeps its own selection.
  Key(Qt::Key_Down);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(Cur(view), CPoint(0, 0));
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(Cur(view), CPoint(0, 1));
}

TEST_F(ViewKeys, TypingStartsEditingAndEnterWritesEverySelectedLine) {
  view.SetSel(CRect(1, 2, 1, 4), CPoint(1, 2));
  Key(Qt::Key_A);
  auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "a") << "the key is the first character typed";
  QTest::keyClicks(edit, "bc");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  for (int line = 2; line <= 4; ++line) EXPECT_EQ(view.GetCellText(0, line, 1), "abc");
  EXPECT_EQ(view.GetCellText(0, 5, 1), "5.1");
  EXPECT_EQ(view.cellChanges.size(), 3u);
  EXPECT_EQ(Cur(view), CPoint(1, 3)) << "Enter moves within the selection";
  EXPECT_TRUE(view.hasFocus());
}

TEST_F(ViewKeys, EscapeAndScrollingWriteNothing) {
  Key(Qt::Key_X);
  auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  EXPECT_EQ(view.GetCellText(0, 0, 0), "0.0");

  Key(Qt::Key_F2);
  edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "0.0");
  QTest::keyClicks(edit, "zz");
  view.verticalScrollBar()->setValue(5);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  EXPECT_EQ(view.GetCellText(0, 0, 0), "0.0");
  EXPECT_TRUE(view.cellChanges.empty());
}

TEST_F(ViewKeys, NumericColumnStartsOnlyOnDigitsAndSign) {
  view.SetSel(CRect(5, 1, 5, 1), CPoint(5, 1));
  view.SetCellText(0, 1, 5, "1.5");
  EXPECT_EQ(view.GetCellText(0, 1, 5), "1.50");
  Key(Qt::Key_X);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  Key(Qt::Key_Space);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  Key(Qt::Key_F2);
  auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "1.5") << "shown without trailing zeros";
  QTest::keyClick(edit, Qt::Key_Escape);
  Key(Qt::Key_7);
  edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "7");
  QTest::keyClick(edit, Qt::Key_Down);  // started by typing: the arrow finishes the edit
  EXPECT_EQ(view.GetCellText(0, 1, 5), "7.00");
  EXPECT_EQ(Cur(view), CPoint(5, 2));
}

TEST_F(ViewKeys, TabFinishesAnEditAndMovesRight) {
  Key(Qt::Key_Q);
  auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_EQ(view.GetCellText(0, 0, 0), "q");
  EXPECT_EQ(Cur(view), CPoint(1, 0));
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
}
