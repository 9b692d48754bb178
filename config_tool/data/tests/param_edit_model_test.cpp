// The parameter settings editor without widgets: rows and columns from the
// document, cell texts and styles, every kind of commit with its refusals,
// the synchronous Mode B rule, the OK check, copy and initialise, apply.
#include <gtest/gtest.h>

#include <cstring>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/param_edit_model.h"

using namespace axcfg;

namespace {

constexpr int kUnitInch5 = 3;  // "I:inch [Min 0.00001]": speeds with 3 decimals
constexpr int kParamJogSpeed = 48;
constexpr int kParamTorqueValue = 26;
constexpr int kParamHomeTorque = 36;

class RecordingView : public CView {
 public:
  void OnUpdate(CView*, long hint, void*) override { hints.push_back(hint); }
  std::vector<long> hints;
};

// Group A of axes 1 and 2, then axis 3 alone; axis 4 is not in the layout.
struct EditorFixture : ::testing::Test {
  CAxisCfgDoc doc;

  void SetUp() override { UseLayout({MakeGroupEntry(1, 0x03), MakeSingleAxisEntry(2)}); }

  void UseLayout(std::initializer_list<uint32_t> entries) {
    CAxisLayout layout;
    layout.Clear();
    for (uint32_t e : entries) layout.Append(e);
    doc.SetLayout(layout);
  }
  void UseFamily(uint32_t family) { doc.SetUnitFamily(family); }
  // Synchronous group 1 with the master and slave axis indices.
  void UseSyncGroup(int master, int slave, uint16_t mode, uint32_t operation = 1) {
    SyncGroups sync{};
    sync[0].operation = operation;
    sync[0].mode = mode;
    sync[0].masterMask = static_cast<uint16_t>(1u << master);
    sync[0].slaveMask = static_cast<uint16_t>(1u << slave);
    doc.SetSyncGroups(sync);
  }
  void StoreRaw16(int axis, size_t offset, uint16_t value) {
    ParamRecord r{};
    std::memcpy(r.data(), doc.GetParamBlock().RecordBytes(axis), r.size());
    PutLe16(r.data() + offset, value);
    doc.GetParamBlock().SetRecordBytes(axis, r.data(), r.size());
  }
};

int Row(const CParamEditModel& m, int no) { return m.ParamToRow(no); }

TEST_F(EditorFixture, ColumnsFollowTheLayoutAndRowsTheFamily) {
  UseLayout({MakeSingleAxisEntry(3), MakeGroupEntry(1, 0x05)});
  CParamEditModel m(doc);
  ASSERT_EQ(m.ColumnCount(), 3);
  EXPECT_EQ(m.ColumnAxis(0), 3);
  EXPECT_EQ(m.ColumnAxis(1), 0);
  EXPECT_EQ(m.ColumnAxis(2), 2);
  EXPECT_EQ(m.ColumnTitle(0), "4 axis");
  EXPECT_EQ(m.ColumnTitle(1), "1 axis [A]");
  EXPECT_EQ(m.AxisColumn(1), -1);
  EXPECT_EQ(m.ShownMask(), 0x0D);
  EXPECT_EQ(m.RowCount(), 44);
  EXPECT_EQ(m.RowTitle(0), "Unit setting");
  EXPECT_EQ(m.ColumnAxis(3), -1);
  EXPECT_EQ(m.Cell(3, 0).text, "");

  UseFamily(1);
  CParamEditModel m1(doc);
  EXPECT_EQ(m1.RowCount(), 52);
  EXPECT_EQ(m1.RowTitle(4), "Pulse output rotation direction");
}

TEST_F(EditorFixture, DamagedLayoutShowsAnAxisOnce) {
  CAxisLayout layout;
  layout.Clear();
  layout.SetEntry(0, MakeSingleAxisEntry(1));
  layout.SetEntry(1, MakeSingleAxisEntry(1));
  layout.SetRawEntryCount(2);
  doc.SetLayout(layout);
  CParamEditModel m(doc);
  EXPECT_EQ(m.ColumnCount(), 1);
}

TEST_F(EditorFixture, CellStylesAndEditors) {
  CParamEditModel m(doc);
  const ParamCell unit = m.Cell(0, Row(m, kParamUnit));
  EXPECT_EQ(unit.text, "P:pulse");
  EXPECT_EQ(unit.style, kCellLeft | kCellMiddle);
  EXPECT_EQ(m.EditKind(0, Row(m, kParamUnit)), kEditList);
  // Pulse unit: the pulse number is not used, grey and not editable.
  EXPECT_EQ(m.Cell(0, Row(m, 1)).style, kCellRight | kCellMiddle | kCellGrey);
  EXPECT_EQ(m.EditKind(0, Row(m, 1)), kEditNone);
  // Limit switch not available: its connection is shown grey, not editable.
  EXPECT_EQ(m.Cell(0, Row(m, kParamLimitConnection)).style, kCellLeft | kCellMiddle | kCellGrey);
  EXPECT_EQ(m.EditKind(0, Row(m, kParamLimitConnection)), kEditNone);
  EXPECT_EQ(m.Cell(0, Row(m, kParamJogSpeed)).style, kCellRight | kCellMiddle);
  EXPECT_EQ(m.EditKind(0, Row(m, kParamJogSpeed)), kKindUnsigned);
  EXPECT_EQ(m.EditLength(0, Row(m, kParamUpperLimit)), 11);
  EXPECT_EQ(m.Choices(0, Row(m, kParamAuxOutputMode)),
            (std::vector<std::string>{"N:Not used", "W:With mode", "D:Delay mode"}));
  // A value out of range is red.
  ASSERT_TRUE(doc.GetParamBlock().SetParam(kParamJogSpeed, 2, 0));
  CParamEditModel red(doc);
  EXPECT_EQ(red.Cell(2, Row(red, kParamJogSpeed)).style, kCellRight | kCellMiddle | kCellRed);
  EXPECT_FALSE(red.Guidance(2, Row(red, kParamJogSpeed)).empty());
}

TEST_F(EditorFixture, UnitGoesToTheWholeGroupAndRedrawsEveryChangedColumn) {
  CParamEditModel m(doc);
  ParamEditResult r = m.CommitChoice(0, Row(m, kParamUnit), 1);
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(m.Params().GetParam(kParamUnit, 1), 1u);
  EXPECT_EQ(m.Params().GetParam(kParamUnit, 2), 0u);
  EXPECT_EQ(r.redrawColumns, (std::vector<int>{0, 1}));
  // The pulse number became editable on both axes of the group.
  EXPECT_EQ(m.EditKind(1, Row(m, 1)), kKindUnsigned);

  r = m.CommitChoice(2, Row(m, kParamUnit), kUnitInch5);
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.redrawColumns, std::vector<int>{2});
  EXPECT_EQ(m.Params().GetParam(kParamUnit, 0), 1u);
  EXPECT_EQ(m.Params().GetDecimals(kParamJogSpeed, 2), 3);

  // Choosing the value a cell already holds changes no column.
  r = m.CommitChoice(2, Row(m, kParamUnit), kUnitInch5);
  EXPECT_TRUE(r.Accepted());
  EXPECT_TRUE(r.redrawColumns.empty());
}

TEST_F(EditorFixture, KindsFollowTheChoiceAtOnce) {
  CParamEditModel m(doc);
  const int delayRow = Row(m, kParamAuxDelayRate);
  EXPECT_EQ(m.EditKind(2, delayRow), kEditNone);
  ParamEditResult r = m.CommitChoice(2, Row(m, kParamAuxOutputMode), 2);
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.redrawColumns, std::vector<int>{2});
  EXPECT_EQ(m.EditKind(2, delayRow), kKindUnsigned);

  r = m.CommitChoice(2, Row(m, kParamHomeCode), 6);
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(m.EditKind(2, Row(m, kParamHomeTorque)), kKindUnsigned);
  EXPECT_EQ(r.redrawColumns, std::vector<int>{2});
}

TEST_F(EditorFixture, NumberCommitsReadTheKindAndCheckTheWholeValue) {
  CParamEditModel m(doc);
  const int jog = Row(m, kParamJogSpeed);
  struct Case {
    const char* text;
    unsigned id;
  };
  const Case cases[] = {
      {"", CParamEditModel::kIdUnreadable},
      {"12a", CParamEditModel::kIdUnreadable},
      {"-5", CParamEditModel::kIdUnreadable},  // kind 4 has no sign
      {"+5", CParamEditModel::kIdUnreadable},
      {"1.5", CParamEditModel::kIdUnreadable},
      {"99999999999999999999", CParamEditModel::kIdUnreadable},  // beyond 64 bits
      {"0", CParamEditModel::kIdOutOfRange},
      {"32767001", CParamEditModel::kIdOutOfRange},
      // 2^32 + 1000 would store 1000 if it were cut to 32 bits first.
      {"4294968296", CParamEditModel::kIdOutOfRange},
  };
  for (const Case& c : cases) {
    ParamEditResult r = m.CommitText(2, jog, c.text);
    EXPECT_EQ(r.id, c.id) << c.text;
    EXPECT_EQ(r.message, AxisCfgText(c.id)) << c.text;
    EXPECT_EQ(m.Params().GetParam(kParamJogSpeed, 2), 1000u) << c.text;
  }
  EXPECT_TRUE(m.CommitText(2, jog, " 32767000 ").Accepted());
  EXPECT_EQ(m.Params().GetParam(kParamJogSpeed, 2), 32767000u);
  EXPECT_TRUE(m.CommitText(2, jog, "1").Accepted());
  EXPECT_EQ(m.EditText(2, jog), "1");
}

TEST_F(EditorFixture, SignedAndFixedKinds) {
  ASSERT_TRUE(SetGroupUnit(doc.GetParamBlock(), doc.GetLayout(), 2, kUnitInch5));
  CParamEditModel m(doc);
  const int jog = Row(m, kParamJogSpeed);
  ASSERT_EQ(m.EditKind(2, jog), kKindFixed);
  EXPECT_EQ(m.CommitText(2, jog, "1.23456").id, CParamEditModel::kIdUnreadable);
  EXPECT_EQ(m.CommitText(2, jog, "0").id, CParamEditModel::kIdOutOfRange);
  EXPECT_TRUE(m.CommitText(2, jog, "12.5").Accepted());
  EXPECT_EQ(m.Params().GetParam(kParamJogSpeed, 2), 12500u);

  const int upper = Row(m, kParamUpperLimit);
  ASSERT_EQ(m.EditKind(2, upper), kKindSignedFixed);
  EXPECT_TRUE(m.CommitText(2, upper, "-10737.41823").Accepted());
  EXPECT_EQ(m.Params().GetParamValue(kParamUpperLimit, 2), -1073741823);
  EXPECT_EQ(m.CommitText(2, upper, "-10737.41824").id, CParamEditModel::kIdOutOfRange);

  // Pulse unit on axis 1: whole signed numbers.
  const int origin = Row(m, kParamHomeCoordinateOrigin);
  EXPECT_TRUE(m.CommitText(0, origin, "-1073741823").Accepted());
  EXPECT_EQ(m.CommitText(0, origin, "1073741824").id, CParamEditModel::kIdOutOfRange);
  EXPECT_EQ(m.CommitText(0, origin, "-9223372036854775809").id, CParamEditModel::kIdUnreadable);
  EXPECT_EQ(m.CommitText(0, origin, "-9223372036854775808").id, CParamEditModel::kIdOutOfRange);
  EXPECT_EQ(m.Params().GetParamValue(kParamHomeCoordinateOrigin, 0), -1073741823);

  // Torque judgment value: one decimal, 500.0 at most.
  const int torque = Row(m, kParamTorqueValue);
  EXPECT_EQ(m.EditText(0, torque), "500.0");
  EXPECT_EQ(m.CommitText(0, torque, "500.1").id, CParamEditModel::kIdOutOfRange);
  EXPECT_TRUE(m.CommitText(0, torque, "0.5").Accepted());
  EXPECT_EQ(m.Params().GetParam(kParamTorqueValue, 0), 5u);

  // Cells without a typed value refuse text.
  EXPECT_FALSE(m.CommitText(0, Row(m, kParamUnit), "1").Accepted());
  EXPECT_FALSE(m.CommitText(0, Row(m, kParamAuxDelayRate), "1").Accepted());
  EXPECT_FALSE(m.CommitText(5, 0, "1").Accepted());
}

TEST_F(EditorFixture, ModeBMasterKeepsAHomeReturnItCanFollow) {
  UseSyncGroup(0, 2, 1);
  CParamEditModel m(doc);
  const int home = Row(m, kParamHomeCode);
  ParamEditResult r = m.CommitChoice(0, home, 3);
  EXPECT_EQ(r.id, CParamEditModel::kIdModeBHomeCode);
  EXPECT_EQ(r.message, AxisCfgText(21184));
  EXPECT_EQ(m.Params().GetParam(kParamHomeCode, 0), 0u);
  EXPECT_TRUE(m.CommitChoice(0, home, 4).Accepted());
  EXPECT_EQ(m.Params().GetParam(kParamHomeCode, 0), 4u);
  // The slave and other axes choose freely.
  EXPECT_TRUE(m.CommitChoice(2, home, 3).Accepted());
}

TEST_F(EditorFixture, SwitchedOffGroupDoesNotBindItsMaster) {
  UseSyncGroup(0, 2, 1, 0);
  CParamEditModel m(doc);
  EXPECT_TRUE(m.CommitChoice(0, Row(m, kParamHomeCode), 3).Accepted());
  // Any non-zero flag counts as on.
  UseSyncGroup(0, 2, 1, 7);
  CParamEditModel on(doc);
  EXPECT_EQ(on.CommitChoice(0, Row(on, kParamHomeCode), 3).id, CParamEditModel::kIdModeBHomeCode);
}

TEST_F(EditorFixture, ChoiceWithoutTextIsKeptUnlessChanged) {
  UseFamily(1);
  StoreRaw16(0, 64, 6);  // stop-on-contact: not a choice of family 1
  CParamEditModel m(doc);
  const int home = Row(m, kParamHomeCode);
  EXPECT_EQ(m.CurrentChoice(0, home), -1);
  EXPECT_EQ(m.Choices(0, home).size(), 7u);
  EXPECT_TRUE(m.Cell(0, home).style & kCellRed);
  ParamEditResult r = m.CommitChoice(0, home, -1);
  EXPECT_TRUE(r.Accepted());
  EXPECT_TRUE(r.redrawColumns.empty());
  EXPECT_EQ(GetLe16(m.Params().RecordBytes(0) + 64), 6);
  // An index beyond the list is refused.
  EXPECT_FALSE(m.CommitChoice(0, home, 7).Accepted());
  // "8:Data set" is index 6 in family 1 and stored as code 8.
  EXPECT_TRUE(m.CommitChoice(0, home, 6).Accepted());
  EXPECT_EQ(GetLe16(m.Params().RecordBytes(0) + 64), 8);
  EXPECT_EQ(m.CurrentChoice(0, home), 6);

  UseFamily(0);
  StoreRaw16(2, 112, 3);  // pulser input 4: family 1 only
  CParamEditModel f0(doc);
  EXPECT_EQ(f0.CurrentChoice(2, Row(f0, kParamPulserCode)), -1);
}

TEST_F(EditorFixture, OkReportsTheFirstShownCellOutOfRange) {
  ASSERT_TRUE(doc.GetParamBlock().SetParam(kParamJogSpeed, 3, 0));  // axis 4: not shown
  CParamEditModel m(doc);
  EXPECT_TRUE(m.CheckForOk().ok);

  ASSERT_TRUE(doc.GetParamBlock().SetParam(kParamJogSpeed, 2, 0));
  CParamEditModel bad(doc);
  ParamOkCheck c = bad.CheckForOk();
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.id, CParamEditModel::kIdOkOutOfRange);
  EXPECT_EQ(c.message, AxisCfgText(21183));
  EXPECT_EQ(c.column, 2);
  EXPECT_EQ(c.row, Row(bad, kParamJogSpeed));
  ASSERT_TRUE(bad.CommitText(2, c.row, "5").Accepted());
  EXPECT_TRUE(bad.CheckForOk().ok);
}

TEST_F(EditorFixture, CopyAxisAlignsTheDestinationGroup) {
  CParamEditModel m(doc);
  ASSERT_TRUE(m.CommitChoice(2, Row(m, kParamUnit), kUnitInch5).Accepted());
  ASSERT_TRUE(m.CommitText(2, Row(m, kParamJogSpeed), "7").Accepted());
  const CParamBlock before = m.Params();

  EXPECT_TRUE(m.CopyAxis(2, 2).redrawColumns.empty());
  EXPECT_TRUE(m.CopyAxis(2, 3).redrawColumns.empty());  // axis 4 is not shown
  EXPECT_EQ(m.Params(), before);

  ParamEditResult r = m.CopyAxis(2, 1);
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.redrawColumns, (std::vector<int>{0, 1}));
  EXPECT_EQ(m.Params().GetParam(kParamJogSpeed, 1), 7000u);
  EXPECT_EQ(m.Params().GetParam(kParamUnit, 0), static_cast<uint32_t>(kUnitInch5));
  EXPECT_TRUE(r.info.empty());
}

TEST_F(EditorFixture, CopyAndInitializeCorrectAModeBMaster) {
  UseSyncGroup(0, 2, 1);
  StoreRaw16(0, 64, 4);
  StoreRaw16(2, 64, 3);
  CParamEditModel m(doc);
  ParamEditResult r = m.CopyAxis(2, 0);
  EXPECT_EQ(GetLe16(m.Params().RecordBytes(0) + 64), 4);
  EXPECT_NE(r.info.find(AxisCfgText(21518)), std::string::npos);
  EXPECT_EQ(GetLe16(m.Params().RecordBytes(2) + 64), 3);  // the slave is free

  r = m.Initialize(0x01);
  EXPECT_EQ(GetLe16(m.Params().RecordBytes(0) + 64), 1);
  EXPECT_FALSE(r.info.empty());
  r = m.Initialize(0x04);
  EXPECT_EQ(GetLe16(m.Params().RecordBytes(2) + 64), 0);
  EXPECT_TRUE(r.info.empty());
}

TEST_F(EditorFixture, InitializeResetsChosenShownAxesAndAlignsTheirGroup) {
  CParamEditModel m(doc);
  ASSERT_TRUE(m.CommitChoice(0, Row(m, kParamUnit), 1).Accepted());
  ASSERT_TRUE(m.CommitText(0, Row(m, kParamJogSpeed), "5").Accepted());
  ASSERT_TRUE(m.CommitText(1, Row(m, kParamJogSpeed), "6").Accepted());
  const CParamBlock before = m.Params();

  ParamEditResult r = m.Initialize(0);
  EXPECT_EQ(r.id, CParamEditModel::kIdChooseInitialise);
  EXPECT_EQ(r.message, AxisCfgText(10103));
  EXPECT_EQ(m.Initialize(0x08).id, CParamEditModel::kIdChooseInitialise);  // axis 4 is not shown
  EXPECT_EQ(m.Params(), before);

  r = m.Initialize(0x01);
  ASSERT_TRUE(r.Accepted());
  EXPECT_EQ(r.redrawColumns, (std::vector<int>{0, 1}));
  EXPECT_EQ(m.Params().GetParam(kParamJogSpeed, 0), 1000u);
  EXPECT_EQ(m.Params().GetParam(kParamJogSpeed, 1), 6u);  // kept, unit aligned to pulse
  EXPECT_EQ(m.Params().GetParam(kParamUnit, 1), 0u);
}

TEST_F(EditorFixture, ApplyPutsTheRecordsIntoTheDocumentCancelLeavesIt) {
  RecordingView view;
  doc.AddView(&view);
  std::array<ParamRecord, 8> bytes{};
  for (int a = 0; a < 8; ++a) std::memcpy(bytes[a].data(), doc.GetParamBlock().RecordBytes(a), kParamRecordBytes);
  {
    CParamEditModel m(doc);
    ASSERT_TRUE(m.CommitChoice(0, Row(m, kParamUnit), 2).Accepted());
    ASSERT_TRUE(m.Initialize(0x04).Accepted());
  }  // dropped: cancelled
  for (int a = 0; a < 8; ++a)
    EXPECT_EQ(std::memcmp(bytes[a].data(), doc.GetParamBlock().RecordBytes(a), kParamRecordBytes), 0);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(view.hints.empty());

  CParamEditModel m(doc);
  ASSERT_TRUE(m.CommitChoice(0, Row(m, kParamUnit), 2).Accepted());
  m.Apply(doc);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.hints, std::vector<long>{kHintRebuildAll});
  EXPECT_EQ(doc.GetParamBlock().GetParam(kParamUnit, 1), 2u);
  EXPECT_EQ(doc.GetParamBlock().GetFamily(), doc.GetUnitFamily());
  doc.RemoveView(&view);
}

}  // namespace
