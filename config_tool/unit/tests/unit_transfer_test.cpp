// The unit memory map, the row record, upload and download frames, the
// completion handshake and the checks before a download.
#include <gtest/gtest.h>

#include "axcfg_data/compare.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/unit_link.h"
#include "axcfg_unit/unit_transfer.h"
#include "transfer_unit.h"

using namespace axcfg;
using Frames = std::vector<std::pair<uint32_t, uint32_t>>;

namespace {

struct CountingProgress : ITransferProgress {
  void SetRange(int r) override { range = r; }
  void Step(int n) override { position += n; }
  bool Cancelled() override { return cancelAt > 0 && ++checks >= cancelAt; }
  int range = 0, position = 0, checks = 0, cancelAt = 0;
};

struct TransferTest : ::testing::Test {
  axcfg_test::TransferUnit unit;
  axcfg_test::RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  CountingProgress progress;
  void SetUp() override {
    link.Open(nullptr, false, false, false);
    unit.SetLayout({0, 0, 0, 0, 0xFF});
  }
};

CAxisLayout Layout(std::initializer_list<uint32_t> entries) {
  CAxisLayout l;
  l.Clear();
  for (uint32_t e : entries) l.Append(e);
  return l;
}

// Tables first..last (0-based, inclusive) of one axis in frames of 31 tables.
void AddTableFrames(Frames& f, int axis, int first, int last) {
  for (int k = first; k <= last; k += 31)
    f.push_back({unitmap::Table(axis, k), static_cast<uint32_t>(std::min(31, last - k + 1)) * 16});
}

Frames UploadHead() {
  Frames f = {{0x160, 5}, {0x004, 1}, {0x16E, 6}, {0x570, 6}};
  for (int axis = 0; axis < 8; ++axis) f.push_back({0x1000 + 0x5000u * axis, 76});
  return f;
}

Frames DownloadHead() {
  Frames f = {{0x160, 5}, {0x16E, 6}, {0x570, 1}, {0x574, 1}, {0x578, 1}, {0x57A, 1}};
  for (int axis = 0; axis < 8; ++axis) f.push_back({0x1000 + 0x5000u * axis, 76});
  return f;
}

}  // namespace

TEST(UnitRowRecord, FieldsSitWhereTheUnitReadsThemAndSurviveTheirRangeEnds) {
  PosElement e;
  e.positionMode = kPosAbsolute;
  e.accelPattern = 1;
  e.controlMethod = kCtrlContinue;
  e.interpPattern = 7;
  e.accelTime = 10000;
  e.decelTime = 1;
  e.targetSpeed = 32767000;
  e.moveAmount = -1073741823;
  e.auxPoint = 1073741823;
  e.dwellTime = 32767;
  e.auxCode = 40000;
  e.jumpNo = 600;
  e.comment = "kept out of the unit";
  const UnitRowWords w = EncodeUnitRow(e);
  EXPECT_EQ(w[0], 0x0003);
  EXPECT_EQ(w[1], 0x0702);
  EXPECT_EQ(w[2] | w[3] | w[14], 0);
  EXPECT_EQ(w[6] | (w[7] << 16), 32767000);
  EXPECT_EQ(w[13], 40000);
  EXPECT_EQ(w[15], 600);
  PosElement back;
  back.comment = "mine";
  DecodeUnitRow(w.data(), back);
  EXPECT_EQ(back.comment, "mine");
  back.comment = e.comment;
  EXPECT_EQ(back, e);

  // Wider values keep only their low bits on the way in.
  e.accelTime = 0x12345;
  EXPECT_EQ(EncodeUnitRow(e)[4], 0x2345);
}

TEST(DownloadElement, GroupMembersTakeTheRowWideFieldsOfTheFirstMember) {
  const CAxisLayout layout = Layout({MakeGroupEntry(1, 0x06), MakeSingleAxisEntry(0)});
  CPosData row;
  row.SetTargetSpeed(1, 500);
  row.SetJumpNo(1, 7);
  row.SetMoveAmount(2, 1234);
  row.SetTargetSpeed(2, 0);  // unchecked: the grid never shows it
  row.SetJumpNo(2, 601);
  const PosElement second = DownloadElement(row, layout, 2);
  EXPECT_EQ(second.targetSpeed, 500);
  EXPECT_EQ(second.jumpNo, 7);
  EXPECT_EQ(second.moveAmount, 1234);
  row.SetTargetSpeed(0, 9);
  EXPECT_EQ(DownloadElement(row, layout, 0).targetSpeed, 9);  // a single axis keeps its own
}

TEST_F(TransferTest, EightAxisUploadReadsOneHundredSeventyTwoFramesAndFillsTheBar) {
  CSettingDataSet set;
  uint16_t model = 0;
  ASSERT_EQ(UploadData(link, progress, set, model), 0);
  Frames expected = UploadHead();
  for (int axis = 0; axis < 8; ++axis) AddTableFrames(expected, axis, 0, 599);
  EXPECT_EQ(expected.size(), 172u);
  EXPECT_EQ(unit.reads, expected);
  EXPECT_EQ(model, 5154);
  EXPECT_EQ(progress.range, 1 + 8 + 600 * 8);
  EXPECT_EQ(progress.position, progress.range);
}

TEST_F(TransferTest, TwoAxisUploadReadsTablesOfTheLayoutAxesOnly) {
  unit.SetLayout({0x0A, 0, 0, 0, 0}, 5155);  // group A: axes 2 and 4
  unit.Set(0x16E, 1);
  unit.Set(0x170, 0x02);
  unit.Set(0x172, 0x08);
  unit.Set(0x178, 0x01);  // group 2: off in the unit (master 0), a slave left over
  unit.Set(0x570, 123);
  unit.Set(0x574, 456);
  unit.Set(0x578, 1);
  unit.Set(0x57A, 2);
  unit.Set32(unitmap::Table(3, 599) + 16, static_cast<uint32_t>(-5));
  unit.Set(unitmap::Table(3, 599) + 26, 40000);
  CSettingDataSet set;
  uint16_t model = 0;
  ASSERT_EQ(UploadData(link, progress, set, model), 0);
  Frames expected = UploadHead();
  AddTableFrames(expected, 1, 0, 599);
  AddTableFrames(expected, 3, 0, 599);
  EXPECT_EQ(unit.reads, expected);
  EXPECT_EQ(progress.position, progress.range);
  EXPECT_EQ(set.family, kFamilyInterp);
  EXPECT_EQ(set.layout.GetTotalAxisCount(), 2);
  EXPECT_EQ(set.sync[0].operation, 1u);
  EXPECT_EQ(set.sync[0].slaveMask, 0x08);
  EXPECT_EQ(set.sync[1].operation, 0u);
  EXPECT_EQ(set.sync[0].difference, 123);
  EXPECT_EQ(set.sync[1].difference, 456);
  EXPECT_EQ(set.sync[1].differenceBehavior, 2);
  ASSERT_EQ(set.RowCount(), 600);
  EXPECT_EQ(set.rows[599]->GetMoveAmount(3), -5);
  EXPECT_EQ(set.rows[599]->GetAuxCode(3), 40000);
}

TEST_F(TransferTest, InvalidUnitLayoutsStopAfterTheFirstRead) {
  const std::array<uint16_t, 5> layouts[] = {
      {0x0F, 0, 0, 0, 0},     // a 4-axis group
      {0x03, 0, 0, 0, 0x02},  // an axis in two places
      {0, 0, 0, 0, 0},        // no axis at all
  };
  for (const auto& words : layouts) {
    unit.SetLayout(words);
    unit.reads.clear();
    CSettingDataSet set;
    uint16_t model = 0;
    EXPECT_EQ(UploadData(link, progress, set, model), kTransferLayoutInvalid);
    EXPECT_EQ(unit.reads.size(), 1u);
  }
}

TEST_F(TransferTest, CancelBeforeAFrameStopsWithoutFurtherAccess) {
  for (int n : {1, 2, 5, 40}) {
    unit.reads.clear();
    progress = CountingProgress();
    progress.cancelAt = n;
    CSettingDataSet set;
    uint16_t model = 0;
    EXPECT_EQ(UploadData(link, progress, set, model), kTransferAborted) << n;
    // The layout and model reads share one check; every later frame has its own.
    EXPECT_EQ(unit.reads.size(), static_cast<size_t>(n == 1 ? 0 : n)) << n;
  }
}

TEST_F(TransferTest, AFailingFrameEndsTheTransferThere) {
  unit.FailAt(unitmap::Table(2, 40), -11061);
  CSettingDataSet set;
  uint16_t model = 0;
  EXPECT_EQ(UploadData(link, progress, set, model), -11061);
  EXPECT_EQ(unit.reads.back(), (std::pair<uint32_t, uint32_t>{unitmap::Table(2, 31), 496}));

  CAxisCfgDoc doc;
  unit.FailAt(0x1000 + 0x5000 * 3, -11061);
  EXPECT_EQ(DownloadData(link, progress, doc, {1, 1, 600}), -11061);
  EXPECT_EQ(unit.frames.back(), (std::pair<uint32_t, uint32_t>{0x1000 + 0x5000 * 3, 76}));
}

TEST_F(TransferTest, DownloadWritesTheChosenTablesOfLayoutAxesOnly) {
  CAxisCfgDoc doc;
  doc.SetLayout(Layout({MakeGroupEntry(2, 0x21), MakeSingleAxisEntry(3)}));
  DownloadSelection params{1, 1, 600};
  ASSERT_EQ(DownloadData(link, progress, doc, params), 0);
  EXPECT_EQ(unit.frames, DownloadHead());
  EXPECT_EQ(progress.position, 9);
  EXPECT_EQ(progress.range, 9);

  unit.frames.clear();
  progress = CountingProgress();
  ASSERT_EQ(DownloadData(link, progress, doc, {2, 4, 80}), 0);
  Frames expected = DownloadHead();
  for (int axis : {0, 3, 5}) AddTableFrames(expected, axis, 3, 79);
  EXPECT_EQ(unit.frames, expected);
  EXPECT_EQ(progress.range, 9 + 77 * 8);
  EXPECT_EQ(progress.position, progress.range);
  for (const auto& [address, count] : unit.frames) EXPECT_TRUE(address != 0x572 && address != 0x576);
  // Group B's mask in the second layout word, axis 4 among the singles.
  EXPECT_EQ(unit.Get(0x162), 0x21);
  EXPECT_EQ(unit.Get(0x168), 0x08);
}

TEST_F(TransferTest, DownloadThenUploadAgreesOnTheLayoutAxes) {
  CAxisCfgDoc doc;
  doc.SetUnitFamily(kFamilySrlx);
  doc.SetLayout(Layout({MakeGroupEntry(1, 0x03), MakeSingleAxisEntry(4)}));
  SyncGroups sync{};
  sync[0].operation = 0;  // off, masks kept in the document
  sync[0].masterMask = 0x01;
  sync[0].slaveMask = 0x02;
  sync[1].operation = 3;
  sync[1].masterMask = 0x10;
  sync[1].slaveMask = 0x20;
  sync[1].difference = 77;
  doc.SetSyncGroups(sync);
  doc.GetParamBlock().SetUnitCode(4, 2);
  for (int k = 0; k < 600; k += 7) {
    CPosData& row = *doc.GetPosData(k);
    row.SetMoveAmount(0, -1073741823 + k);
    row.SetMoveAmount(1, k);
    row.SetAuxCode(4, 40000);
    row.SetTargetSpeed(4, 32767000);
    row.SetMoveAmount(6, 99);      // junk in an axis outside the layout
    row.SetTargetSpeed(1, 0);      // a second group member's own speed
  }
  ASSERT_EQ(DownloadData(link, progress, doc, {2, 1, 600}), 0);
  CSettingDataSet set;
  uint16_t model = 0;
  ASSERT_EQ(UploadData(link, progress, set, model), 0);
  std::vector<uint32_t> differences;
  std::vector<DifferenceItem> items{DifferenceItem{}};
  EXPECT_EQ(CompareWithUnit(doc, set, differences, &items), 0u);
  EXPECT_TRUE(differences.empty());
  // Neither the junk outside the layout nor the member's own speed is listed.
  for (const DifferenceItem& item : items) ADD_FAILURE() << DifferenceLine(item);
  // The document itself differs from what the unit holds.
  EXPECT_NE(CompareWithDocument(doc, set, differences), 0u);

  unit.Set(unitmap::Table(4, 300) + 8, 5);  // one acceleration time changed in the unit
  CSettingDataSet changed;
  ASSERT_EQ(UploadData(link, progress, changed, model), 0);
  differences.clear();
  EXPECT_EQ(CompareWithUnit(doc, changed, differences, &items), static_cast<uint32_t>(kDiffRows));
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(differences[0], RowDiffCode(4, 7, 300));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].part, DifferenceItem::Part::Table);
  EXPECT_EQ(items[0].tableNo, 301);
  EXPECT_NE(items[0].second, items[0].first);
}

TEST_F(TransferTest, HandshakeAnswers) {
  EXPECT_EQ(ConfirmDownload(link, 1000).answer, DownloadAnswer::Accepted);
  EXPECT_EQ(unit.Get(0x102), 0x2222);

  struct Case {
    int word;
    DownloadAnswer answer;
  };
  for (Case c : {Case{0xCCCC, DownloadAnswer::CannotOpen}, Case{0x1234, DownloadAnswer::SystemError}}) {
    unit.downloadAnswer = c.word;
    unit.downloadReads = 0;
    const DownloadConfirmation r = ConfirmDownload(link, 1000);
    EXPECT_EQ(r.answer, c.answer);
    EXPECT_EQ(r.word, c.word);
    EXPECT_EQ(unit.Get(0x102), 0);  // acknowledged
  }

  unit.downloadAnswer = -1;
  EXPECT_EQ(ConfirmDownload(link, 50).answer, DownloadAnswer::Timeout);
  EXPECT_EQ(unit.Get(0x102), 0x1111);

  unit.FailAt(0x102, -11060);
  DownloadConfirmation failed = ConfirmDownload(link, 1000);
  EXPECT_EQ(failed.answer, DownloadAnswer::LinkError);
  EXPECT_EQ(failed.linkCode, -11060);
}

TEST(DownloadTarget, FamilyAndAxesMustFitTheModel) {
  CAxisCfgDoc doc;
  doc.SetUnitFamily(kFamilyInterp);
  EXPECT_EQ(CheckDownloadTarget(doc, 5152), 21307u);
  EXPECT_EQ(CheckDownloadTarget(doc, 5155), 0u);
  doc.SetUnitFamily(kFamilySrlx);
  doc.SetLayout(Layout({MakeGroupEntry(1, 0x07), MakeSingleAxisEntry(3), MakeSingleAxisEntry(4)}));
  EXPECT_EQ(CheckDownloadTarget(doc, 5153), 21301u);
  EXPECT_EQ(CheckDownloadTarget(doc, 5154), 0u);
  doc.SetLayout(Layout({MakeSingleAxisEntry(0), MakeSingleAxisEntry(4)}));
  EXPECT_EQ(CheckDownloadTarget(doc, 5153), 21301u);
  EXPECT_NE(DownloadTargetText(21301, doc, 5153).find("currently connected"), std::string::npos);
}

TEST(TableRange, TextOfTheRangeBox) {
  uint32_t first = 0, last = 0;
  EXPECT_TRUE(ParseTableRange("4-80", first, last));
  EXPECT_EQ(first, 4u);
  EXPECT_EQ(last, 80u);
  EXPECT_TRUE(ParseTableRange(" 4 - 80 ", first, last));
  EXPECT_EQ(first, 4u);
  EXPECT_TRUE(ParseTableRange("80", first, last));
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(last, 80u);
  EXPECT_TRUE(ParseTableRange("600-600", first, last));
  for (const char* bad : {"0-5", "5-4", "1-601", "-5", "", "  ", "4-", "a-5", "4-80-90", "4 0"})
    EXPECT_FALSE(ParseTableRange(bad, first, last)) << bad;
}
