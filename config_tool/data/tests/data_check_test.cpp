// The data check: table rules per sheet and column, where it reports the
// first problem, the parameters of used axes only, and the synchronous
// group rules of the group dialog.
#include <gtest/gtest.h>

#include <functional>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/data_check.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_sheets.h"
#include "axcfg_data/sync_group_check.h"

using namespace axcfg;

namespace {

// Axis 1 alone, group A of axes 2 and 3, group B of axes 5, 6, 7.
CAxisCfgDoc& ThreeSheets(CAxisCfgDoc& doc) {
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeSingleAxisEntry(0));
  layout.Append(MakeGroupEntry(1, 0x06));
  layout.Append(MakeGroupEntry(2, 0x70));
  doc.SetLayout(layout);
  return doc;
}

uint32_t Check(const CAxisCfgDoc& doc) { return CheckTables(doc); }

TEST(DataCheck, SheetsFollowTheLayoutWalk) {
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  EXPECT_EQ(GetSheetEntries(doc.GetLayout()),
            (std::vector<uint32_t>{MakeSingleAxisEntry(0), MakeGroupEntry(1, 0x06), MakeGroupEntry(2, 0x70)}));
  EXPECT_EQ(LayoutAxesInOrder(doc.GetLayout()), (std::vector<int>{0, 1, 2, 4, 5, 6}));
  // A one-axis group entry is a single axis sheet.
  CAxisLayout odd;
  odd.Clear();
  odd.Append(0x03010008);
  EXPECT_EQ(GetSheetEntries(odd), std::vector<uint32_t>{MakeSingleAxisEntry(3)});
}

TEST(DataCheck, NewDocumentIsValid) {
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  EXPECT_EQ(Check(doc), kTablesValid);
  DataCheckResult r = CheckData(doc);
  EXPECT_TRUE(r.Valid());
  EXPECT_EQ(r.messageId, 30109u);
  EXPECT_EQ(r.message, "There was no error.");
}

TEST(DataCheck, FirstInvalidValueIsReportedWithTableSheetAndColumn) {
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  // Table No. 5 of the second sheet: axis 3's movement amount (Y of group A).
  doc.GetPosData(4)->SetMoveAmount(2, 1073741824);
  // A later problem on the first sheet comes first in sheet order.
  doc.GetPosData(9)->SetDwellTime(0, 40000);
  EXPECT_EQ(Check(doc), MakeTableLocation(9, 0, kColDwellTime));
  doc.GetPosData(9)->SetDwellTime(0, 32767);
  EXPECT_EQ(Check(doc), MakeTableLocation(4, 1, kColFirstMove + 2 * 2));

  DataCheckResult r = CheckData(doc);
  EXPECT_EQ(r.stage, CheckStage::Tables);
  EXPECT_EQ(r.sheetEntry, MakeGroupEntry(1, 0x06));
  EXPECT_EQ(r.cellColumn, 5);  // 1, 3, 4, 7, 8, 9 ...
  EXPECT_EQ(r.messageId, 30223u);
  EXPECT_EQ(r.message, "An error was found in the following. : \r\nTable No. 5: Y axis(3) movement amount");
  doc.GetPosData(4)->SetMoveAmount(2, -1073741823);
  EXPECT_EQ(Check(doc), kTablesValid);
}

TEST(DataCheck, RulesOfEachColumn) {
  struct Case {
    const char* what;
    int axis;
    std::function<void(CPosData&)> set;
    int column;  // 0 = valid
  };
  const int k = 7;
  const std::vector<Case> cases = {
      {"jump No. 600", 0, [](CPosData& r) { r.SetJumpNo(0, 600); }, 0},
      {"jump No. 601", 0, [](CPosData& r) { r.SetJumpNo(0, 601); }, kColJumpNo},
      {"jump No. -1", 0, [](CPosData& r) { r.SetJumpNo(0, -1); }, kColJumpNo},
      {"J on a single axis", 0, [](CPosData& r) { r.SetControlMethod(0, kCtrlJog); }, 0},
      {"control method 4", 0, [](CPosData& r) { r.SetControlMethod(0, 4); }, kColControlMethod},
      {"J in a group", 1, [](CPosData& r) { r.SetControlMethod(1, kCtrlJog); }, kColControlMethod},
      {"spiral in a 2-axis group", 1, [](CPosData& r) { r.SetInterpPattern(1, 0x50); }, kColInterpPattern},
      {"circle in a 2-axis group", 1, [](CPosData& r) { r.SetInterpPattern(1, 0x20); }, 0},
      {"circle in a 3-axis group", 4, [](CPosData& r) { r.SetInterpPattern(4, 0x10); }, kColInterpPattern},
      {"spiral in a 3-axis group", 4, [](CPosData& r) { r.SetInterpPattern(4, 0x62); }, 0},
      {"pattern of a member is not judged", 5, [](CPosData& r) { r.SetInterpPattern(5, 0x99); }, 0},
      {"position mode of a member", 6, [](CPosData& r) { r.SetPositionMode(6, 2); }, kColPositionMode},
      {"aux point of a member", 5, [](CPosData& r) { r.SetAuxPoint(5, 2147483648LL); }, kColFirstAux + 10},
      {"aux point at its limit", 5, [](CPosData& r) { r.SetAuxPoint(5, -2147483648LL); }, 0},
      {"acceleration 10001", 0, [](CPosData& r) { r.SetAccelTime(0, 10001); }, kColAccelTime},
      {"deceleration -1", 0, [](CPosData& r) { r.SetDecelTime(0, -1); }, kColDecelTime},
      {"speed 0 on a single axis", 0, [](CPosData& r) { r.SetTargetSpeed(0, 0); }, kColAxisSpeed},
      {"speed 0 in a group", 1, [](CPosData& r) { r.SetTargetSpeed(1, 0); }, kColInterpSpeed},
      {"speed 32767001", 0, [](CPosData& r) { r.SetTargetSpeed(0, 32767001); }, kColAxisSpeed},
      {"accel pattern 2", 0, [](CPosData& r) { r.SetAccelPattern(0, 2); }, kColAccelPattern},
      {"aux code 65536", 0, [](CPosData& r) { r.SetAuxCode(0, 65536); }, kColAuxCode},
      {"comment of 100", 0, [](CPosData& r) { r.SetComment(0, std::string(100, 'a')); }, 0},
      {"comment of 101", 0, [](CPosData& r) { r.SetComment(0, std::string(101, 'a')); }, kColComment},
      {"unused axis", 3, [](CPosData& r) { r.SetTargetSpeed(3, 0); }, 0},
  };
  for (const Case& c : cases) {
    CAxisCfgDoc doc;
    ThreeSheets(doc);
    c.set(*doc.GetPosData(k));
    const int sheet = c.axis == 0 ? 0 : (c.axis < 3 ? 1 : 2);
    EXPECT_EQ(Check(doc), c.column ? MakeTableLocation(k, sheet, c.column) : kTablesValid) << c.what;
  }
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  std::string kanji;
  for (int i = 0; i < 51; ++i) kanji += "位";
  doc.GetPosData(k)->SetComment(0, kanji);  // 102 bytes in code page 932
  EXPECT_EQ(Check(doc), MakeTableLocation(k, 0, kColComment));
}

TEST(DataCheck, LastTableMustEnd) {
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  doc.GetPosData(599)->SetControlMethod(1, kCtrlContinue);
  doc.GetPosData(599)->SetControlMethod(2, kCtrlContinue);
  EXPECT_EQ(Check(doc), MakeTableLocation(599, 1, kColControlMethod));
  DataCheckResult r = CheckData(doc);
  EXPECT_EQ(r.message, "An error was found in the following. : \r\nTable No. 600: Pattern");
  doc.GetPosData(599)->SetControlMethod(1, kCtrlPass);
  EXPECT_EQ(Check(doc), MakeTableLocation(599, 1, kColControlMethod));
  doc.GetPosData(599)->SetControlMethod(1, kCtrlEnd);
  EXPECT_EQ(Check(doc), kTablesValid);
}

TEST(DataCheck, ValuesTheSheetDoesNotShowAndMissingRowsGiveTheGeneralMessage) {
  CAxisCfgDoc doc;
  doc.GetPosData(2)->SetJumpNo(0, 700);
  DataCheckResult r = CheckData(doc);
  EXPECT_EQ(r.location, MakeTableLocation(2, 0, kColJumpNo));
  EXPECT_EQ(r.messageId, 30222u);
  // No sheet shows the jump table No.: the message says where the value is
  // and the cursor goes to the first column of that table's line.
  EXPECT_EQ(r.message, "Failed in the error check.\r\nTable No. 3: Jump No.");
  EXPECT_EQ(r.cellColumn, 0);
  doc.GetPosData(2)->SetJumpNo(0, 600);
  EXPECT_TRUE(CheckData(doc).Valid()) << "600 is the last valid jump";

  CAxisCfgDoc shortDoc;
  shortDoc.Rows().resize(10);
  EXPECT_EQ(CheckTables(shortDoc), kTablesValid) << "only the rows there are";
  shortDoc.Rows()[3].reset();
  EXPECT_EQ(CheckTables(shortDoc), MakeTableLocation(3, 0, 0));

  CAxisLayout big;
  big.Clear();
  big.SetEntry(0, 0x01040000 | 0x0F);
  big.SetRawEntryCount(1);
  CAxisCfgDoc bigDoc;
  bigDoc.SetLayout(big);
  EXPECT_EQ(CheckTables(bigDoc), kTablesCheckFailed);
  EXPECT_EQ(CheckData(bigDoc).messageId, 30222u);
}

TEST(DataCheck, ParametersOfUsedAxesOnly) {
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  doc.GetParamBlock().SetParam(24, 3, 40000);  // completion width, axis 4 is not used
  EXPECT_TRUE(CheckData(doc).Valid());
  doc.GetParamBlock().SetParam(24, 4, 40000);
  DataCheckResult r = CheckData(doc);
  EXPECT_EQ(r.stage, CheckStage::Parameters);
  EXPECT_EQ(r.param, 24);
  EXPECT_EQ(r.axis, 4);
  EXPECT_EQ(r.message, "The value in the unallowable range was set.\r\nChange the settings.");
  // Parameter 24 is not a parameter of family 1.
  doc.SetUnitFamily(1);
  EXPECT_TRUE(CheckData(doc).Valid());
}

SyncGroupCheckData Groups(uint16_t used, CSyncGroupRecord g1, CSyncGroupRecord g2 = {}) {
  SyncGroupCheckData d;
  d.usedAxes = used;
  d.groups = {g1, g2};
  return d;
}

CSyncGroupRecord On(int master, int slave, uint16_t mode = 0, uint16_t diff = 10000) {
  return {1, mode, static_cast<uint16_t>(1u << master), static_cast<uint16_t>(1u << slave), diff, 0};
}

TEST(SyncGroupCheck, RulesInTheirOrder) {
  EXPECT_EQ(CheckSyncGroups(Groups(0x0F, On(0, 1))).id, 0u);
  EXPECT_EQ(CheckSyncGroups(Groups(0x0F, On(0, 5))).id, 21512u);
  SyncCheckFailure same = CheckSyncGroups(Groups(0x0F, On(0, 1), On(2, 2)));
  EXPECT_EQ(same.id, 21513u);
  EXPECT_EQ(same.Text(), "The setting for the synchronous group \"2\" is incorrect.");
  // Master 1 = slave 2, though each group alone is valid.
  EXPECT_EQ(CheckSyncGroups(Groups(0x0F, On(0, 1), On(2, 0))).id, 21514u);
  SyncGroupCheckData inGroup = Groups(0xFF, On(0, 1), On(6, 5));
  inGroup.groupMasks[2] = 0x60;  // group C holds axes 6 and 7
  SyncCheckFailure slave = CheckSyncGroups(inGroup);
  EXPECT_EQ(slave.id, 21515u);
  EXPECT_EQ(slave.Text(), "The setting for the slave axis of the synchronous group\"2\" is incorrect.");
  inGroup.groups[1] = On(5, 7);  // a master inside a group is allowed
  EXPECT_EQ(CheckSyncGroups(inGroup).id, 0u);
  EXPECT_EQ(CheckSyncGroups(Groups(0x0F, On(0, 1, 0, 0))).id, 21511u);
  EXPECT_EQ(CheckSyncGroups(Groups(0x0F, On(0, 1, 0, 40000))).id, 21511u);
  CSyncGroupRecord off = On(0, 0, 0, 0);
  off.operation = 0;
  EXPECT_EQ(CheckSyncGroups(Groups(0x01, off)).id, 0u) << "a group that is off is not checked";
}

TEST(SyncGroupCheck, DataCheckRunsTheGroupRulesFirst) {
  CAxisCfgDoc doc;
  doc.GetSyncGroups()[0] = On(0, 3);  // axis 4 is not used
  doc.GetParamBlock().SetParam(24, 0, 40000);
  DataCheckResult r = CheckData(doc);
  EXPECT_EQ(r.stage, CheckStage::SyncGroups);
  EXPECT_EQ(r.messageId, 21512u);
}

TEST(SyncGroupCheck, ModeBHomeReturnCorrections) {
  CAxisCfgDoc doc;
  ThreeSheets(doc);
  doc.GetParamBlock().SetParam(kParamHomeCode, 0, 5);
  doc.GetParamBlock().SetParam(kParamHomeCode, 4, 4);
  doc.GetSyncGroups()[0] = On(0, 1, 1);
  doc.GetSyncGroups()[1] = On(4, 6, 1);
  SyncGroupCheckData data = SyncCheckDataOf(doc);
  EXPECT_EQ(data.usedAxes, 0x77);
  EXPECT_EQ(data.groupMasks[0], 0x06);
  auto list = PlanHomeReturnCorrections(data);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].from, 5);
  EXPECT_EQ(list[0].to, 8);
  EXPECT_EQ(HomeReturnCorrectionText(list),
            "The home return method for the synchronous group is incorrect. \nThe method has been changed as below.\n"
            "\nSynchronous group1   5:Phase Z method -> 8:Data set   ");
  EXPECT_EQ(doc.GetParamBlock().GetParam(kParamHomeCode, 0), 5u) << "planning changes nothing";
  data.groups[0].mode = 0;
  EXPECT_TRUE(PlanHomeReturnCorrections(data).empty());
}

}  // namespace
