// Copy, cut and paste of cell blocks and the context menu.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QMenu>

#include "message_box_recorder.h"
#include "axview/helpers.h"
#include "view_fixture.h"

namespace {

class ViewClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    KELDExSetLanguage(0);
    FillView(view);
    ShowView(view);
    view.SetColumnEditMode(0, 3, 1, 0, 7, 0);  // an integer column
  }
  static QString Clip() { return QGuiApplication::clipboard()->text(); }
  static void SetClip(const char* text) { QGuiApplication::clipboard()->setText(QString::fromUtf8(text)); }
  void Select(int left, int top, int right, int bottom) { view.SetSel(CRect(left, top, right, bottom), CPoint(left, top)); }
  RecordingView view;
  keldtest::MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(ViewClipboard, CopyGivesTabSeparatedLinesEndedByCrLf) {
  Select(1, 2, 2, 3);
  view.OnEditCopy();
  EXPECT_EQ(Clip(), "2.1\t2.2\r\n3.1\t3.2\r\n");
  Select(0, 7, 0, 7);
  QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clip(), "7.0\r\n");
  view.SetEditFunctions(EDITFUNC_DEFAULT & ~EDITFUNC_COPY);
  Select(0, 8, 0, 8);
  view.OnEditCopy();
  EXPECT_EQ(Clip(), "7.0\r\n") << "copy is switched off";
}

TEST_F(ViewClipboard, SpreadsheetBlocksPasteAsTheSameBlock) {
  for (const char* text : {"a\tb\nc\td\n", "a\tb\r\nc\td\r\n", "a\tb\r\nc\td"}) {
    Select(0, 10, 0, 10);
    SetClip(text);
    view.OnEditPaste();
    EXPECT_EQ(view.GetTabbedString(0, 10).substr(0, 4), "a\tb\t") << text;
    EXPECT_EQ(view.GetCellText(0, 11, 0), "c");
    EXPECT_EQ(view.GetCellText(0, 11, 1), "d");
    EXPECT_EQ(view.GetCellText(0, 12, 0), "12.0") << "no empty third line";
    EXPECT_EQ(Sel(view), CRect(0, 10, 1, 11));
    view.SetTabbedString(0, 10, "x\ty\tz");
  }
  // A block copied from the grid pastes back unchanged.
  Select(1, 20, 2, 21);
  view.OnEditCopy();
  Select(1, 30, 1, 30);
  view.OnEditPaste();
  EXPECT_EQ(view.GetCellText(0, 30, 1), "20.1");
  EXPECT_EQ(view.GetCellText(0, 31, 2), "21.2");
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ViewClipboard, OneCellFillsEveryLineWithoutAQuestion) {
  SetClip("42\r\n");
  Select(3, 5, 3, 8);
  view.OnEditPaste();
  EXPECT_TRUE(boxes.boxes.empty());
  for (int line = 5; line <= 8; ++line) EXPECT_EQ(view.GetCellText(0, line, 3), "42") << line;
  EXPECT_EQ(view.GetCellText(0, 9, 3), "9.3");
  EXPECT_EQ(Sel(view), CRect(3, 5, 3, 8));
}

TEST_F(ViewClipboard, OtherShapeAsksAndPastesOnYes) {
  SetClip("x\r\ny\r\n");
  Select(0, 5, 0, 7);
  boxes.answers = {platform::IDNO};
  view.OnEditPaste();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The clipboard's data and specified area aren't same size and shape.\r\nAre you sure that you want to paste it?");
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_YESNO | platform::MB_ICONEXCLAMATION);
  EXPECT_EQ(view.GetCellText(0, 5, 0), "5.0");
  boxes.answers = {platform::IDYES};
  view.OnEditPaste();
  EXPECT_EQ(view.GetCellText(0, 5, 0), "x");
  EXPECT_EQ(view.GetCellText(0, 6, 0), "y");
  EXPECT_EQ(view.GetCellText(0, 7, 0), "7.0") << "one whole copy only";
  EXPECT_EQ(Sel(view), CRect(0, 5, 0, 6));
}

TEST_F(ViewClipboard, WrongKindsAreRefused) {
  SetClip("abc\r\n");
  Select(5, 2, 5, 2);
  view.OnEditPaste();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_OK | platform::MB_ICONSTOP);
  EXPECT_NE(boxes.boxes[0].text.find("aren't the same format"), std::string::npos);
  EXPECT_EQ(view.GetCellText(0, 2, 5), "2.50");

  view.AddColumnString(0, 2, "On");
  view.AddColumnString(0, 2, "Off");
  SetClip("Maybe\r\n");
  Select(2, 2, 2, 2);
  boxes.answers = {platform::IDNO};
  view.OnEditPaste();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_NE(boxes.boxes[1].text.find("invalid characters"), std::string::npos);
  EXPECT_TRUE(view.cellChanges.empty());
}

TEST_F(ViewClipboard, APointInAnIntegerColumnBeepsAndStops) {
  SetClip("7\r\n1.5\r\n9\r\n");
  Select(3, 0, 3, 0);
  view.OnEditPaste();
  EXPECT_EQ(view.beeps, 1);
  EXPECT_EQ(view.GetCellText(0, 0, 3), "7");
  EXPECT_EQ(view.GetCellText(0, 1, 3), "1.3");
  EXPECT_EQ(view.GetCellText(0, 2, 3), "2.3") << "pasting stopped at the refused value";
}

TEST_F(ViewClipboard, CutEmptiesTheBlockOnlyOnceItIsCopied) {
  Select(0, 4, 1, 5);
  view.OnEditCut();
  EXPECT_EQ(Clip(), "4.0\t4.1\r\n5.0\t5.1\r\n");
  EXPECT_EQ(view.GetTabbedString(0, 4).substr(0, 6), "\t\t4.2\t");
  EXPECT_EQ(view.GetCellText(0, 5, 1), "");
  EXPECT_TRUE(view.cellChanges.empty()) << "cut writes the line directly";

  view.SetEditFunctions(EDITFUNC_CUT | EDITFUNC_PASTE);
  Select(0, 6, 0, 6);
  view.OnEditCut();
  EXPECT_EQ(view.GetCellText(0, 6, 0), "6.0") << "nothing removed that is not on the clipboard";
}

TEST_F(ViewClipboard, ContextMenuFollowsTheFlagsAndTheUndoList) {
  SetClip("1");
  std::unique_ptr<QMenu> menu = view.CreateContextMenu();
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QString("-") : a->text());
  EXPECT_EQ(texts, QStringList({"&Undo", "-", "Cu&t", "&Copy", "&Paste", "-", "&Find...", "R&eplace..."}));
  EXPECT_FALSE(menu->actions()[0]->isEnabled()) << "Undo is greyed while the list is empty";
  EXPECT_FALSE(view.OnUpdateEditUndo());
  view.GetUndoList().AddTail(std::make_unique<CUndoObj>(0, 1, "old"));
  EXPECT_TRUE(view.OnUpdateEditUndo());
  EXPECT_TRUE(view.RemoveUndoBuffer());
  EXPECT_FALSE(view.OnUpdateEditUndo());

  view.SetEditFunctions(EDITFUNC_FIND | EDITFUNC_REPLACE);
  menu = view.CreateContextMenu();
  ASSERT_NE(menu, nullptr);
  texts.clear();
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QString("-") : a->text());
  EXPECT_EQ(texts, QStringList({"&Find...", "R&eplace..."})) << "no separator left at the top";
  view.SetEditFunctions(0);
  EXPECT_EQ(view.CreateContextMenu(), nullptr);
}
