// In-place editing: the numeric key rules, Escape, the control's own
// clipboard commands with their undo, input methods and the choice list.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

#include "axview/helpers.h"
#include "view_fixture.h"

namespace {

class ViewEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    KELDExSetLanguage(0);
    FillView(view);
    ShowView(view);
  }
  QLineEdit* StartEdit(int line, int column) {
    view.SetSel(CRect(column, line, column, line), CPoint(column, line));
    QTest::keyClick(&view, Qt::Key_F2);
    return qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  }
  static void Type(QWidget* w, const char* keys) { QTest::keyClicks(w, keys); }
  RecordingView view;
};

}  // namespace

TEST_F(ViewEdit, FiveAndEnterInAThreeLineSelectionWritesThreeCells) {
  view.SetSel(CRect(5, 2, 5, 4), CPoint(5, 2));
  QTest::keyClick(&view, Qt::Key_5);
  auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_Return);
  for (int line = 2; line <= 4; ++line) EXPECT_EQ(view.GetCellText(0, line, 5), "5.00") << line;
  EXPECT_EQ(view.GetCellText(0, 5, 5), "5.50");
  EXPECT_EQ(view.cellChanges.size(), 3u);
  EXPECT_EQ(Sel(view), CRect(5, 2, 5, 4));
  EXPECT_EQ(Cur(view), CPoint(5, 3));
}

TEST_F(ViewEdit, EscapeRestoresTheTextAndWritesNothing) {
  QLineEdit* edit = StartEdit(3, 1);
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_End);
  Type(edit, "xyz");
  EXPECT_EQ(edit->text(), "3.1xyz");
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  EXPECT_EQ(edit->text(), "3.1");
  EXPECT_EQ(view.GetCellText(0, 3, 1), "3.1");
  EXPECT_TRUE(view.cellChanges.empty());
  EXPECT_EQ(Cur(view), CPoint(1, 3)) << "Escape does not move";
  EXPECT_TRUE(view.hasFocus());
}

TEST_F(ViewEdit, NumericKeysKeepDecimalsDigitsAndTheSign) {
  QLineEdit* edit = StartEdit(0, 5);  // two decimals
  ASSERT_NE(edit, nullptr);
  Type(edit, "1.234");
  EXPECT_EQ(edit->text(), "1.23") << "no third decimal";
  QTest::keyClick(edit, Qt::Key_Minus);
  EXPECT_EQ(edit->text(), "-1.23");
  QTest::keyClick(edit, Qt::Key_Minus);
  EXPECT_EQ(edit->text(), "1.23");
  Type(edit, ".a ");
  EXPECT_EQ(edit->text(), "1.23") << "a second point, letters and blanks are refused";
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(view.GetCellText(0, 0, 5), "1.23");

  view.SetColumnEditMode(0, 4, 1, 0, 3, 0);  // integers of three digits
  edit = StartEdit(1, 4);
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled)) << "numbers take no input method";
  Type(edit, "1.2345");
  EXPECT_EQ(edit->text(), "123") << "no point without decimals, no fourth digit";
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClick(edit, Qt::Key_Minus);
  EXPECT_EQ(edit->text(), "-123");
  EXPECT_EQ(edit->cursorPosition(), 1);
  QTest::keyClick(edit, Qt::Key_Escape);

  edit = StartEdit(1, 0);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->testAttribute(Qt::WA_InputMethodEnabled)) << "texts accept Japanese input";
  QTest::keyClick(edit, Qt::Key_Escape);
}

TEST_F(ViewEdit, OwnCutPasteAndOneStepUndo) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QLineEdit* edit = StartEdit(2, 0);
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);  // all selected at the start
  EXPECT_EQ(edit->text(), "");
  EXPECT_EQ(clipboard->text(), "2.0");
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "2.0");
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "") << "a second undo redoes";
  clipboard->setText("line one\tsecond\r\nnext");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "line one") << "only up to the first TAB or line end";
  QTest::keyClick(edit, Qt::Key_Escape);

  edit = StartEdit(2, 5);
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_End);
  clipboard->setText("abc");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(view.beeps, 1) << "no number at the start";
  clipboard->setText("7.5x");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(view.beeps, 2) << "2.5 then 7.5 has two points";
  EXPECT_EQ(edit->text(), "2.5");
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(edit->text(), "7.5");
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "2.5");
  QTest::keyClick(edit, Qt::Key_Escape);
}

TEST_F(ViewEdit, ChoiceListWritesTheChosenItemIntoTheSelection) {
  view.AddColumnString(0, 2, "Absolute");
  view.AddColumnString(0, 2, "Increment");
  view.AddColumnString(0, 2, "Speed control with a long name");
  for (int line = 0; line < 5; ++line) view.SetCellText(0, line, 2, "Absolute");
  view.cellChanges.clear();
  view.SetSel(CRect(2, 1, 2, 3), CPoint(2, 1));
  QTest::keyClick(&view, Qt::Key_F2);
  auto* combo = qobject_cast<QComboBox*>(view.GetActiveCellEditor());
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentText(), "Absolute");
  EXPECT_EQ(combo->count(), 3);
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(view.GetActiveCellEditor(), combo) << "stepping through the list chooses nothing yet";
  QTest::keyClick(combo, Qt::Key_Escape);
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  EXPECT_TRUE(view.cellChanges.empty()) << "Escape writes nothing";

  QTest::keyClick(&view, Qt::Key_F2);
  combo = qobject_cast<QComboBox*>(view.GetActiveCellEditor());
  ASSERT_NE(combo, nullptr);
  QTest::keyClick(combo, Qt::Key_Down);
  QTest::keyClick(combo, Qt::Key_Return);
  for (int line = 1; line <= 3; ++line) EXPECT_EQ(view.GetCellText(0, line, 2), "Increment") << line;
  EXPECT_EQ(view.GetCellText(0, 4, 2), "Absolute");
  EXPECT_EQ(Cur(view), CPoint(2, 2)) << "Enter moves as in the grid";

  view.SetSel(CRect(2, 4, 2, 4), CPoint(2, 4));
  QTest::keyClick(&view, Qt::Key_F2);
  combo = qobject_cast<QComboBox*>(view.GetActiveCellEditor());
  ASSERT_NE(combo, nullptr);
  QFontMetrics fm(combo->font());
  const int widest = fm.horizontalAdvance("Speed control with a long name");
  combo->showPopup();
  EXPECT_GE(combo->view()->width(), widest + 20);
  combo->hidePopup();
  combo->setCurrentIndex(2);
  QTest::keyClick(combo, Qt::Key_Left);
  EXPECT_EQ(view.GetCellText(0, 4, 2), "Speed control with a long name");
  EXPECT_EQ(Cur(view), CPoint(1, 4));
}

TEST_F(ViewEdit, TypingALetterOnAChoiceCellPicksTheChoice) {
  view.AddColumnString(0, 0, "Absolute");
  view.AddColumnString(0, 0, "Increment");
  view.SetSel(CRect(0, 6, 0, 6), CPoint(0, 6));
  QTest::keyClick(&view, Qt::Key_I);
  auto* combo = qobject_cast<QComboBox*>(view.GetActiveCellEditor());
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentText(), "Increment");
  QTest::keyClick(combo, Qt::Key_Right);
  EXPECT_EQ(view.GetCellText(0, 6, 0), "Increment");
  EXPECT_EQ(Cur(view), CPoint(1, 6));
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
}
