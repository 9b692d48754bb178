// Comparison of a loaded set with the document and the verification with a
// file.
#include <gtest/gtest.h>

#include <fstream>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/compare.h"
#include "axcfg_data/difference_list.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_row_text.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/setting_data_set.h"
#include "test_home.h"

using namespace axcfg;

namespace {

CSettingDataSet SetOf(const CAxisCfgDoc& doc) {
  CSettingDataSet set;
  set.family = doc.GetUnitFamily();
  set.layout = doc.GetLayout();
  set.sync = doc.GetSyncGroups();
  set.params = doc.GetParamBlock();
  for (int k = 0; k < doc.GetRowCount(); ++k) set.rows.push_back(std::make_unique<CPosData>(*doc.GetPosData(k)));
  return set;
}

TEST(Compare, EqualDataAgree) {
  CAxisCfgDoc doc;
  std::vector<uint32_t> diffs;
  EXPECT_EQ(CompareWithDocument(doc, SetOf(doc), diffs, true), 0u);
  EXPECT_TRUE(diffs.empty());
}

TEST(Compare, AxisInformationStopsTheComparison) {
  CAxisCfgDoc doc;
  std::vector<uint32_t> diffs;
  CSettingDataSet set = SetOf(doc);
  set.family = 1;
  set.rows[0]->SetMoveAmount(0, 5);
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffAxisInfo);
  EXPECT_TRUE(diffs.empty());

  set = SetOf(doc);
  set.sync[1].differenceBehavior = 2;
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffAxisInfo);

  set = SetOf(doc);
  set.layout.Append(MakeSingleAxisEntry(1));
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffAxisInfo);
  EXPECT_EQ(diffs, std::vector<uint32_t>{kDiffCodeTotalAxes});

  diffs.clear();
  set = SetOf(doc);
  set.layout.SetEntry(0, MakeSingleAxisEntry(1));
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffAxisInfo);
  EXPECT_EQ(diffs, std::vector<uint32_t>{kDiffCodeUsedAxes});

  diffs.clear();
  set = SetOf(doc);
  set.layout.SetEntry(0, 0x01010001);  // same axis, but as a one-axis group A
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffAxisInfo);
  EXPECT_EQ(diffs, std::vector<uint32_t>{kDiffCodeEntries});
}

TEST(Compare, ParametersAreListedAndEndTheComparison) {
  CAxisCfgDoc doc;
  CSettingDataSet set = SetOf(doc);
  set.params.SetParam(24, 7, 33);
  set.params.SetParam(kParamUnit, 2, 1);
  set.params.SetParam(53, 0, 1);  // J point control pattern, row 35 of family 0
  set.rows[3]->SetDwellTime(1, 9);
  std::vector<uint32_t> diffs;
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffParams);
  EXPECT_EQ(diffs, (std::vector<uint32_t>{ParamDiffCode(2, 0), ParamDiffCode(7, 24), ParamDiffCode(0, 53)}));

  // A parameter the family does not list is not compared.
  diffs.clear();
  set = SetOf(doc);
  set.params.SetParam(3, 0, 1);  // pulse output mode: family 1 only
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), 0u);
}

TEST(Compare, RowsWithAndWithoutComments) {
  CAxisCfgDoc doc;
  CSettingDataSet set = SetOf(doc);
  set.rows[12]->SetAuxCode(5, 40000);
  set.rows[599]->SetControlMethod(0, 1);
  set.rows[0]->SetComment(7, "different");
  std::vector<uint32_t> diffs;
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffRows);
  EXPECT_EQ(diffs, (std::vector<uint32_t>{RowDiffCode(5, 12, 12), RowDiffCode(0, 0, 599)}));
  EXPECT_EQ(RowDiffCode(5, 12, 12), 0x450C000Cu);

  diffs.clear();
  set = SetOf(doc);
  set.rows[0]->SetComment(7, "different");
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), 0u) << "comments are not compared unless asked";
  EXPECT_EQ(CompareWithDocument(doc, set, diffs, true), kDiffRows);
  EXPECT_EQ(diffs, std::vector<uint32_t>{RowDiffCode(7, kDiffFieldComment, 0)});

  diffs.clear();
  set = SetOf(doc);
  set.rows.pop_back();
  EXPECT_EQ(CompareWithDocument(doc, set, diffs), kDiffRows);
  EXPECT_EQ(diffs, std::vector<uint32_t>{RowDiffCode(0, kDiffFieldMissingRow, 599)});
}

TEST(VerifyWithFile, AgreeDisagreeAndFailures) {
  const std::string dir = keldtest::FreshDir("verify");
  CAxisCfgDoc doc;
  doc.GetPosData(10)->SetComment(0, "note");
  ASSERT_EQ(SaveDocumentFile(doc, dir + "/same.axc").id, 0u);
  VerifyFileOutcome same = VerifyWithFile(doc, dir + "/same.axc");
  ASSERT_TRUE(same.Completed());
  EXPECT_EQ(same.result.target, dir + "/same.axc");
  EXPECT_FALSE(same.result.showCommentNote);
  EXPECT_EQ(VerifyResultLines(same.result),
            (std::vector<std::string>{"Axis infomation - Agree", "Parameter data - Agree", "Positioninng data - Agree",
                                      "Result of verification - Agree"}));

  // Only a table comment differs.
  doc.GetPosData(10)->SetComment(0, "other");
  VerifyFileOutcome comment = VerifyWithFile(doc, dir + "/same.axc");
  EXPECT_EQ(comment.result.mismatch, kDiffRows);
  EXPECT_EQ(VerifyResultLines(comment.result)[2], "Positioninng data - Disagree");
  EXPECT_EQ(VerifyResultLines(comment.result)[3], "Result of verification - Disagree");
  ASSERT_EQ(comment.result.items.size(), 1u);
  EXPECT_EQ(comment.result.items[0].tableNo, 11);
  EXPECT_EQ(comment.result.items[0].first, "other");
  EXPECT_EQ(comment.result.items[0].second, "note");
  VerifyFileOutcome noComments = VerifyWithFile(doc, dir + "/same.axc", false);
  EXPECT_EQ(noComments.result.mismatch, 0u);
  EXPECT_TRUE(noComments.result.items.empty());

  // Another family: nothing else is compared.
  CAxisCfgDoc other;
  other.SetUnitFamily(1);
  ASSERT_EQ(SaveDocumentFile(other, dir + "/other.axc").id, 0u);
  VerifyFileOutcome family = VerifyWithFile(doc, dir + "/other.axc");
  EXPECT_EQ(family.result.mismatch, kDiffAxisInfo);
  EXPECT_EQ(VerifyResultLines(family.result),
            (std::vector<std::string>{"Axis infomation - Disagree", "Parameter data - ", "Positioninng data - ",
                                      "Result of verification - Disagree"}));
  ASSERT_FALSE(family.result.items.empty());
  EXPECT_EQ(DifferenceLine(family.result.items[0]), "Unit family: 0 | 1");

  std::ofstream(dir + "/x.txt") << "AXCF";
  VerifyFileOutcome ext = VerifyWithFile(doc, dir + "/x.txt");
  EXPECT_EQ(ext.status.id, 29003u);
  EXPECT_EQ(ext.FailureText(), "This type of file cannot be read.");
  VerifyFileOutcome missing = VerifyWithFile(doc, dir + "/none.axc");
  EXPECT_EQ(missing.status.id, 29023u);
  EXPECT_EQ(missing.FailureText(), "The file to be verified cannot be open.");
  EXPECT_EQ(doc.GetPosData(10)->GetComment(0), "other");
  EXPECT_EQ(doc.GetPathName(), dir + "/same.axc") << "the document is never changed";
}

}  // namespace

namespace {

// The only difference between the document and the set, which must be the
// single item listed.
DifferenceItem OnlyDifference(const CAxisCfgDoc& doc, const CSettingDataSet& set, bool comments = true) {
  std::vector<DifferenceItem> items = ListDifferences(doc, set, comments);
  if (items.size() != 1)
    for (const DifferenceItem& item : items) ADD_FAILURE() << "listed: " << DifferenceLine(item);
  EXPECT_EQ(items.size(), 1u);
  return items.empty() ? DifferenceItem{} : items[0];
}

}  // namespace

TEST(ListDifferences, EqualDataGiveNoItems) {
  CAxisCfgDoc doc;
  doc.GetPosData(4)->SetComment(0, "same");
  EXPECT_TRUE(ListDifferences(doc, SetOf(doc)).empty());
  EXPECT_TRUE(ListDifferences(SetOf(doc), SetOf(doc)).empty());
}

TEST(ListDifferences, EachKindOfChangeGivesOneItemNamingIt) {
  CAxisCfgDoc doc;
  CSettingDataSet set = SetOf(doc);
  set.family = 1;
  DifferenceItem d = OnlyDifference(doc, set);
  EXPECT_EQ(DifferenceLine(d), "Unit family: 0 | 1");

  set = SetOf(doc);
  set.layout.SetEntry(0, MakeSingleAxisEntry(1));
  d = OnlyDifference(doc, set);
  EXPECT_EQ(DifferenceLine(d), "Axis layout Entry 1: 1Axis | 2Axis");

  set = SetOf(doc);
  set.sync[1].differenceBehavior = 2;
  d = OnlyDifference(doc, set);
  EXPECT_EQ(DifferenceLine(d), "Synchronous group 2 Action on difference: Error | Not available");
  set.sync[1] = doc.GetSyncGroups()[1];
  set.sync[0].masterMask = 0x4;
  EXPECT_EQ(DifferenceLine(OnlyDifference(doc, set)), "Synchronous group 1 Master axis: - | 3 axis");

  set = SetOf(doc);
  set.params.SetParam(24, 7, 33);
  d = OnlyDifference(doc, set);
  EXPECT_EQ(d.part, DifferenceItem::Part::Parameter);
  EXPECT_EQ(d.item, doc.GetParamBlock().GetParamName(24));
  EXPECT_EQ(d.where, "8 axis");
  CParamBlock theirs = set.params;
  EXPECT_EQ(d.first, doc.GetParamBlock().FormatParam(24, 7));
  EXPECT_EQ(d.second, theirs.FormatParam(24, 7));
  EXPECT_NE(d.first, d.second);

  // Another unit changes how every position of the axis reads, but only the
  // parameter differs.
  set = SetOf(doc);
  set.params.SetParam(kParamUnit, 0, 1);
  d = OnlyDifference(doc, set);
  EXPECT_EQ(d.part, DifferenceItem::Part::Parameter);
  EXPECT_EQ(d.where, doc.GetLayout().GetAxisLabel(0));

  // Codes that share a text still differ.
  set = SetOf(doc);
  doc.GetPosData(7)->SetControlMethod(0, 3);
  set.rows[7]->SetControlMethod(0, 4);
  d = OnlyDifference(doc, set);
  EXPECT_EQ(d.tableNo, 8);
  doc.GetPosData(7)->SetControlMethod(0, 0);

  set = SetOf(doc);
  set.rows[12]->SetMoveAmount(0, 12345);
  d = OnlyDifference(doc, set);
  EXPECT_EQ(d.part, DifferenceItem::Part::Table);
  EXPECT_EQ(d.where, "1Axis");
  EXPECT_EQ(d.tableNo, 13);
  EXPECT_EQ(d.item, GetColumnTitle(kColFirstMove, MakeSingleAxisEntry(0)));
  EXPECT_EQ(d.second, RowCellText(*set.rows[12], set.params, MakeSingleAxisEntry(0), kColFirstMove));
  EXPECT_NE(d.first, d.second);

  // An axis outside the layout still has its tables compared, on its own sheet.
  set = SetOf(doc);
  set.rows[599]->SetControlMethod(5, 1);
  d = OnlyDifference(doc, set);
  EXPECT_EQ(d.where, "6Axis");
  EXPECT_EQ(d.tableNo, 600);

  set = SetOf(doc);
  set.rows.pop_back();
  EXPECT_EQ(DifferenceLine(OnlyDifference(doc, set)), "Table No. 600: present | (none)");
}

TEST(ListDifferences, CommentsOnlyWhenAsked) {
  CAxisCfgDoc doc;
  CSettingDataSet set = SetOf(doc);
  set.rows[0]->SetComment(0, "different");
  EXPECT_TRUE(ListDifferences(doc, set, false).empty());
  DifferenceItem d = OnlyDifference(doc, set, true);
  EXPECT_EQ(d.tableNo, 1);
  EXPECT_EQ(d.item, GetColumnTitle(kColComment, MakeSingleAxisEntry(0)));
  EXPECT_EQ(d.second, "different");
}

TEST(ListDifferences, GroupSheetAndEveryPartListed) {
  CAxisCfgDoc doc;
  CSettingDataSet a = SetOf(doc);
  a.layout.SetEntry(0, MakeGroupEntry(1, 0x3));
  CSettingDataSet b = SetOf(doc);
  b.layout.SetEntry(0, MakeGroupEntry(1, 0x3));
  // A row-wide field is stored in every member of the group: one cell differs.
  b.rows[2]->SetAccelTime(0, 700);
  b.rows[2]->SetAccelTime(1, 700);
  std::vector<DifferenceItem> items = ListDifferences(a, b);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].where, "[A] 1,2Axis");
  EXPECT_EQ(items[0].item, GetColumnTitle(kColAccelTime, MakeGroupEntry(1, 0x3)));

  // Unlike the comparison, which stops at the first part, the list goes on.
  b.family = 1;
  b.sync[0].mode = 1;
  b.params.SetParam(24, 0, 33);
  items = ListDifferences(a, b);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].part, DifferenceItem::Part::Family);
  EXPECT_EQ(items[1].part, DifferenceItem::Part::SyncGroup);
  EXPECT_EQ(items[2].part, DifferenceItem::Part::Parameter);
  EXPECT_EQ(items[2].where, a.layout.GetAxisLabel(0));
  EXPECT_EQ(items[3].part, DifferenceItem::Part::Table);
}
