// Comparison of a loaded set with the document and the verification with a
// file.
#include <gtest/gtest.h>

#include <fstream>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/compare.h"
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

  // Another family: nothing else is compared.
  CAxisCfgDoc other;
  other.SetUnitFamily(1);
  ASSERT_EQ(SaveDocumentFile(other, dir + "/other.axc").id, 0u);
  VerifyFileOutcome family = VerifyWithFile(doc, dir + "/other.axc");
  EXPECT_EQ(family.result.mismatch, kDiffAxisInfo);
  EXPECT_EQ(VerifyResultLines(family.result),
            (std::vector<std::string>{"Axis infomation - Disagree", "Parameter data - ", "Positioninng data - ",
                                      "Result of verification - Disagree"}));

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
