// Find and replace through the dialog, and the settings kept in the
// registry: search histories and column widths.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <cstdlib>

#include "axview/helpers.h"
#include "find_dialog.h"
#include "message_box_recorder.h"
#include "platform/registry.h"
#include "view_fixture.h"

using platform::Hive;
using platform::Registry;

namespace {

constexpr const char* kAppKey = "KELD\\Grid Test";

class ViewFind : public ::testing::Test {
 protected:
  void SetUp() override {
    KELDExSetLanguage(0);
    FillView(view);
    ShowView(view);
  }
  std::unique_ptr<CFindDialog> Dialog(bool replace) {
    return std::make_unique<CFindDialog>(&view, replace, std::vector<std::string>{}, std::vector<std::string>{});
  }
  void Select(int left, int top, int right, int bottom, CPoint cursor) { view.SetSel(CRect(left, top, right, bottom), cursor); }
  RecordingView view;
  keldtest::MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(ViewFind, FromASingleCellToTheEndOfTheSheet) {
  Select(0, 0, 0, 0, CPoint(0, 0));
  auto dialog = Dialog(false);
  EXPECT_EQ(dialog->windowTitle(), "Find");
  EXPECT_EQ(dialog->FindCombo()->currentText(), "0.0") << "starts with the cursor cell's text";
  EXPECT_EQ(dialog->ColumnList()->itemText(0), "All columns");
  EXPECT_EQ(dialog->ColumnList()->currentIndex(), 1) << "the cursor column is chosen";
  dialog->OnColumnChosen(0);
  dialog->FindCombo()->setEditText("7.3");
  dialog->OnButtonFindNext();
  EXPECT_EQ(Sel(view), CRect(3, 7, 3, 7));
  dialog->OnButtonFindNext();
  EXPECT_EQ(Sel(view), CRect(3, 17, 3, 17)) << "partial match";
  EXPECT_TRUE(boxes.boxes.empty());
  dialog->EntireCellsBox()->setChecked(true);
  dialog->OnButtonFindNext();
  EXPECT_EQ(Sel(view), CRect(3, 17, 3, 17)) << "no cell after line 17 is exactly 7.3";
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_OK | platform::MB_ICONINFORMATION);
  EXPECT_EQ(dialog->result(), QDialog::Rejected) << "the dialog closes";
}

TEST_F(ViewFind, ABlockIsSearchedInsideAndEndsWithTheMessage) {
  Select(1, 2, 1, 5, CPoint(1, 2));
  auto dialog = Dialog(false);
  dialog->FindCombo()->setEditText(".1");
  for (int line = 3; line <= 5; ++line) {
    dialog->OnButtonFindNext();
    EXPECT_EQ(Cur(view), CPoint(1, line));
    EXPECT_EQ(Sel(view), CRect(1, 2, 1, 5)) << "the selection stays";
  }
  EXPECT_TRUE(boxes.boxes.empty());
  dialog->OnButtonFindNext();
  ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"Can't find you're searching for, anymore in specified cells."});
  EXPECT_EQ(Cur(view), CPoint(1, 5));
}

TEST_F(ViewFind, OneColumnChosenForABlockAsksFirst) {
  Select(1, 2, 3, 4, CPoint(2, 2));
  auto dialog = Dialog(false);
  boxes.answers = {platform::IDNO};
  dialog->OnButtonFindNext();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_YESNO | platform::MB_ICONINFORMATION);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(Sel(view), CRect(1, 2, 3, 4)) << "No leaves everything";
}

TEST_F(ViewFind, ReplaceAllOfATextBySomethingItStillFindsEndsAfterOnePass) {
  for (int line = 0; line < 100; ++line) view.SetCellText(0, line, 0, line % 2 ? "a-x" : "A-y");
  view.cellChanges.clear();
  Select(0, 0, 0, 0, CPoint(0, 0));
  auto dialog = Dialog(true);
  EXPECT_EQ(dialog->windowTitle(), "Replace");
  dialog->FindCombo()->setEditText("a");
  dialog->ReplaceCombo()->setEditText("A");
  dialog->OnButtonFindReplaceAll();
  for (int line = 0; line < 100; ++line) EXPECT_EQ(view.GetCellText(0, line, 0), line % 2 ? "A-x" : "A-y");
  EXPECT_EQ(view.cellChanges.size(), 50u);
  EXPECT_EQ(boxes.boxes.size(), 1u) << "the pass ends with its message";

  auto again = Dialog(true);
  again->FindCombo()->setEditText("A");
  again->ReplaceCombo()->setEditText("A");
  again->OnButtonFindReplaceAll();
  EXPECT_EQ(view.cellChanges.size(), 50u) << "a text replaced by itself changes nothing";
}

TEST_F(ViewFind, ReplaceWritesTheCellAndGoesToTheNext) {
  Select(1, 0, 1, 0, CPoint(1, 0));
  auto dialog = Dialog(false);
  dialog->OnButtonFindReplace();
  EXPECT_TRUE(dialog->IsReplaceMode()) << "Replace first turns the dialog into the replace dialog";
  EXPECT_TRUE(view.cellChanges.empty());
  dialog->FindCombo()->setEditText(".1");
  dialog->ReplaceCombo()->setEditText("/one");
  dialog->OnButtonFindReplace();  // from the cursor cell itself
  EXPECT_EQ(view.GetCellText(0, 0, 1), "0/one");
  EXPECT_EQ(Cur(view), CPoint(1, 1));
  EXPECT_EQ(dialog->FindHistory(), std::vector<std::string>{".1"});
  EXPECT_EQ(dialog->ReplaceHistory(), std::vector<std::string>{"/one"});
}

TEST_F(ViewFind, NumericColumnsTakeNumbersAndNoMatchCase) {
  Select(5, 0, 5, 0, CPoint(5, 0));
  auto dialog = Dialog(false);
  EXPECT_FALSE(dialog->MatchCaseBox()->isEnabled());
  const QValidator* v = dialog->FindCombo()->lineEdit()->validator();
  ASSERT_NE(v, nullptr);
  QString text = "1.234";
  int pos = 0;
  EXPECT_EQ(v->validate(text, pos), QValidator::Invalid) << "two decimals only";
  text = "-12.5";
  EXPECT_EQ(v->validate(text, pos), QValidator::Acceptable);
  dialog->OnColumnChosen(0);
  EXPECT_TRUE(dialog->MatchCaseBox()->isEnabled());
  EXPECT_EQ(dialog->FindCombo()->lineEdit()->validator(), nullptr);
  EXPECT_EQ(dialog->Area(), CRect(0, 0, 5, 99));
}

// ---- Registry -------------------------------------------------------------------

class ViewSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    // Widths are kept per language: these tests use the English sections.
    KELDExSetLanguage(0);
    SetAppRegistryKey(kAppKey);
    ASSERT_TRUE(Registry::CreateKey(Hive::CurrentUser, std::string("Software\\") + kAppKey));
  }
  void TearDown() override { SetAppRegistryKey(""); }
};

TEST_F(ViewSettings, HistoriesKeepTwentyEntriesEachWrittenOnce) {
  RecordingView view;
  std::vector<std::string> find;
  for (int i = 1; i <= 21; ++i) find.push_back("text" + std::to_string(i));
  find.insert(find.begin() + 3, "text10");  // written once, where it comes last
  find.insert(find.begin() + 1, "");
  ASSERT_TRUE(view.WriteFindReplaceHistory(find, {"r1", "r1", "r2"}));
  std::vector<std::string> readFind, readReplace;
  ASSERT_TRUE(view.ReadFindReplaceHistory(readFind, readReplace));
  ASSERT_EQ(readFind.size(), 20u);
  EXPECT_EQ(readFind[0], "text1");
  EXPECT_EQ(readFind[9], "text10");
  EXPECT_EQ(readFind[19], "text20") << "the 21st is not written";
  EXPECT_EQ(readReplace, (std::vector<std::string>{"r1", "r2"}));
  const std::string key = std::string("Software\\") + kAppKey + "\\HistoryFindWhat";
  EXPECT_EQ(Registry::ReadString(Hive::CurrentUser, key, "FindWhat01").value_or(""), "text1");
  EXPECT_FALSE(Registry::ReadString(Hive::CurrentUser, key, "FindWhat21").has_value());
  // Writing a shorter list leaves none of the old entries behind.
  ASSERT_TRUE(view.WriteFindReplaceHistory({"only"}, {}));
  ASSERT_TRUE(view.ReadFindReplaceHistory(readFind, readReplace));
  EXPECT_EQ(readFind, std::vector<std::string>{"only"});
  EXPECT_TRUE(readReplace.empty());
  EXPECT_EQ(view.DeleteRegKey(std::string("Software\\") + kAppKey + "\\NoSuchKey"), -1);
}

TEST_F(ViewSettings, SheetsWithTheSameDataWordShareTheirWidths) {
  {
    RecordingView view;
    FillView(view);
    view.SetSheetData(0, 0x10);
    view.SetSheetData(1, 0xAB);
    ShowView(view);
    view.GetSheetObj(1)->m_columns[0]->m_extent = CRect(0, 0, 70, 1);
    view.GetSheetObj(1)->m_columns[1]->m_extent = CRect(70, 0, 165, 1);
    view.GetSheetObj(1)->m_columns[2]->m_extent = CRect(165, 0, 205, 1);
    ASSERT_TRUE(view.WriteWidthOfColumns());
  }
  const std::string key = std::string("Software\\") + kAppKey + "\\WidthOfColumns\\Info_000000ab";
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, key, "ColumnWidth_00002").value_or(0), 95u);
  RecordingView other;
  for (int s = 0; s < 2; ++s) {
    other.InsertSheet(s, s ? "Second" : "First");
    other.SetSheetData(s, 0xAB);
    for (int c = 0; c < 4; ++c) other.InsertColumn(s, c, ("Column " + std::to_string(c)).c_str(), 0);
    other.InsertLine(s, 0, "a\tb\tc\td");
  }
  ShowView(other);  // reads the widths at the initial update
  for (int s = 0; s < 2; ++s) {
    const CSheetObj* sheet = other.GetSheetObj(s);
    EXPECT_EQ(sheet->m_columns[0]->m_standardWidth, 70) << s;
    EXPECT_EQ(sheet->m_columns[1]->m_standardWidth, 95) << s;
    EXPECT_EQ(sheet->m_columns[2]->m_standardWidth, 40) << s;
    EXPECT_EQ(sheet->m_columns[1]->m_extent, CRect(70, 0, 165, other.GetLineHeight())) << s;
  }
  EXPECT_GT(other.GetSheetObj(0)->m_columns[3]->m_extent.Width(), 0) << "a width never stored: laid out by its title";
}

TEST_F(ViewSettings, WidthsAreKeptPerFontSizeAndChoiceColumnsShowTheirChoices) {
  RecordingView view;
  view.InsertSheet(0, "Only");
  view.SetSheetData(0, 0x21);
  CColumnProp choice;
  choice.m_title = "M";
  choice.m_choices = {"E: End", "J: JOG positioning control"};
  view.InsertColumn(0, 0, &choice);
  view.InsertLine(0, 0, "E: End");
  ShowView(view);
  const CColumnProp& laidOut = *view.GetSheetObj(0)->m_columns[0];
  EXPECT_GE(laidOut.m_extent.Width(), QFontMetrics(*view.GetFont()).horizontalAdvance("J: JOG positioning control"))
      << "the widest choice is not cut";

  LOGFONT font;
  int size = 0;
  view.GetLogFont(&font, size);
  view.GetSheetObj(0)->m_columns[0]->m_extent = CRect(0, 0, 222, 1);
  ASSERT_TRUE(view.WriteWidthOfColumns());
  view.SetDrawingFont(font, 140);
  view.GetSheetObj(0)->m_columns[0]->m_extent = CRect(0, 0, 333, 1);
  ASSERT_TRUE(view.WriteWidthOfColumns());
  const std::string base = std::string("Software\\") + kAppKey + "\\WidthOfColumns\\";
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, base + "Info_00000021", "ColumnWidth_00001").value_or(0), 222u);
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, base + "Lang0_Size140\\Info_00000021", "ColumnWidth_00001")
                .value_or(0),
            333u)
      << "a larger font keeps widths of its own";
}

TEST_F(ViewFind, JapaneseTextsComeFromTheLanguageTable) {
  const char* old = std::getenv("KELD_LANG_DIR");
  const std::string saved = old ? old : "";
  setenv("KELD_LANG_DIR", AXVIEW_LANG_SOURCE_DIR, 1);
  KELDExSetLanguage(1);
  std::unique_ptr<QMenu> menu = view.CreateContextMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("元に戻す(&U)"));
  auto dialog = Dialog(false);
  EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("検索"));
  EXPECT_EQ(dialog->ColumnList()->itemText(0), QString::fromUtf8("すべての列"));
  EXPECT_EQ(dialog->MatchCaseBox()->text(), QString::fromUtf8("大文字と小文字を区別する(&C)"));
  KELDExSetLanguage(0);
  if (old) setenv("KELD_LANG_DIR", saved.c_str(), 1);
  else unsetenv("KELD_LANG_DIR");
}

TEST_F(ViewFind, FindWhatIsWhatTheUserTypedNotAnEntryOfTheHistory) {
  view.SetCellText(0, 0, 0, "1");
  view.SetCellText(0, 1, 0, "1234");
  Select(0, 0, 0, 0, CPoint(0, 0));
  CFindDialog dialog(&view, true, {"1234"}, {});
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QLineEdit* findWhat = dialog.FindCombo()->lineEdit();
  findWhat->setFocus();
  findWhat->clear();
  QTest::keyClicks(findWhat, "1");
  EXPECT_EQ(findWhat->text(), "1") << "the history is offered in the list, never completed into the field";
  EXPECT_FALSE(findWhat->hasSelectedText());
  dialog.ReplaceCombo()->setEditText("X");
  dialog.EntireCellsBox()->setChecked(true);
  dialog.OnButtonFindReplaceAll();
  EXPECT_EQ(view.GetCellText(0, 0, 0), "X");
  EXPECT_EQ(view.GetCellText(0, 1, 0), "1234");
}
