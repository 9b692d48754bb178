// The parameter list control on its own, offscreen: geometry and scroll
// bars, keys, clicks, column resizing, the wheel, notifications, and the
// editing protocol with an owner that can refuse an end of edit.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "param_grid.h"

using axcfgui::CParamGrid;

namespace {

struct EndCall {
  int key;
  bool final;
  int move;
};

// An owner whose cells, kinds and answers the test sets; it records every
// call and every request for a cell that does not exist.
class TestGrid : public CParamGrid {
 public:
  using CParamGrid::CParamGrid;
  int kind = kEditUnsigned;
  bool refuse = false;    // an open edit refuses to end with Enter
  bool prepare = true;
  int beeps = 0;
  int badCells = 0;
  std::vector<EndCall> ends;

  unsigned GetCellText(int column, int row, QString& text) override {
    if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) ++badCells;
    text = QStringLiteral("%1/%2").arg(column).arg(row);
    return kAlignRight | kAlignMiddle;
  }
  int GetCellEditKind(int column, int row) override {
    if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) ++badCells;
    return kind;
  }
  bool PrepareCellEditor(QWidget* editor, int, int) override {
    if (auto* combo = qobject_cast<QComboBox*>(editor))
      combo->addItems({QStringLiteral("N:Not used"), QStringLiteral("W:With mode"), QStringLiteral("D:Delay mode")});
    return prepare;
  }
  int EndCellEdit(int key, bool final, int move) override {
    if (!Editor()) return 1;
    ends.push_back({key, final, move});
    if (refuse && key == Qt::Key_Return && !final) return -1;
    return FinishEdit(key, final, move);
  }
  void MessageBeep() override { ++beeps; }
};

struct GridFixture : ::testing::Test {
  QDialog dialog;
  TestGrid* grid = new TestGrid(&dialog);

  void SetUp() override {
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(grid);
    grid->SetHeaderWidth(100);
    grid->SetRowCount(52);
    grid->SetColumnCount(8, {80, 30});
    dialog.resize(500, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    grid->setFocus();
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(grid, Qt::Key(key), mods); }
  QPoint CellCentre(int column, int row) { return grid->CellRect(column, row).center(); }
  void Wheel(int delta) {
    QWheelEvent e(QPointF(150, 100), grid->mapToGlobal(QPointF(150, 100)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid, &e);
  }
};

TEST(ParamGrid, StartsEmptyWithDisabledBarsAndTheDefaultWidth) {
  TestGrid grid;
  grid.resize(300, 200);
  EXPECT_EQ(grid.CurrentColumn(), 0);
  EXPECT_EQ(grid.CurrentRow(), 0);
  EXPECT_EQ(grid.DefaultColumnWidth(), 60);
  EXPECT_FALSE(grid.VerticalBar()->isEnabled());
  EXPECT_FALSE(grid.HorizontalBar()->isEnabled());
  grid.SetDefaultColumnWidth(-5);
  EXPECT_EQ(grid.DefaultColumnWidth(), 60);
  grid.SetColumnCount(3, {100, 39});
  EXPECT_EQ(grid.ColumnWidth(0), 100);
  EXPECT_EQ(grid.ColumnWidth(1), 60);  // below 40: drawn at the default
  EXPECT_EQ(grid.ColumnWidth(2), 60);
  grid.SetColumnCount(0);
  EXPECT_EQ(grid.ColumnCount(), 0);
  EXPECT_EQ(grid.CurrentColumn(), 0);
  grid.SetColumnCount(1);
  grid.SetRowCount(1);
  EXPECT_FALSE(grid.VerticalBar()->isEnabled());
  grid.SetRowCount(200);
  EXPECT_TRUE(grid.VerticalBar()->isEnabled());
}

TEST_F(GridFixture, KeysMoveTheCurrentCellAndNotifyOnlyOnChange) {
  QSignalSpy spy(grid, &CParamGrid::currentCellChanged);
  Key(Qt::Key_Left);
  Key(Qt::Key_Up);
  EXPECT_EQ(spy.count(), 0);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_EQ(grid->CurrentRow(), 1);
  ASSERT_EQ(spy.count(), 2);
  EXPECT_EQ(spy.last().at(0).toInt(), 1);
  EXPECT_EQ(spy.last().at(1).toInt(), 1);
  Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(grid->CurrentRow(), 51);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_GT(grid->FirstVisibleRow(), 0);  // scrolled so that the row shows
  EXPECT_FALSE(grid->CellRect(1, 51).isEmpty());
  Key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->FirstVisibleRow(), 0);
  Key(Qt::Key_End);
  EXPECT_EQ(grid->CurrentColumn(), 7);
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_FALSE(grid->CellRect(7, 0).isEmpty());
  Key(Qt::Key_Home);
  EXPECT_EQ(grid->CurrentColumn(), 0);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(grid->CurrentColumn(), 7);
  EXPECT_EQ(grid->CurrentRow(), 51);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(grid->CurrentColumn(), 0);
  EXPECT_EQ(grid->CurrentRow(), 0);
  const int page = grid->VisibleRows() - 1;
  Key(Qt::Key_PageDown);
  EXPECT_EQ(grid->CurrentRow(), page);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->badCells, 0);
}

TEST_F(GridFixture, PageKeysMoveAtLeastOneRowWhateverTheHeight) {
  for (int h : {grid->RowHeight() * 3, grid->RowHeight() + 30, 10}) {
    grid->setFixedHeight(h);
    QApplication::processEvents();
    grid->SetCurrentCell(0, 5);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid->CurrentRow(), 6) << h;
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(grid->CurrentRow(), 4) << h;
  }
  EXPECT_EQ(grid->badCells, 0);
}

TEST_F(GridFixture, WithoutCellsNothingHappens) {
  QSignalSpy spy(grid, &CParamGrid::currentCellChanged);
  grid->SetColumnCount(0);
  grid->badCells = 0;
  for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_End, Qt::Key_F2, Qt::Key_5}) Key(key);
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
  grid->AttachOwner();
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(grid->Editor(), nullptr);
  EXPECT_EQ(grid->beeps, 0);
  EXPECT_EQ(grid->badCells, 0);
  grid->SetColumnCount(2);
  grid->SetRowCount(0);
  Key(Qt::Key_F2);
  EXPECT_EQ(grid->Editor(), nullptr);
  EXPECT_EQ(grid->badCells, 0);
}

TEST_F(GridFixture, ClicksSelectCellsAndOnlyCells) {
  QSignalSpy spy(grid, &CParamGrid::currentCellChanged);
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, CellCentre(2, 3));
  EXPECT_EQ(grid->CurrentColumn(), 2);
  EXPECT_EQ(grid->CurrentRow(), 3);
  EXPECT_EQ(spy.count(), 1);
  EXPECT_TRUE(grid->hasFocus());
  // The header column, and below the last row of a short grid.
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(20, CellCentre(0, 5).y()));
  grid->SetRowCount(2);
  grid->SetCurrentCell(0, 0);
  spy.clear();
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(CellCentre(1, 0).x(), grid->CellArea().bottom() - 5));
  EXPECT_EQ(spy.count(), 0);
  EXPECT_EQ(grid->CurrentRow(), 0);
  EXPECT_EQ(grid->badCells, 0);
}

TEST_F(GridFixture, DraggingAColumnBorderResizesWithAMinimum) {
  const int border = grid->CellArea().left() + grid->ColumnWidth(0);
  const int y = grid->RowHeight() / 2;
  QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, QPoint(border + 1, y));
  QTest::mouseMove(grid, QPoint(border + 41, y));
  QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, QPoint(border + 41, y));
  EXPECT_EQ(grid->ColumnWidth(0), 120);
  const int border2 = grid->CellArea().left() + grid->ColumnWidth(0);
  QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, QPoint(border2 - 2, y));
  QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, QPoint(border2 - 200, y));
  EXPECT_EQ(grid->ColumnWidth(0), 40);
  // A header click away from a border changes nothing.
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(border2 - 15, y));
  EXPECT_EQ(grid->ColumnWidth(0), 40);
  EXPECT_EQ(grid->CurrentRow(), 0);
}

TEST_F(GridFixture, WheelScrollsOneRowPerStepAndAccumulatesSmallSteps) {
  Wheel(0);
  EXPECT_EQ(grid->FirstVisibleRow(), 0);
  Wheel(-120);
  EXPECT_EQ(grid->FirstVisibleRow(), 1);
  Wheel(-240);
  EXPECT_EQ(grid->FirstVisibleRow(), 3);
  for (int i = 0; i < 2; ++i) Wheel(-40);
  EXPECT_EQ(grid->FirstVisibleRow(), 3);
  Wheel(-40);
  EXPECT_EQ(grid->FirstVisibleRow(), 4);
  Wheel(120);
  EXPECT_EQ(grid->FirstVisibleRow(), 3);
  EXPECT_EQ(grid->CurrentRow(), 0);  // the wheel moves the view, not the cell
}

TEST_F(GridFixture, FirstKeysFollowTheKind) {
  grid->kind = CParamGrid::kEditUnsigned;
  Key(Qt::Key_A);
  EXPECT_EQ(grid->beeps, 1);
  EXPECT_EQ(grid->Editor(), nullptr);
  QTest::keyClick(grid, '-');
  EXPECT_EQ(grid->beeps, 2);
  QTest::keyClick(grid, '7');
  auto* edit = qobject_cast<QLineEdit*>(grid->Editor());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "7");
  EXPECT_TRUE(edit->hasFocus());
  QTest::keyClick(edit, 'x');  // digits only
  EXPECT_EQ(edit->text(), "7");
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(grid->Editor(), nullptr);
  EXPECT_TRUE(grid->hasFocus());

  grid->kind = CParamGrid::kEditSigned;
  QTest::keyClick(grid, '-');
  ASSERT_NE(grid->Editor(), nullptr);
  QTest::keyClick(grid->Editor(), Qt::Key_Escape);
  grid->kind = CParamGrid::kEditDecimal;
  QTest::keyClick(grid, '.');
  ASSERT_NE(grid->Editor(), nullptr);
  QTest::keyClick(grid->Editor(), Qt::Key_Escape);

  grid->kind = CParamGrid::kEditNone;
  Key(Qt::Key_F2);
  Key(Qt::Key_1);
  EXPECT_EQ(grid->Editor(), nullptr);
  EXPECT_EQ(grid->beeps, 4);

  grid->kind = CParamGrid::kEditUnsigned;
  grid->prepare = false;
  Key(Qt::Key_F2);
  EXPECT_EQ(grid->Editor(), nullptr);
}

TEST_F(GridFixture, ATypedKeyOpensAListOnTheFirstMatchingChoice) {
  grid->kind = CParamGrid::kEditList;
  QTest::keyClick(grid, 'd');
  auto* combo = qobject_cast<QComboBox*>(grid->Editor());
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentIndex(), 2);
  combo->hidePopup();
  QTest::keyClick(combo, Qt::Key_Escape);
  EXPECT_EQ(grid->Editor(), nullptr);
}

TEST_F(GridFixture, EnterEndsTheEditAndMovesDownWithoutReachingTheDialog) {
  QPushButton* ok = nullptr;
  Q_UNUSED(ok);
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  QSignalSpy rejected(&dialog, &QDialog::rejected);
  Key(Qt::Key_F2);
  ASSERT_NE(grid->Editor(), nullptr);
  QTest::keyClick(grid->Editor(), Qt::Key_Return);
  ASSERT_EQ(grid->ends.size(), 1u);
  EXPECT_EQ(grid->ends[0].key, Qt::Key_Return);
  EXPECT_EQ(grid->ends[0].move, 1);
  EXPECT_EQ(grid->CurrentRow(), 1);
  Key(Qt::Key_F2);
  QTest::keyClick(grid->Editor(), Qt::Key_Escape);
  EXPECT_EQ(grid->ends.back().key, Qt::Key_Escape);
  EXPECT_EQ(grid->CurrentRow(), 1);
  EXPECT_EQ(accepted.count(), 0);
  EXPECT_EQ(rejected.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(GridFixture, ARefusedEndBlocksMovesScrollsAndTheWheel) {
  Key(Qt::Key_F2);
  ASSERT_NE(grid->Editor(), nullptr);
  grid->refuse = true;
  QSignalSpy spy(grid, &CParamGrid::currentCellChanged);
  EXPECT_FALSE(grid->SetCurrentCell(3, 3));
  QTest::keyClick(grid->Editor(), Qt::Key_Return);
  grid->SetFirstVisibleRow(10);
  Wheel(-120);
  grid->VerticalBar()->setValue(5);
  EXPECT_EQ(grid->FirstVisibleRow(), 0);
  EXPECT_EQ(grid->VerticalBar()->value(), 0);
  EXPECT_EQ(spy.count(), 0);
  EXPECT_NE(grid->Editor(), nullptr);
  grid->refuse = false;
  Wheel(-120);
  EXPECT_EQ(grid->Editor(), nullptr);
  EXPECT_EQ(grid->FirstVisibleRow(), 1);
}

TEST_F(GridFixture, FocusLeavingTheEditorEndsTheEdit) {
  auto* other = new QLineEdit(&dialog);
  dialog.layout()->addWidget(other);
  Key(Qt::Key_F2);
  ASSERT_NE(grid->Editor(), nullptr);
  other->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(grid->Editor(), nullptr);
  ASSERT_EQ(grid->ends.size(), 1u);
  EXPECT_EQ(grid->ends[0].move, 0);
}

TEST_F(GridFixture, DestroyingTheGridEndsAnEditAsFinal) {
  Key(Qt::Key_F2);
  QPointer<QWidget> editor = grid->Editor();
  ASSERT_FALSE(editor.isNull());
  delete grid;
  grid = nullptr;
  EXPECT_TRUE(editor.isNull());
}

}  // namespace
