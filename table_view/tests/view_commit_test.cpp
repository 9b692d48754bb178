// What was typed into a cell is never lost: a click elsewhere, a tab change
// or a command finish the edit as Enter does; a value the owner refuses
// keeps the editor open with it; one user action is one change step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include "axview/helpers.h"
#include "view_fixture.h"

namespace {

// An owner that cannot store '!' and counts its change steps.
class OwnerView : public RecordingView {
 public:
  bool AcceptEnteredText(const std::string& text, bool tellUser) override {
    if (text.find('!') == std::string::npos) return true;
    if (tellUser) ++refusalsTold;
    return false;
  }
  void OnChangeStepBegin() override { ++stepsBegun; }
  void OnChangeStepEnd() override { ++stepsEnded; }
  int refusalsTold = 0;
  int stepsBegun = 0;
  int stepsEnded = 0;
};

class ViewCommit : public ::testing::Test {
 protected:
  void SetUp() override {
    KELDExSetLanguage(0);
    FillView(view);
    ShowView(view);
    QApplication::setActiveWindow(&view);
  }
  // Types text into a cell by starting the edit with its first key, as a user
  // does; the editor stays open.
  QLineEdit* TypeInto(int line, int column, const QString& text) {
    view.SetSel(CRect(column, line, column, line), CPoint(column, line));
    view.setFocus();
    QTest::keyClicks(&view, text.left(1));
    auto* edit = qobject_cast<QLineEdit*>(view.GetActiveCellEditor());
    if (edit) QTest::keyClicks(edit, text.mid(1));
    return edit;
  }
  OwnerView view;
};

}  // namespace

TEST_F(ViewCommit, AClickOnAnotherCellWritesWhatWasTypedThere) {
  QLineEdit* edit = TypeInto(2, 1, "abc");
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(edit->hasFocus()) << "the editor has the keyboard, as for a user";
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CellCentre(view, 6, 3));
  EXPECT_EQ(view.GetActiveCellEditor(), nullptr);
  EXPECT_EQ(view.GetCellText(0, 2, 1), "abc");
  EXPECT_EQ(Sel(view), CRect(3, 6, 3, 6)) << "the click still selects its cell";
  EXPECT_EQ(view.stepsBegun, 1);
  EXPECT_EQ(view.stepsEnded, 1);
}

TEST_F(ViewCommit, AClickOnAnotherSheetTabWritesFirst) {
  QLineEdit* edit = TypeInto(1, 0, "tab");
  ASSERT_NE(edit, nullptr);
  QWidget* bar = view.findChild<QWidget*>(QStringLiteral("SheetTabBar"));
  ASSERT_NE(bar, nullptr);
  // The tabs follow the scroll buttons: click along the bar until the other
  // sheet is shown.
  for (int x = 5; x < bar->width() && view.GetSelSheet() == 0; x += 6)
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(x, bar->height() / 2));
  ASSERT_EQ(view.GetSelSheet(), 1);
  EXPECT_EQ(view.GetCellText(0, 1, 0), "tab");
}

TEST_F(ViewCommit, CommitPendingEditWritesWithoutMovingAndRefusedTextStays) {
  EXPECT_TRUE(view.CommitPendingEdit()) << "nothing open: nothing to do";
  ASSERT_NE(TypeInto(4, 2, "kept"), nullptr);
  EXPECT_TRUE(view.CommitPendingEdit());
  EXPECT_EQ(view.GetCellText(0, 4, 2), "kept");
  EXPECT_EQ(Cur(view), CPoint(2, 4));

  QLineEdit* edit = TypeInto(5, 2, "no!");
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(view.CommitPendingEdit());
  EXPECT_EQ(view.refusalsTold, 1);
  EXPECT_EQ(view.GetActiveCellEditor(), edit) << "the editor stays open";
  EXPECT_EQ(edit->text(), "no!") << "with what the user typed";
  EXPECT_EQ(view.GetCellText(0, 5, 2), "5.2");

  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(view.refusalsTold, 2);
  EXPECT_EQ(view.GetActiveCellEditor(), edit) << "Enter is refused the same way";
  EXPECT_EQ(Cur(view), CPoint(2, 5));
  // A click elsewhere keeps the editor as well and does not move.
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CellCentre(view, 8, 0));
  EXPECT_EQ(view.GetActiveCellEditor(), edit);
  EXPECT_EQ(Sel(view), CRect(2, 5, 2, 5));
  edit->setText("yes");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(view.GetCellText(0, 5, 2), "yes");
}

TEST_F(ViewCommit, PasteOfRefusedTextChangesNothingAndOnePasteIsOneStep) {
  QApplication::clipboard()->setText(QStringLiteral("a!\tb\r\n"));
  view.SetSel(CRect(0, 0, 1, 0), CPoint(0, 0));
  view.OnEditPaste();
  EXPECT_EQ(view.refusalsTold, 1);
  EXPECT_EQ(view.GetCellText(0, 0, 0), "0.0");
  EXPECT_EQ(view.stepsBegun, 0);

  QApplication::clipboard()->setText(QStringLiteral("p\r\n"));
  view.SetSel(CRect(0, 0, 0, 3), CPoint(0, 0));
  view.OnEditPaste();
  for (int line = 0; line <= 3; ++line) EXPECT_EQ(view.GetCellText(0, line, 0), "p");
  EXPECT_EQ(view.stepsBegun, 1);
  EXPECT_EQ(view.stepsEnded, 1);
}

TEST_F(ViewCommit, TextColumnsLimitTheStoredBytesWhileTyping) {
  view.SetColumnEditMode(0, 0, 0, 6, 0, 0);
  QLineEdit* edit = TypeInto(0, 0, "ab");
  ASSERT_NE(edit, nullptr);
  edit->insert(QStringLiteral("日本語"));  // 6 bytes more: refused as a whole
  EXPECT_EQ(edit->text(), "ab");
  edit->insert(QStringLiteral("日本"));
  EXPECT_EQ(edit->text(), QStringLiteral("ab日本"));
  QTest::keyClicks(edit, "c");
  EXPECT_EQ(edit->text(), QStringLiteral("ab日本")) << "full at 6 bytes";
}
