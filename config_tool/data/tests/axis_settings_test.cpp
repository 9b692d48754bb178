// The axis settings sequence without widgets: the used-axis choice, the
// group arrangement with its drop rules and OK checks, and the sequence on a
// document through scripted dialogs.
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_settings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/le_bytes.h"
#include "message_box_recorder.h"
#include "platform/message_box.h"
#include "test_home.h"

using namespace axcfg;

namespace {

CAxisLayout LayoutOf(std::initializer_list<uint32_t> entries) {
  CAxisLayout l;
  l.Clear();
  for (uint32_t e : entries) l.Append(e);
  return l;
}

CSyncGroupRecord Record(int master, int slave, uint16_t mode = 0, uint16_t difference = 100) {
  CSyncGroupRecord r;
  r.operation = 1;
  r.mode = mode;
  r.masterMask = static_cast<uint16_t>(1u << master);
  r.slaveMask = static_cast<uint16_t>(1u << slave);
  r.difference = difference;
  return r;
}

std::array<uint16_t, kAxisCount> Codes(uint16_t v = 0) {
  std::array<uint16_t, kAxisCount> a{};
  a.fill(v);
  return a;
}

const std::string kDroppedHead =
    "Axial setting was changed.\nThe following information will be initialized.\n\nAxis Information";

}  // namespace

TEST(UsedAxisChoice, NoAxisTickedIsRefusedInBothModes) {
  CUsedAxisChoice c(0x01, 0, LayoutOf({0x00010001}), SyncGroups{});
  c.SetTicked(0, false);
  DialogOkResult r = c.Ok();
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.message, "Choose any one as a used axis.");

  CUsedAxisChoice init = CUsedAxisChoice::ForInitialise(0x05, 0);
  r = init.Ok();
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.message, "Choose the one to initialize.");
  // Boxes outside the caller's mask stay disabled and count as unticked.
  EXPECT_FALSE(init.IsBoxEnabled(1));
  init.SetTicked(1, true);
  EXPECT_FALSE(init.Ok().accepted);
  init.SetTicked(2, true);
  r = init.Ok();
  EXPECT_TRUE(r.accepted);
  EXPECT_TRUE(r.message.empty());
  EXPECT_EQ(init.Mask(), 0x04);
  // The family cannot change in mode 1.
  init.SetFamily(1);
  EXPECT_EQ(init.Family(), 0u);
}

TEST(UsedAxisChoice, FamilySwitchEnablesAxesFiveToEight) {
  CUsedAxisChoice c(0x11, 0, LayoutOf({0x00010001, 0x00010010}), SyncGroups{});
  EXPECT_TRUE(c.IsBoxEnabled(7));
  c.SetFamily(1);
  EXPECT_FALSE(c.IsBoxEnabled(4));
  EXPECT_TRUE(c.IsBoxEnabled(3));
  c.SetFamily(0);
  ASSERT_TRUE(c.Ok().accepted);
  EXPECT_EQ(c.Mask(), 0x11);
}

TEST(UsedAxisChoice, FamilyOneDropsAxesWithGroupAndSyncResets) {
  SyncGroups sync{};
  sync[0] = Record(4, 0);  // master axis 5 is dropped
  sync[1] = Record(1, 2);  // untouched
  CAxisLayout layout = LayoutOf({MakeGroupEntry(2, 0x22), 0x00010001, 0x00010004, 0x00010010});
  CUsedAxisChoice c(0x37, 0, layout, sync);
  c.SetFamily(1);
  DialogOkResult r = c.Ok();
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.message, kDroppedHead + "\nInterpolation group\nSimultaneous group");
  EXPECT_EQ(c.Mask(), 0x07);
  EXPECT_EQ(c.Sync()[0], CSyncGroupRecord());
  EXPECT_EQ(c.Sync()[1], sync[1]);

  // Axes 5-8 of single entries only, no record involved: the bare message.
  CUsedAxisChoice single(0x81, 0, LayoutOf({0x00010001, 0x00010080}), sync);
  single.SetFamily(1);
  EXPECT_EQ(single.Ok().message, kDroppedHead);

  // A one-axis group entry counts as a single axis.
  CUsedAxisChoice oneAxis(0x11, 0, LayoutOf({0x00010001, 0x01010010}), SyncGroups{});
  oneAxis.SetFamily(1);
  EXPECT_EQ(oneAxis.Ok().message, kDroppedHead);
}

TEST(UsedAxisChoice, FamilyOneDocumentWithAxesFiveToEightStillWarns) {
  // A file may carry family 1 with axes 5-8; they leave on OK and say so.
  CUsedAxisChoice c(0x30, 1, LayoutOf({0x00010010, 0x00010020}), SyncGroups{});
  EXPECT_FALSE(c.IsTicked(0));
  c.SetTicked(0, true);
  DialogOkResult r = c.Ok();
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.message, kDroppedHead);
  EXPECT_EQ(c.Mask(), 0x01);

  // Family 1 without axes 5-8 and family 0 keeping them: no message.
  CUsedAxisChoice low(0x03, 1, LayoutOf({0x00010001, 0x00010002}), SyncGroups{});
  EXPECT_TRUE(low.Ok().message.empty());
  CUsedAxisChoice high(0x30, 0, LayoutOf({0x00010010, 0x00010020}), SyncGroups{});
  EXPECT_TRUE(high.Ok().message.empty());
}

TEST(GroupArrangement, FillKeepsGroupsAndReadsDamagedLayoutsLeniently) {
  CAxisLayout layout = LayoutOf({MakeGroupEntry(1, 0x06), 0x00010001, 0x00010008});
  CGroupArrangement a(0x0F, layout, SyncGroups{}, Codes(), Codes(), 0);
  EXPECT_EQ(a.Members(0), (std::vector<int>{1, 2}));
  EXPECT_EQ(a.Independent(), (std::vector<int>{0, 3}));
  // An axis not chosen leaves its group.
  CGroupArrangement fewer(0x0B, layout, SyncGroups{}, Codes(), Codes(), 0);
  EXPECT_EQ(fewer.Members(0), (std::vector<int>{1}));
  EXPECT_EQ(fewer.Layout().GetAxisEntry(0), 0x01010002u);
  EXPECT_TRUE(fewer.Layout().IsValid());

  // Overlapping masks, group number 5, a one-axis group entry, four axes in a group.
  CAxisLayout damaged;
  damaged.SetEntry(0, 0x0404000Fu);  // group D with four axes
  damaged.SetEntry(1, 0x02020003u);  // overlaps the first entry
  damaged.SetEntry(2, 0x05020030u);  // group number 5
  damaged.SetEntry(3, 0x01010040u);  // one-axis group entry
  damaged.SetRawEntryCount(4);
  CGroupArrangement d(0xFF, damaged, SyncGroups{}, Codes(), Codes(), 0);
  EXPECT_EQ(d.Members(3), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(d.Members(1).empty());
  EXPECT_EQ(d.Independent(), (std::vector<int>{3, 4, 5, 6, 7}));
  EXPECT_TRUE(d.Layout().IsValid());
}

TEST(GroupArrangement, DropRules) {
  CAxisLayout layout = LayoutOf({MakeGroupEntry(1, 0x07), MakeGroupEntry(2, 0x18), 0x00010020, 0x00010040});
  CGroupArrangement a(0x7F, layout, SyncGroups{}, Codes(), Codes(), 0);
  // A full group refuses.
  EXPECT_FALSE(a.CanMove(5, 0));
  EXPECT_FALSE(a.Move(5, 0));
  // Independent axis into a group: last member.
  EXPECT_TRUE(a.Move(5, 1));
  EXPECT_EQ(a.Members(1), (std::vector<int>{3, 4, 5}));
  // From one group to another: leaves, others keep their order.
  EXPECT_TRUE(a.Move(1, 2));
  EXPECT_EQ(a.Members(0), (std::vector<int>{0, 2}));
  EXPECT_EQ(a.Members(2), (std::vector<int>{1}));
  // Group to the independent area.
  EXPECT_TRUE(a.Move(3, kDropIndependent));
  EXPECT_EQ(a.Members(1), (std::vector<int>{4, 5}));
  EXPECT_EQ(a.GroupOf(3), kDropIndependent);
  // Nothing changes: own group, independent onto independent, outside, unused axis.
  EXPECT_FALSE(a.Move(4, 1));
  EXPECT_FALSE(a.Move(6, kDropIndependent));
  EXPECT_FALSE(a.Move(0, kDropNowhere));
  EXPECT_FALSE(a.Move(7, 3));
  EXPECT_EQ(a.Members(1), (std::vector<int>{4, 5}));

  CAxisLayout out = a.Layout();
  EXPECT_EQ(out.GetAxisEntryCount(), 5);
  EXPECT_EQ(out.GetAxisEntry(0), MakeGroupEntry(1, 0x05));
  EXPECT_EQ(out.GetAxisEntry(1), MakeGroupEntry(2, 0x30));
  EXPECT_EQ(out.GetAxisEntry(2), MakeGroupEntry(3, 0x02));
  EXPECT_EQ(out.GetAxisEntry(3), 0x00010008u);
  EXPECT_EQ(out.GetAxisEntry(4), 0x00010040u);
}

TEST(GroupArrangement, RandomMovesKeepEveryAxisOnceAndLayoutsValid) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    uint16_t used = static_cast<uint16_t>(rng() % 255 + 1);
    CGroupArrangement a(used, LayoutOf({0x00010001}), SyncGroups{}, Codes(), Codes(), 0);
    for (int m = 0; m < 30; ++m) a.Move(static_cast<int>(rng() % 8), static_cast<int>(rng() % 6) - 2);
    uint16_t seen = 0;
    for (int g = 0; g < kGroupCount; ++g) {
      EXPECT_LE(a.Members(g).size(), 3u);
      for (int axis : a.Members(g)) {
        EXPECT_FALSE(seen & (1u << axis));
        seen |= static_cast<uint16_t>(1u << axis);
      }
    }
    for (int axis : a.Independent()) seen |= static_cast<uint16_t>(1u << axis);
    EXPECT_EQ(seen, used);
    ASSERT_TRUE(a.Ok().accepted);
    CAxisLayout l = a.Layout();
    EXPECT_TRUE(l.IsValid());
    EXPECT_EQ(l.GetUsedAxisMask(), used);
  }
}

TEST(GroupArrangement, InitializeEmptiesGroupsAndResetsRecords) {
  SyncGroups sync{Record(0, 1), Record(2, 3)};
  CGroupArrangement a(0x0F, LayoutOf({MakeGroupEntry(1, 0x03), 0x00010004, 0x00010008}), sync, Codes(), Codes(), 0);
  a.Initialize();
  EXPECT_TRUE(a.Members(0).empty());
  EXPECT_EQ(a.Independent().size(), 4u);
  ASSERT_TRUE(a.Ok().accepted);
  EXPECT_EQ(a.Sync()[0], CSyncGroupRecord());
  EXPECT_EQ(a.Sync()[1], CSyncGroupRecord());
}

TEST(GroupArrangement, OkChecksInOrder) {
  auto ok = [](SyncGroups sync, uint16_t used = 0x0F, CAxisLayout layout = LayoutOf({0x00010001})) {
    CGroupArrangement a(used, layout, sync, Codes(), Codes(), 0);
    return a.Ok();
  };
  EXPECT_EQ(ok({Record(0, 5), CSyncGroupRecord()}).id, 21512u);
  // The axis check of group 2 comes before the master = slave check of group 1.
  EXPECT_EQ(ok({Record(1, 1), Record(0, 6)}).id, 21512u);
  DialogOkResult r = ok({Record(0, 1), Record(2, 2)});
  EXPECT_EQ(r.message, "The setting for the synchronous group \"2\" is incorrect.");
  // Both groups valid on their own, master 1 = slave 2.
  EXPECT_EQ(ok({Record(0, 1), Record(2, 0)}).id, 21514u);
  // A slave in group C; a master there is fine.
  CAxisLayout withC = LayoutOf({MakeGroupEntry(3, 0x06), 0x00010001, 0x00010008});
  r = ok({Record(0, 3), Record(1, 2)}, 0x0F, withC);
  EXPECT_EQ(r.message, "The setting for the slave axis of the synchronous group\"2\" is incorrect.");
  EXPECT_TRUE(ok({Record(1, 0), CSyncGroupRecord()}, 0x0F, withC).accepted);
  EXPECT_EQ(ok({Record(0, 1, 0, 0), CSyncGroupRecord()}).id, 21511u);
  EXPECT_EQ(ok({Record(0, 1, 0, 40000), CSyncGroupRecord()}).id, 21511u);
  // A group that is off is not checked.
  CSyncGroupRecord off = Record(0, 0, 0, 0);
  off.operation = 0;
  EXPECT_TRUE(ok({off, off}).accepted);
}

TEST(GroupArrangement, DifferenceTextIsParsedWhole) {
  auto withText = [](bool on, const std::string& text) {
    CGroupArrangement a(0x03, LayoutOf({0x00010001, 0x00010002}), SyncGroups{}, Codes(), Codes(), 0);
    a.Edit(0, SyncBlockEdit{on, std::nullopt, 0, 1, text, std::nullopt});
    return a;
  };
  // 70000 would wrap to 4464 in the 16-bit field.
  for (const char* bad : {"70000", "", "12a", "0", "40000"}) {
    CGroupArrangement a = withText(true, bad);
    EXPECT_EQ(a.Ok().id, 21511u) << bad;
  }
  CGroupArrangement good = withText(true, "32767");
  ASSERT_TRUE(good.Ok().accepted);
  EXPECT_EQ(good.Sync()[0].difference, 32767);
  // A group that is off keeps its value unless the text is a number 0-65535.
  CGroupArrangement offBad = withText(false, "abc");
  ASSERT_TRUE(offBad.Ok().accepted);
  EXPECT_EQ(offBad.Sync()[0].difference, CSyncGroupRecord::kResetDifference);
  CGroupArrangement offNumber = withText(false, "0");
  ASSERT_TRUE(offNumber.Ok().accepted);
  EXPECT_EQ(offNumber.Sync()[0].difference, 0);
}

TEST(GroupArrangement, UntouchedSwitchedOffRecordsComeBackAsStored) {
  SyncGroups sync{};  // masks 0: the combos show axis 1
  sync[1].difference = 7;
  CGroupArrangement a(0x03, LayoutOf({0x00010001, 0x00010002}), sync, Codes(), Codes(), 0);
  ASSERT_TRUE(a.Ok().accepted);
  EXPECT_EQ(a.Sync(), sync);
  // Switched on without touching the combos: what they show is stored.
  CGroupArrangement on(0x03, LayoutOf({0x00010001, 0x00010002}), sync, Codes(), Codes(), 0);
  on.Edit(0, SyncBlockEdit{true, std::nullopt, std::nullopt, 1, std::nullopt, std::nullopt});
  ASSERT_TRUE(on.Ok().accepted);
  EXPECT_EQ(on.Sync()[0].masterMask, 0x01);
  EXPECT_EQ(on.Sync()[0].slaveMask, 0x02);
}

TEST(GroupArrangement, ModeBCorrectsMasterHomeCodesInBothFamilies) {
  const uint16_t expected[9] = {1, 1, 1, 4, 4, 8, 6, 6, 8};
  for (uint32_t family : {0u, 1u}) {
    for (uint16_t code = 0; code < 9; ++code) {
      CGroupArrangement a(0x03, LayoutOf({0x00010001, 0x00010002}), SyncGroups{Record(0, 1, 1), CSyncGroupRecord()},
                          Codes(code), Codes(), family);
      DialogOkResult r = a.Ok();
      ASSERT_TRUE(r.accepted);
      EXPECT_EQ(a.HomeCodes()[0], expected[code]) << family << " " << code;
      EXPECT_EQ(a.HomeCodes()[1], code);  // the slave keeps its method
      EXPECT_EQ(r.message.empty(), expected[code] == code);
    }
  }
  const std::string head =
      "The home return method for the synchronous group is incorrect. \nThe method has been changed as below.\n";
  CGroupArrangement s(0x03, LayoutOf({0x00010001, 0x00010002}), SyncGroups{Record(0, 1, 1), CSyncGroupRecord()},
                      Codes(5), Codes(), 0);
  EXPECT_EQ(s.Ok().message, head + "\nSynchronous group1   5:Phase Z method -> 8:Data set   ");
  CGroupArrangement i(0x03, LayoutOf({0x00010001, 0x00010002}), SyncGroups{Record(0, 1, 1), CSyncGroupRecord()},
                      Codes(5), Codes(), 1);
  EXPECT_EQ(i.Ok().message, head + "\nSynchronous group1   5:Home metod -> 8:Data set   ");
}

// --- The sequence on a document ---

namespace {

class ScriptedDialogs : public IAxisDialogs {
 public:
  std::deque<std::function<bool(CUsedAxisChoice&)>> used;
  std::deque<std::function<bool(CGroupArrangement&)>> groups;
  std::vector<std::string> shown;
  bool RunUsedAxis(CUsedAxisChoice& c) override {
    if (used.empty()) return false;
    auto f = used.front();
    used.pop_front();
    if (!f(c)) return false;
    DialogOkResult r = c.Ok();
    if (!r.message.empty()) shown.push_back(r.message);
    return r.accepted;
  }
  bool RunGroups(CGroupArrangement& a) override {
    if (groups.empty()) return false;
    auto f = groups.front();
    groups.pop_front();
    if (!f(a)) return false;
    DialogOkResult r = a.Ok();
    if (!r.message.empty()) shown.push_back(r.message);
    return r.accepted;
  }
  void ShowInformation(const std::string& text) override { shown.push_back(text); }
};

uint16_t HomeCode(const CAxisCfgDoc& doc, int axis) { return GetLe16(doc.GetParamBlock().RecordBytes(axis) + 64); }
void SetCode(CAxisCfgDoc& doc, int axis, size_t offset, uint16_t v) {
  ParamRecord r;
  std::copy_n(doc.GetParamBlock().RecordBytes(axis), kParamRecordBytes, r.begin());
  PutLe16(r.data() + offset, v);
  doc.GetParamBlock().SetRecordBytes(axis, r.data(), r.size());
}

auto Tick(uint16_t mask, uint32_t family = 0) {
  return [mask, family](CUsedAxisChoice& c) {
    c.SetFamily(family);
    for (int a = 0; a < kAxisCount; ++a) c.SetTicked(a, (mask >> a) & 1u);
    return true;
  };
}
auto Accept() {
  return [](CGroupArrangement&) { return true; };
}
auto Cancel() {
  return [](auto&) { return false; };
}

}  // namespace

TEST(AxisSettingsSequence, GroupCancelReturnsToUsedAxisDialogWithItsState) {
  CAxisCfgDoc doc;
  ScriptedDialogs d;
  std::vector<uint16_t> seen;
  d.used = {Tick(0x0F), [&](CUsedAxisChoice& c) {
              seen.push_back(c.Mask());
              return true;
            }};
  d.groups = {Cancel(), [](CGroupArrangement& a) {
                a.Move(1, 0);
                a.Move(2, 0);
                return true;
              }};
  CAxisLayout layout = doc.GetLayout();
  EXPECT_EQ(RunAxisSettingsSequence(doc, layout, d), 3);
  EXPECT_EQ(seen, std::vector<uint16_t>{0x0F});
  EXPECT_EQ(layout.GetAxisEntry(0), MakeGroupEntry(1, 0x06));
  EXPECT_EQ(layout.GetAxisEntry(1), 0x00010001u);
  EXPECT_EQ(layout.GetAxisEntry(2), 0x00010008u);
}

TEST(AxisSettingsSequence, CorrectedCodesAndNotice21521OnUsedAxesOnly) {
  CAxisCfgDoc doc;
  SetCode(doc, 0, 64, 5);
  SetCode(doc, 5, 112, 3);  // pulser code 3 on an unused axis: not looked at
  ScriptedDialogs d;
  d.used = {Tick(0x03)};
  d.groups = {[](CGroupArrangement& a) {
    a.Edit(0, SyncBlockEdit{true, uint16_t{1}, 0, 1, std::string("100"), uint16_t{0}});
    return true;
  }};
  CAxisLayout layout = doc.GetLayout();
  ASSERT_EQ(RunAxisSettingsSequence(doc, layout, d), 2);
  EXPECT_EQ(HomeCode(doc, 0), 8);
  EXPECT_EQ(doc.GetSyncGroups()[0].operation, 1u);
  ASSERT_EQ(d.shown.size(), 1u);

  // Family 1 with a stop-on-contact method on a used axis.
  CAxisCfgDoc doc1;
  SetCode(doc1, 1, 64, 6);
  ScriptedDialogs d1;
  d1.used = {Tick(0x03, 1)};
  d1.groups = {Accept()};
  CAxisLayout l1 = doc1.GetLayout();
  ASSERT_EQ(RunAxisSettingsSequence(doc1, l1, d1), 2);
  EXPECT_EQ(doc1.GetUnitFamily(), 1u);
  ASSERT_EQ(d1.shown.size(), 1u);
  EXPECT_EQ(d1.shown[0], "A parameter has been deleted as it cannot be set up. \nPlease check the parameters.");
}

TEST(AxisSettingsSequence, ChangeAxesRestoresCorrectedCodesWhenCancelled) {
  keldtest::MessageBoxRecorder boxes;
  CAxisCfgDoc doc;
  SetCode(doc, 0, 64, 5);
  doc.SetModifiedFlag(false);
  ScriptedDialogs d;
  CAxisSettingsSequenceCore seq(d);
  doc.SetAxisSettingsSequence(&seq);
  // Two axes with a Mode B group, then No to 20500, then cancel.
  d.used = {Tick(0x03), Cancel()};
  d.groups = {[](CGroupArrangement& a) {
    a.Edit(0, SyncBlockEdit{true, uint16_t{1}, 0, 1, std::string("100"), uint16_t{0}});
    return true;
  }};
  boxes.answers = {platform::IDNO};
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Cancelled);
  EXPECT_EQ(HomeCode(doc, 0), 5);
  EXPECT_EQ(doc.GetSyncGroups()[0], CSyncGroupRecord());
  EXPECT_FALSE(doc.IsModified());
}

TEST(AxisSettingsSequence, NoOpChangeLeavesDocumentUnmodified) {
  keldtest::MessageBoxRecorder boxes;
  CAxisCfgDoc doc;
  CAxisLayout l = LayoutOf({MakeGroupEntry(1, 0x03), 0x00010004});
  doc.SetLayout(l);
  doc.SetModifiedFlag(false);
  ScriptedDialogs d;
  CAxisSettingsSequenceCore seq(d);
  doc.SetAxisSettingsSequence(&seq);
  d.used = {[](CUsedAxisChoice&) { return true; }};
  d.groups = {Accept()};
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Unchanged);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(doc.GetSyncGroups(), SyncGroups{});
}

namespace {
std::string SavedBytes(CAxisCfgDoc& doc, const std::string& path) {
  EXPECT_TRUE(SaveDocumentFile(doc, path).Succeeded());
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

TEST(AxisSettingsSequence, CancelledNewDocumentSavesByteForByteAsBefore) {
  // An edited family-0 document with a group, a synchronous group, a
  // parameter and table data; New with the option on, family 1 chosen,
  // the group dialog cancelled, then the used-axis dialog cancelled.
  CAxisCfgDoc doc;
  doc.SetLayout(LayoutOf({MakeGroupEntry(2, 0x06), 0x00010001}));
  SetCode(doc, 1, 64, 5);
  doc.GetSyncGroups()[0] = Record(1, 2, 1);
  doc.GetPosData(3)->SetComment(1, "kept");
  doc.GetPosData(599)->SetMoveAmount(2, -77);
  doc.SetCreator("tester");
  doc.SetModifiedFlag(true);
  const std::string dir = keldtest::FreshDir("newcancel");
  const std::string before = SavedBytes(doc, dir + "/before.axc");
  doc.SetModifiedFlag(true);

  ScriptedDialogs d;
  CAxisSettingsSequenceCore seq(d);
  doc.SetAxisSettingsSequence(&seq);
  doc.SetAskAxesForNewFile(true);
  d.used = {Tick(0x01, 1), Cancel()};
  d.groups = {[](CGroupArrangement& a) {
    a.Initialize();
    return false;
  }};
  EXPECT_FALSE(doc.OnNewDocument());
  EXPECT_TRUE(d.used.empty()) << "the used-axis dialog opened again after the group dialog's cancel";
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  EXPECT_EQ(doc.GetParamBlock().GetRowCount(), 44);
  EXPECT_EQ(SavedBytes(doc, dir + "/after.axc"), before);

  // Answered, the same document becomes the chosen one with default rows.
  d.used = {Tick(0x03, 1)};
  d.groups = {Accept()};
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(doc.GetUnitFamily(), 1u);
  EXPECT_EQ(doc.GetLayout(), LayoutOf({0x00010001, 0x00010002}));
  EXPECT_EQ(doc.GetPosData(3)->GetComment(1), "");
  EXPECT_EQ(doc.GetSyncGroups(), SyncGroups{});
  EXPECT_FALSE(doc.IsModified());
}
