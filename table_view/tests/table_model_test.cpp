// The table data without a window: index rules, cell conversion and the
// owner notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "axview/helpers.h"
#include "axview/table_model.h"

namespace {

// Records the owner notifications and the resources in force during each.
class RecordingModel : public CTableModel {
 public:
  struct Call {
    std::string what;
    int a, b;
    bool libraryResources;
  };
  std::vector<Call> calls;
  using CTableModel::GetSheetObj;

 protected:
  void OnSheetChanged(int sheet) override {
    calls.push_back({"sheet", sheet, 0, LibraryResourcesInForce()});
    CTableModel::OnSheetChanged(sheet);
  }
  void OnCellChanged(int line, int column) override {
    calls.push_back({"cell", line, column, LibraryResourcesInForce()});
  }
  void OnCursorMoved(int line, int column) override {
    calls.push_back({"cursor", line, column, LibraryResourcesInForce()});
  }
};

class TableModelTest : public ::testing::Test {
 protected:
  void SetUp() override { KELDExSetLanguage(0); }
  void TearDown() override { KELDExSetLanguage(1); }
  RecordingModel m;
};

}  // namespace

TEST_F(TableModelTest, SheetIndexRules) {
  EXPECT_EQ(m.GetSelSheet(), -1);
  EXPECT_EQ(m.InsertSheet(-1, "x"), -1);
  EXPECT_EQ(m.InsertSheet(0, "first"), 0);
  EXPECT_EQ(m.GetSelSheet(), 0);
  EXPECT_EQ(m.InsertSheet(5, "too far"), -1);
  EXPECT_EQ(m.InsertSheet(1, "appended"), 1);
  EXPECT_EQ(m.InsertSheet(0, "in front"), 2);  // the count before the insertion
  ASSERT_EQ(m.GetSheetCount(), 3);
  EXPECT_EQ(m.GetSheetName(0), "in front");
  EXPECT_EQ(m.GetSheetName(1), "first");
  EXPECT_EQ(m.GetSheetName(3), "");
  EXPECT_EQ(m.GetSelSheet(), 1);  // the current sheet is still "first"

  EXPECT_EQ(m.SetSheetData(2, 0xABCD), 1);
  EXPECT_EQ(m.GetSheetData(2), 0xABCDu);
  EXPECT_EQ(m.GetSheetData(3), 0xFFFFFFFFu);
  EXPECT_EQ(m.SetSheetData(-1, 1), 0);
  EXPECT_EQ(m.SetSheetName(0, "renamed"), 1);
  EXPECT_EQ(m.GetSheetName(0), "renamed");

  EXPECT_EQ(m.DeleteSheet(3), 0);
  EXPECT_EQ(m.DeleteSheet(0), 1);
  EXPECT_EQ(m.GetSheetName(0), "first");
  EXPECT_EQ(m.GetSheetCount(), 2);
  EXPECT_EQ(m.DeleteSheet(2), 0);
  m.DeleteAllSheets();
  EXPECT_EQ(m.GetSheetCount(), 0);
  EXPECT_EQ(m.GetSelSheet(), -1);
  EXPECT_EQ(m.GetColumnCount(0), 0);
  EXPECT_EQ(m.GetLineCount(0), 0);
}

TEST_F(TableModelTest, SelSheetSwitchesAndReportsTheNewCursor) {
  m.InsertSheet(0, "a");
  m.InsertSheet(1, "b");
  m.InsertColumn(1, 0, "c0", 0);
  m.InsertColumn(1, 1, "c1", 0);
  for (int i = 0; i < 5; ++i) m.InsertLine(1, i, "x\ty");
  m.GetSheetObj(1)->m_selection = CRect(1, 3, 1, 4);
  m.GetSheetObj(1)->m_cursor = CPoint(1, 4);
  m.SetSelSheet(7);
  EXPECT_TRUE(m.calls.empty());
  m.SetSelSheet(1);
  EXPECT_EQ(m.GetSelSheet(), 1);
  ASSERT_EQ(m.calls.size(), 2u);
  EXPECT_EQ(m.calls[0].what, "sheet");
  EXPECT_EQ(m.calls[1].what, "cursor");
  EXPECT_EQ(m.calls[1].a, 4);
  EXPECT_EQ(m.calls[1].b, 1);
  CRect sel;
  CPoint cur;
  m.GetSel(sel, cur);
  EXPECT_EQ(sel, CRect(1, 3, 1, 4));
}

TEST_F(TableModelTest, ColumnIndexRulesAndCopies) {
  EXPECT_EQ(m.InsertColumn(0, 0, "none", 0), -1);  // no such sheet
  m.InsertSheet(0, "s");
  EXPECT_EQ(m.InsertColumn(1, 0, "none", 0), -1);  // a sheet index equal to the count is no sheet
  EXPECT_EQ(m.InsertColumn(0, 3, "A", 0), 0);       // no columns yet: appended
  EXPECT_EQ(m.InsertColumn(0, 5, "far", 0), -1);
  EXPECT_EQ(m.InsertColumn(0, 1, "C", 1), 1);
  EXPECT_EQ(m.InsertColumn(0, 1, "B", 0), 1);
  EXPECT_EQ(m.InsertColumn(0, -1, "neg", 0), -1);
  ASSERT_EQ(m.GetColumnCount(0), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(m.GetColumnProp(0, i)->m_index, i);
  EXPECT_EQ(m.GetColumnProp(0, 2)->m_title, "C");
  EXPECT_EQ(m.GetColumnProp(0, 2)->m_numeric, 1);
  EXPECT_EQ(m.GetColumnProp(0, 3), nullptr);

  CColumnProp prop;
  prop.m_title = "Choice";
  prop.m_choices = {"Yes", "No"};
  prop.m_maxLength = 4;
  prop.m_extent = CRect(0, 0, 50, 18);
  EXPECT_EQ(m.InsertColumn(0, 0, &prop), 0);
  prop.m_choices.push_back("Maybe");
  CColumnProp* copy = m.GetColumnProp(0, 0);
  ASSERT_NE(copy, &prop);
  EXPECT_EQ(copy->m_choices, (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(copy->m_maxLength, 4);
  EXPECT_EQ(copy->m_extent, CRect(0, 0, 50, 18));
  EXPECT_EQ(copy->m_index, 0);
  EXPECT_EQ(m.GetColumnProp(0, 3)->m_index, 3);

  EXPECT_EQ(m.GetColumnData(0, 9), -1);
  EXPECT_EQ(m.SetColumnData(0, 1, 77), 1);
  EXPECT_EQ(m.GetColumnData(0, 1), 77);
  EXPECT_EQ(m.DeleteColumn(0, 4), 0);
  EXPECT_EQ(m.DeleteColumn(0, 0), 1);
  EXPECT_EQ(m.GetColumnProp(0, 0)->m_title, "A");
  EXPECT_EQ(m.GetColumnProp(0, 0)->m_index, 0);
  EXPECT_EQ(m.DeleteAllColumns(1), 0);
  EXPECT_EQ(m.DeleteAllColumns(0), 1);
  EXPECT_EQ(m.GetColumnCount(0), 0);
}

TEST_F(TableModelTest, ChoiceStringLists) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "c", 0);
  EXPECT_EQ(m.AddColumnString(0, 1, "x"), -1);
  EXPECT_EQ(m.AddColumnString(0, 0, "B"), 0);
  EXPECT_EQ(m.AddColumnString(0, 0, "D"), 1);
  EXPECT_EQ(m.InsertColumnString(0, 0, 0, "A"), 1);
  EXPECT_EQ(m.InsertColumnString(0, 0, 9, "E"), 0);  // appended
  EXPECT_EQ(m.InsertColumnString(0, 0, -1, "Z"), 0);  // nothing
  EXPECT_EQ(m.InsertColumnString(0, 5, 0, "Z"), 0);
  EXPECT_EQ(m.GetColumnProp(0, 0)->m_choices, (std::vector<std::string>{"A", "B", "D", "E"}));
  EXPECT_EQ(m.FindColumnString(0, 0, -3, "D"), 2);
  EXPECT_EQ(m.FindColumnString(0, 0, 3, "D"), -1);
  EXPECT_EQ(m.FindColumnString(0, 0, 0, "d"), -1);  // case-sensitive
  EXPECT_EQ(m.FindColumnString(0, 4, 0, "D"), -1);
  EXPECT_EQ(m.DeleteColumnString(0, 0, 1), 3);
  EXPECT_EQ(m.DeleteColumnString(0, 0, 99), 3);
  EXPECT_EQ(m.DeleteColumnString(0, 7, 0), -1);
  m.ResetColumnContent(0, 0);
  EXPECT_FALSE(m.GetColumnProp(0, 0)->IsChoice());
}

TEST_F(TableModelTest, EditModeOrderRule) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "choice", 0);
  m.InsertColumn(0, 1, "number", 0);
  m.AddColumnString(0, 0, "Yes");
  m.SetColumnEditMode(0, 0, 1, 12, 3, 1);
  CColumnProp* choice = m.GetColumnProp(0, 0);
  EXPECT_EQ(choice->m_numeric, 0);
  EXPECT_EQ(choice->m_maxLength, 12);
  EXPECT_EQ(choice->m_digits, 7);
  EXPECT_EQ(choice->m_decimals, 0);

  m.SetColumnEditMode(0, 1, 5, 40, 4, 2);
  CColumnProp* number = m.GetColumnProp(0, 1);
  EXPECT_EQ(number->m_numeric, 1);
  EXPECT_EQ(number->m_maxLength, -1);  // a numeric mode never changes the length
  EXPECT_EQ(number->m_digits, 4);
  EXPECT_EQ(number->m_decimals, 2);
  m.SetColumnEditMode(0, 1, 0, 8, 1, 1);
  EXPECT_EQ(number->m_numeric, 0);
  EXPECT_EQ(number->m_maxLength, 8);
  EXPECT_EQ(number->m_digits, 4);
}

TEST_F(TableModelTest, LineIndexRulesAndTexts) {
  EXPECT_EQ(m.InsertLine(0, 0, "x"), -1);
  m.InsertSheet(0, "s");
  EXPECT_EQ(m.InsertLine(0, 4, "a"), 1);  // no lines: appended, the new count
  EXPECT_EQ(m.InsertLine(0, 1, "b"), 2);
  EXPECT_EQ(m.InsertLine(0, 0, "first"), 0);  // inserted: its index
  EXPECT_EQ(m.InsertLine(0, 9, "far"), -1);
  EXPECT_EQ(m.InsertLine(0, -1, "neg"), -1);
  EXPECT_EQ(m.InsertLine(0, 0, nullptr), -1);
  ASSERT_EQ(m.GetLineCount(0), 3);
  EXPECT_EQ(m.GetSheetObj(0)->m_lineCount, 3);
  EXPECT_EQ(m.GetTabbedString(0, 0), "first");
  EXPECT_EQ(m.GetTabbedString(0, 2), "b");
  EXPECT_EQ(m.GetTabbedString(0, 3), "");
  EXPECT_EQ(m.GetLineData(0, 5), 0xFFFFFFFFu);
  EXPECT_EQ(m.SetLineData(0, 1, 9), 1);
  EXPECT_EQ(m.GetLineData(0, 1), 9u);
  EXPECT_EQ(m.SetTabbedString(0, 1, "raw\tline"), 1);
  EXPECT_EQ(m.GetTabbedString(0, 1), "raw\tline");
  EXPECT_EQ(m.DeleteLine(0, 3), 0);
  EXPECT_EQ(m.DeleteLine(0, 0), 1);
  EXPECT_EQ(m.GetTabbedString(0, 0), "raw\tline");
  EXPECT_EQ(m.GetSheetObj(0)->m_lineCount, 2);
  EXPECT_EQ(m.DeleteAllLines(0), 1);
  EXPECT_EQ(m.GetSheetObj(0)->m_lineCount, 0);
}

TEST_F(TableModelTest, WritingPastTheLastFieldKeepsTheFieldCount) {
  m.InsertSheet(0, "s");
  for (int i = 0; i < 4; ++i) m.InsertColumn(0, i, "c", 0);
  m.InsertLine(0, 0, "1\t2\t3");
  EXPECT_EQ(m.GetCellText(0, 0, 3), "");
  EXPECT_EQ(m.SetCellText(0, 0, 3, "4"), 1);
  EXPECT_EQ(m.GetTabbedString(0, 0), "1\t2\t3\r\n");
  EXPECT_TRUE(m.calls.empty()) << "no cell changed";
  EXPECT_EQ(m.SetCellText(0, 0, 2, "X"), 1);
  EXPECT_EQ(m.GetTabbedString(0, 0), "1\t2\tX\r\n");
  EXPECT_EQ(m.GetCellText(0, 0, 2), "X");
  EXPECT_EQ(m.GetCellText(0, 0, -1), "");
  EXPECT_EQ(m.GetCellText(0, 1, 0), "");
}

TEST_F(TableModelTest, SetCellTextRefusals) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "n", 1);
  m.InsertLine(0, 0, "");
  m.InsertLine(0, 1, "5");
  EXPECT_EQ(m.SetCellText(0, 0, 0, "1"), 0);  // an empty line takes no cells
  EXPECT_EQ(m.SetCellText(0, 1, 0, nullptr), 0);
  EXPECT_EQ(m.SetCellText(0, 2, 0, "1"), 0);
  EXPECT_EQ(m.SetCellText(0, 1, 0, "abc"), 0);
  EXPECT_EQ(m.SetCellText(0, 1, 0, "-"), 0);
  EXPECT_EQ(m.SetCellText(0, 1, 0, "-x"), 0);
  EXPECT_EQ(m.SetCellText(0, 1, 0, ""), 0);
  EXPECT_EQ(m.GetTabbedString(0, 1), "5");
  EXPECT_EQ(m.SetCellText(0, 1, 5, "1"), 1);  // a column that does not exist takes the text as it is
}

TEST_F(TableModelTest, NumericDigitAndDecimalRules) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "int", 1);
  m.InsertColumn(0, 1, "dec", 1);
  m.SetColumnEditMode(0, 0, 1, 0, 3, 0);
  m.SetColumnEditMode(0, 1, 1, 0, 5, 2);
  m.InsertLine(0, 0, "0\t0");
  struct Case {
    int column;
    const char* in;
    const char* out;
  } cases[] = {
      {0, "12345", "123"}, {0, "-12345", "-123"}, {0, "7abc", "7"},        {0, "-0", "0"},
      {0, "99999999999999999999999", "922"},      {1, "3.14159", "3.14"},  {1, "1234.5", "1234.5"},
      {1, "-3.14159", "-3.14"},                    {1, "2", "2.00"},        {1, "0.005", "0.01"},
      {1, "12", "12.00"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(m.SetCellText(0, 0, c.column, c.in), 1) << c.in;
    EXPECT_EQ(m.GetCellText(0, 0, c.column), c.out) << c.in;
  }
  EXPECT_EQ(m.SetCellText(0, 0, 1, "1e999"), 0);  // no infinity in a number cell
}

TEST_F(TableModelTest, TextLengthCountsCodePage932Bytes) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "t", 0);
  m.SetColumnEditMode(0, 0, 0, 5, 0, 0);
  m.InsertLine(0, 0, "x");
  m.SetCellText(0, 0, 0, "abcdefg");
  EXPECT_EQ(m.GetCellText(0, 0, 0), "abcde");
  m.SetCellText(0, 0, 0, "ab日本語");  // 2 + 2 + 2 bytes: the third character does not fit
  EXPECT_EQ(m.GetCellText(0, 0, 0), "ab日");
  m.SetCellText(0, 0, 0, "ｱｲｳｴｵｶ");  // half-width katakana: one byte each
  EXPECT_EQ(m.GetCellText(0, 0, 0), "ｱｲｳｴｵ");
}

TEST_F(TableModelTest, ChoicesMatchByFirstLetter) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "yn", 0);
  m.InsertColumn(0, 1, "n", 1);
  m.AddColumnString(0, 0, "Yes");
  m.AddColumnString(0, 0, "No");
  m.SetColumnDefaultString(0, 0, "No");
  m.InsertLine(0, 0, "No\t1");
  EXPECT_EQ(m.SetCellText(0, 0, 0, "yep"), 1);
  EXPECT_EQ(m.GetCellText(0, 0, 0), "Yes");
  EXPECT_EQ(m.SetCellText(0, 0, 0, "nah"), 1);
  EXPECT_EQ(m.GetCellText(0, 0, 0), "No");
  EXPECT_EQ(m.SetCellText(0, 0, 0, "x"), 0);
  EXPECT_EQ(m.GetCellText(0, 0, 0), "No");

  m.SetLineText(0, 0, "YES\t42\textra");
  EXPECT_EQ(m.GetTabbedString(0, 0), "Yes\t42\r\n");  // fields past the columns are dropped
  m.SetLineText(0, 0, "x\t-7.9");
  EXPECT_EQ(m.GetTabbedString(0, 0), "No\t-7\r\n");
}

TEST_F(TableModelTest, SetLineTextConvertsWithoutLimitsOrNotification) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "int", 1);
  m.InsertColumn(0, 1, "dec", 1);
  m.InsertColumn(0, 2, "text", 0);
  m.SetColumnEditMode(0, 0, 1, 0, 2, 0);
  m.SetColumnEditMode(0, 1, 1, 0, 2, 3);
  m.SetColumnEditMode(0, 2, 0, 2, 0, 0);
  m.InsertLine(0, 0, "");
  m.SetLineText(0, 0, "12345\t3.14159\tlong text");
  EXPECT_EQ(m.GetTabbedString(0, 0), "12345\t3.142\tlong text\r\n");
  m.SetLineText(0, 0, "\t\t");
  EXPECT_EQ(m.GetTabbedString(0, 0), "0\t0.000\t\r\n");
  m.SetLineText(0, 0, "1");  // fewer fields than columns
  EXPECT_EQ(m.GetTabbedString(0, 0), "1\r\n");
  EXPECT_TRUE(m.calls.empty());

  // Nothing happens for a missing sheet, a null text, or a line that does not exist.
  m.SetLineText(1, 0, "5");
  m.SetLineText(0, 0, nullptr);
  m.SetLineText(0, 3, "5");
  m.SetLineText(0, -1, "5");
  EXPECT_EQ(m.GetTabbedString(0, 0), "1\r\n");
}

TEST_F(TableModelTest, LinkedColumnsTakeTheFirstLinkedValue) {
  m.InsertSheet(0, "s");
  for (int i = 0; i < 4; ++i) m.InsertColumn(0, i, "c", 0);
  m.InsertLine(0, 0, "");
  int linked[] = {1, 3};
  m.SetLineText(0, 0, "a\tb\tc\td", linked, 2);
  EXPECT_EQ(m.GetTabbedString(0, 0), "a\tb\tc\tb\r\n");
  m.SetLineText(0, 0, "a\tb\tc\td", linked, 1);
  EXPECT_EQ(m.GetTabbedString(0, 0), "a\tb\tc\td\r\n");
}

TEST_F(TableModelTest, CellChangeNotifiedOnlyOnChangeUnderLibraryResources) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "a", 0);
  m.InsertColumn(0, 1, "b", 0);
  m.InsertLine(0, 0, "x\ty\r\n");
  EXPECT_EQ(m.SetCellText(0, 0, 1, "y"), 1);
  EXPECT_TRUE(m.calls.empty());
  EXPECT_EQ(m.SetCellText(0, 0, 1, "z"), 1);
  ASSERT_EQ(m.calls.size(), 1u);
  EXPECT_EQ(m.calls[0].what, "cell");
  EXPECT_EQ(m.calls[0].a, 0);
  EXPECT_EQ(m.calls[0].b, 1);
  EXPECT_TRUE(m.calls[0].libraryResources);
  EXPECT_FALSE(LibraryResourcesInForce());
}

TEST_F(TableModelTest, SelectionAndCursorNotification) {
  CRect sel(1, 1, 1, 1);
  CPoint cur(3, 3);
  m.GetSel(sel, cur);
  EXPECT_EQ(sel, CRect());
  EXPECT_EQ(cur, CPoint());
  m.SetSel(CRect(0, 0, 1, 1), CPoint(0, 0));  // no sheet: ignored
  EXPECT_TRUE(m.calls.empty());

  m.InsertSheet(0, "s");
  m.SetSel(CRect(2, 5, 0, 1), CPoint(2, 5));
  m.GetSel(sel, cur);
  EXPECT_EQ(sel, CRect(0, 1, 2, 5));  // normalised
  ASSERT_EQ(m.calls.size(), 1u);
  EXPECT_EQ(m.calls[0].what, "cursor");
  EXPECT_EQ(m.calls[0].a, 5);
  EXPECT_EQ(m.calls[0].b, 2);
  m.SetSel(CRect(0, 0, 2, 5), CPoint(2, 5));  // the cursor stays: no notification
  EXPECT_EQ(m.calls.size(), 1u);

  // A cursor notification during a library call runs with the application's resources.
  {
    CSwitchResource library;
    ASSERT_EQ(library.Switch(0), 1);
    m.SetSel(CRect(0, 0, 0, 0), CPoint(0, 0));
  }
  ASSERT_EQ(m.calls.size(), 2u);
  EXPECT_FALSE(m.calls[1].libraryResources);
  EXPECT_EQ(m.GetEditFunctions(), 0x77u);
  m.SetEditFunctions(0x01);
  EXPECT_EQ(m.GetEditFunctions(), 0x01u);
}

TEST_F(TableModelTest, DeletingTheCurrentSheetShowsItsNeighbour) {
  m.InsertSheet(0, "a");
  m.InsertSheet(1, "b");
  m.InsertSheet(2, "c");
  m.SetSelSheet(2);
  m.calls.clear();
  EXPECT_EQ(m.DeleteSheet(2), 1);
  EXPECT_EQ(m.GetSelSheet(), 1);
  ASSERT_FALSE(m.calls.empty());
  EXPECT_EQ(m.calls[0].what, "sheet");
  EXPECT_EQ(m.calls[0].a, 1);
  m.calls.clear();
  EXPECT_EQ(m.DeleteSheet(0), 1);  // before the current one: "b" stays current
  EXPECT_EQ(m.GetSelSheet(), 0);
  EXPECT_EQ(m.GetSheetName(0), "b");
  EXPECT_TRUE(m.calls.empty());
}

TEST_F(TableModelTest, DeletingLinesKeepsTheSelectionInside) {
  m.InsertSheet(0, "s");
  m.InsertColumn(0, 0, "a", 0);
  m.InsertColumn(0, 1, "b", 0);
  for (int i = 0; i < 5; ++i) m.InsertLine(0, i, "1\t2");
  m.SetSel(CRect(0, 2, 1, 4), CPoint(1, 4));
  m.DeleteLine(0, 4);
  m.DeleteLine(0, 3);
  m.DeleteColumn(0, 1);
  CRect sel;
  CPoint cur;
  m.GetSel(sel, cur);
  EXPECT_EQ(sel, CRect(0, 2, 0, 2));
  EXPECT_EQ(cur, CPoint(0, 2));
}
