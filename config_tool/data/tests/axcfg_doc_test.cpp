// The document: new-document values, the new-document step and the change of
// axes with a scripted axis settings sequence, file properties, views,
// model codes and the string table.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/unit_types.h"
#include "message_box_recorder.h"
#include "platform/strings.h"

using namespace axcfg;

namespace {

// Plays the user's part in the axis dialogs: each run takes the next step.
class ScriptedSequence : public IAxisSettingsSequence {
 public:
  using Step = std::function<int(CAxisCfgDoc&, bool, CAxisLayout&)>;
  int Run(CAxisCfgDoc& doc, bool newDocument, CAxisLayout& layout) override {
    ++runs;
    lastNewDocument = newDocument;
    if (steps.empty()) return 0;
    Step step = steps.front();
    steps.pop_front();
    return step(doc, newDocument, layout);
  }
  std::deque<Step> steps;
  int runs = 0;
  bool lastNewDocument = false;
};

ScriptedSequence::Step Choose(std::initializer_list<uint32_t> entries, uint32_t family = 0) {
  std::vector<uint32_t> list(entries);
  return [list, family](CAxisCfgDoc& doc, bool, CAxisLayout& layout) {
    doc.SetUnitFamily(family);
    layout.Clear();
    for (uint32_t e : list) layout.Append(e);
    return static_cast<int>(list.size());
  };
}

ScriptedSequence::Step Cancel() {
  return [](CAxisCfgDoc& doc, bool, CAxisLayout&) {
    // The dialogs may have changed these before the user cancelled.
    doc.SetUnitFamily(1);
    doc.GetSyncGroups()[0].operation = 1;
    return 0;
  };
}

class RecordingView : public CView {
 public:
  void OnUpdate(CView* sender, long hint, void*) override { updates.push_back({sender, hint}); }
  std::vector<std::pair<CView*, long>> updates;
};

// Marks every element of an axis in every row, to see which axes a change resets.
void MarkAxis(CAxisCfgDoc& doc, int axis) {
  for (int k = 0; k < doc.GetRowCount(); ++k) doc.GetPosData(k)->SetMoveAmount(axis, 1000 + axis);
}

bool AxisMarked(const CAxisCfgDoc& doc, int axis) {
  for (int k = 0; k < kTableRowCount; ++k)
    if (doc.GetPosData(k)->GetMoveAmount(axis) != 1000 + axis) return false;
  return true;
}

bool AxisReset(const CAxisCfgDoc& doc, int axis) {
  for (int k = 0; k < kTableRowCount; ++k)
    if (!(doc.GetPosData(k)->Element(axis) == PosElement())) return false;
  return true;
}

}  // namespace

TEST(AxisCfgDoc, NewDocumentValues) {
  CAxisCfgDoc doc;
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  EXPECT_EQ(doc.GetAxisEntryCount(), 1);
  EXPECT_EQ(doc.GetAxisEntry(0), 0x00010001u);
  EXPECT_EQ(doc.GetTotalAxisCount(), 1);
  EXPECT_TRUE(doc.IsAxisUsed(0));
  EXPECT_FALSE(doc.IsAxisUsed(1));
  ASSERT_EQ(doc.GetRowCount(), 600);
  for (int k = 0; k < 600; ++k) ASSERT_EQ(*doc.GetPosData(k), CPosData()) << k;
  EXPECT_EQ(doc.GetPosData(600), nullptr);
  EXPECT_EQ(doc.GetPosData(-1), nullptr);
  EXPECT_EQ(doc.GetParamBlock(), CParamBlock());
  EXPECT_EQ(doc.GetDownloadSelection(), (DownloadSelection{2, 1, 600}));
  for (const CSyncGroupRecord& g : doc.GetSyncGroups()) {
    EXPECT_EQ(g, CSyncGroupRecord());
    EXPECT_EQ(g.difference, 10000);
  }
  EXPECT_EQ(doc.GetCreator(), "");
  EXPECT_EQ(doc.GetComment(), "");
  EXPECT_EQ(doc.GetLoadError(), 0u);
  EXPECT_TRUE(doc.ExtraData().empty());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.BuildRowText(doc.GetAxisEntry(0), 599), "E\tI\t0\tL\t100\t100\t1000\t0\t0\t\r\n");
  EXPECT_EQ(doc.BuildRowText(doc.GetAxisEntry(0), 600), "");
}

TEST(AxisCfgDoc, ResetDocumentEmptiesTheRowsAndKeepsTheLink) {
  CAxisCfgDoc doc;
  doc.SetUnitFamily(1);
  doc.GetParamBlock().SetParam(46, 2, 5);
  doc.SetLinkObject(std::make_unique<CDocLinkObject>());
  doc.ExtraData().push_back(7);
  doc.ResetDocument();
  EXPECT_EQ(doc.GetRowCount(), 0);
  EXPECT_EQ(doc.GetPosData(0), nullptr);
  EXPECT_EQ(doc.BuildRowText(0x00010001, 0), "");
  EXPECT_FALSE(doc.ParseRowText(0x00010001, 0, "E\tI\t0\tL\t1\t1\t1\t1\t1\t"));
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  EXPECT_EQ(doc.GetParamBlock().GetParam(46, 2), 100u);
  EXPECT_TRUE(doc.ExtraData().empty());
  EXPECT_NE(doc.GetLinkObject(), nullptr);
}

TEST(AxisCfgDoc, NewDocumentAsksForTheAxesWhenTheOptionIsOn) {
  CAxisCfgDoc doc;
  RecordingView view;
  doc.AddView(&view);
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);
  doc.SetAskAxesForNewFile(true);
  seq.steps.push_back(Choose({MakeGroupEntry(1, 0x03), MakeSingleAxisEntry(3)}, 1));
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_TRUE(seq.lastNewDocument);
  EXPECT_EQ(doc.GetAxisEntryCount(), 2);
  EXPECT_EQ(doc.GetUnitFamily(), 1u);
  EXPECT_EQ(doc.GetParamBlock().GetRowCount(), 52);
  EXPECT_EQ(doc.GetRowCount(), 600);
  ASSERT_EQ(view.updates.size(), 1u);
  EXPECT_EQ(view.updates[0].second, kHintRebuildAll);
  EXPECT_FALSE(doc.IsModified());

  // Without the option no dialog runs and no refresh is sent.
  doc.SetAskAxesForNewFile(false);
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(seq.runs, 1);
  EXPECT_EQ(view.updates.size(), 1u);
  EXPECT_EQ(doc.GetAxisEntryCount(), 1);
}

TEST(AxisCfgDoc, CancelledNewDocumentLeavesTheDocumentAsItWas) {
  CAxisCfgDoc doc;
  doc.SetUnitFamily(1);
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(2, 0x06));
  doc.SetLayout(layout);
  doc.GetParamBlock().SetParam(46, 1, 1234);
  doc.GetPosData(10)->SetComment(1, "keep me");
  doc.SetCreator("me");
  doc.GetSyncGroups()[1].difference = 5;
  doc.SetModifiedFlag(true);

  ScriptedSequence seq;
  seq.steps.push_back(Cancel());
  doc.SetAxisSettingsSequence(&seq);
  doc.SetAskAxesForNewFile(true);
  EXPECT_FALSE(doc.OnNewDocument());
  EXPECT_EQ(doc.GetUnitFamily(), 1u);
  EXPECT_EQ(doc.GetLayout(), layout);
  EXPECT_EQ(doc.GetParamBlock().GetParam(46, 1), 1234u);
  ASSERT_EQ(doc.GetRowCount(), 600);
  EXPECT_EQ(doc.GetPosData(10)->GetComment(1), "keep me");
  EXPECT_EQ(doc.GetCreator(), "me");
  EXPECT_EQ(doc.GetSyncGroups()[0], CSyncGroupRecord());
  EXPECT_EQ(doc.GetSyncGroups()[1].difference, 5);
  EXPECT_TRUE(doc.IsModified());
}

TEST(ChangeAxes, SameEntriesInitialiseNothingAndDoNotAsk) {
  keldtest::MessageBoxRecorder boxes;
  CAxisCfgDoc doc;
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));
  layout.Append(MakeSingleAxisEntry(2));
  doc.SetLayout(layout);
  MarkAxis(doc, 0);
  MarkAxis(doc, 2);
  RecordingView view;
  doc.AddView(&view);
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);

  seq.steps.push_back(Choose({MakeSingleAxisEntry(2), MakeGroupEntry(1, 0x03)}));  // same entries, new order
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Unchanged);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(AxisMarked(doc, 0));
  EXPECT_TRUE(AxisMarked(doc, 2));
  EXPECT_EQ(doc.GetAxisEntry(0), MakeSingleAxisEntry(2));

  // Dropping an entry changes nothing in the tables either, but the views
  // rebuild and the document needs saving.
  doc.SetModifiedFlag(false);
  view.updates.clear();
  seq.steps.push_back(Choose({MakeGroupEntry(1, 0x03)}));
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Unchanged);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(AxisMarked(doc, 2));
  EXPECT_EQ(doc.GetAxisEntryCount(), 1);
  EXPECT_EQ(view.updates.size(), 1u);
  EXPECT_TRUE(doc.IsModified());
}

TEST(ChangeAxes, CancelRestoresLayoutFamilyAndSyncGroups) {
  CAxisCfgDoc doc;
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);
  seq.steps.push_back(Cancel());
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Cancelled);
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  EXPECT_EQ(doc.GetParamBlock().GetFamily(), 0u);
  EXPECT_EQ(doc.GetSyncGroups()[0], CSyncGroupRecord());
  EXPECT_EQ(doc.GetLayout(), CAxisLayout());
  EXPECT_FALSE(doc.IsModified());
}

TEST(ChangeAxes, CancelAfterAnsweringNoRestoresTheParametersTheDialogsChanged) {
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDNO};
  CAxisCfgDoc doc;
  const CParamBlock before = doc.GetParamBlock();
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);
  bool changed = false;
  // The first round changes a home return code and the family, the user
  // answers No to initialising the tables, and cancels the second round.
  seq.steps.push_back([&](CAxisCfgDoc& d, bool, CAxisLayout& layout) {
    changed = d.GetParamBlock().SetParam(kParamHomeCode, 0, 2) && !(d.GetParamBlock() == before);
    d.SetUnitFamily(1);
    layout.Clear();
    layout.Append(MakeSingleAxisEntry(3));
    return 1;
  });
  seq.steps.push_back(Cancel());
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Cancelled);
  ASSERT_TRUE(changed);
  EXPECT_EQ(seq.runs, 2);
  EXPECT_EQ(doc.GetParamBlock(), before);
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  EXPECT_EQ(doc.GetLayout(), CAxisLayout());
  EXPECT_FALSE(doc.IsModified());
}

TEST(ChangeAxes, GroupMembershipChangeResetsEveryAxisOfTheChangedEntries) {
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDYES};
  CAxisCfgDoc doc;
  CAxisLayout layout;
  layout.Clear();
  layout.Append(MakeGroupEntry(1, 0x03));   // A = axes 1, 2
  layout.Append(MakeSingleAxisEntry(2));    // axis 3
  layout.Append(MakeSingleAxisEntry(5));    // axis 6
  doc.SetLayout(layout);
  for (int a = 0; a < 8; ++a) MarkAxis(doc, a);
  RecordingView view;
  doc.AddView(&view);
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);
  // Axis 3 joins group A; axis 6 stays as it was.
  seq.steps.push_back(Choose({MakeGroupEntry(1, 0x07), MakeSingleAxisEntry(5)}));
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Changed);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, AxisCfgText(20500));
  EXPECT_EQ(boxes.boxes[0].caption, "Axis Configurator");
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_TYPEMASK, platform::MB_YESNO);
  for (int a : {0, 1, 2}) EXPECT_TRUE(AxisReset(doc, a)) << a;
  for (int a : {3, 4, 5, 6, 7}) EXPECT_TRUE(AxisMarked(doc, a)) << a;
  EXPECT_EQ(doc.GetAxisEntryCount(), 2);
  EXPECT_TRUE(doc.IsModified());
  ASSERT_EQ(view.updates.size(), 1u);
  EXPECT_EQ(view.updates[0].second, kHintRebuildAll);
}

TEST(ChangeAxes, AnsweringNoOpensTheDialogAgain) {
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDNO};
  CAxisCfgDoc doc;
  MarkAxis(doc, 0);
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);
  CAxisLayout shownSecondTime;
  seq.steps.push_back(Choose({MakeSingleAxisEntry(1)}));
  seq.steps.push_back([&](CAxisCfgDoc&, bool, CAxisLayout& l) {
    shownSecondTime = l;
    l.Clear();
    l.Append(MakeSingleAxisEntry(0));
    return 1;
  });
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Unchanged);
  EXPECT_EQ(seq.runs, 2);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(shownSecondTime.GetAxisEntry(0), MakeSingleAxisEntry(1));  // the user's last choice
  EXPECT_TRUE(AxisMarked(doc, 0));
}

TEST(ChangeAxes, MissingRowFailsWithoutTouchingAnyRow) {
  keldtest::MessageBoxRecorder boxes;
  boxes.answers = {platform::IDYES};
  CAxisCfgDoc doc;
  MarkAxis(doc, 1);
  doc.Rows().pop_back();  // table No. 600 is missing
  ScriptedSequence seq;
  doc.SetAxisSettingsSequence(&seq);
  seq.steps.push_back(Choose({MakeSingleAxisEntry(1)}, 1));
  EXPECT_EQ(doc.ChangeAxes(), ChangeAxesResult::Failed);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Failed in changing the axis.");
  EXPECT_EQ(doc.GetLayout(), CAxisLayout());
  EXPECT_EQ(doc.GetUnitFamily(), 0u);
  for (int k = 0; k < 599; ++k) ASSERT_EQ(doc.GetPosData(k)->GetMoveAmount(1), 1001) << k;
  EXPECT_FALSE(doc.IsModified());
}

TEST(FileProperties, LimitsCountCodePage932Bytes) {
  CAxisCfgDoc doc;
  EXPECT_TRUE(doc.SetCreator("0123456789"));
  EXPECT_FALSE(doc.SetCreator("01234567890"));
  EXPECT_EQ(doc.GetCreator(), "0123456789");
  EXPECT_EQ(doc.GetCreatorField()[10], 0);
  EXPECT_TRUE(doc.SetComment(std::string(40, 'c')));
  EXPECT_FALSE(doc.SetComment(std::string(41, 'c')));
  EXPECT_EQ(doc.GetComment(), std::string(40, 'c'));
  // Five Japanese characters are ten bytes in code page 932.
  const std::string fiveKana = "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A";
  EXPECT_TRUE(doc.SetCreator(fiveKana));
  EXPECT_EQ(doc.GetCreator(), fiveKana);
  EXPECT_EQ(doc.GetCreatorField()[0], 0x82);
  EXPECT_EQ(doc.GetCreatorField()[1], 0xA0);
  EXPECT_FALSE(doc.SetCreator(fiveKana + "x"));
  EXPECT_EQ(doc.GetCreator(), fiveKana);

  // A raw field from a file: the creator keeps its terminator.
  uint8_t raw[11];
  std::fill(std::begin(raw), std::end(raw), 'z');
  doc.SetCreatorField(raw, sizeof raw);
  EXPECT_EQ(doc.GetCreator(), "zzzzzzzzzz");
}

TEST(FileProperties, OkMarksModifiedOnlyWhenSomethingChanged) {
  CAxisCfgDoc doc;
  ASSERT_TRUE(doc.ApplyFileProperties("", ""));
  EXPECT_FALSE(doc.IsModified());
  ASSERT_TRUE(doc.ApplyFileProperties("eng", "line 4"));
  EXPECT_TRUE(doc.IsModified());
  doc.SetModifiedFlag(false);
  ASSERT_TRUE(doc.ApplyFileProperties("eng", "line 4"));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_FALSE(doc.ApplyFileProperties("eng", std::string(41, 'x')));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetComment(), "line 4");
  EXPECT_EQ(doc.GetPropertyFileName(), "");
  doc.SetTitle("Untitled");
  EXPECT_EQ(doc.GetPropertyFileName(), "Untitled");
  doc.SetPathName("/data/press/line4.axc");
  EXPECT_EQ(doc.GetTitle(), "line4.axc");
  EXPECT_EQ(doc.GetPropertyFileName(), "/data/press/line4.axc");
}

TEST(DocumentViews, UpdatesSkipTheSenderAndViewsDetachSafely) {
  auto doc = std::make_unique<CAxisCfgDoc>();
  RecordingView a, b;
  doc->AddView(&a);
  doc->AddView(&b);
  doc->AddView(&b);
  EXPECT_EQ(doc->GetViews().size(), 2u);
  doc->UpdateAllViews(&a, 5);
  EXPECT_TRUE(a.updates.empty());
  ASSERT_EQ(b.updates.size(), 1u);
  EXPECT_EQ(b.updates[0].first, &a);
  EXPECT_EQ(b.updates[0].second, 5);
  {
    RecordingView shortLived;
    doc->AddView(&shortLived);
  }
  EXPECT_EQ(doc->GetViews().size(), 2u);
  doc.reset();
  EXPECT_EQ(a.GetDocument(), nullptr);
}

TEST(UnitModels, CodesNamesAxesAndFamilies) {
  EXPECT_EQ(GetModelAxisCount(5154), 8);
  EXPECT_EQ(GetModelName(5152), "QX2 Positioning unit SRLX 2-axis type (KMU517210)");
  EXPECT_EQ(GetModelAxisCount(5155), 2);
  EXPECT_EQ(GetModelName(5155), "QX2 Positioning unit (Interpolation type) 2-axis transister output type (KMU517310)");
  EXPECT_EQ(GetModelName(13314), "QX-Sigma Positioning unit SRLX 8-axis type (KMUS17230)");
  EXPECT_EQ(GetModelFamily(5155), kFamilyInterp);
  EXPECT_EQ(GetModelFamily(5158), kFamilyInterp);
  EXPECT_EQ(GetModelFamily(5154), kFamilySrlx);
  EXPECT_EQ(GetModelFamily(13313), kFamilySrlx);
  EXPECT_EQ(GetModelAxisCount(5159), 0);
  EXPECT_EQ(GetModelName(5159), "");
  EXPECT_FALSE(IsKnownModel(0));
  EXPECT_EQ(GetFamilyName(0), "Positioning unit SRLX");
  EXPECT_EQ(GetFamilyName(1), "Positioning unit (Interpolation type)");
  EXPECT_EQ(GetFamilyName(2), "");
}

TEST(StringTable, RegistrationMergesWithOtherPartsAndRepeatsHarmlessly) {
  const platform::StringEntry other[] = {{99001, "another part's text"}};
  platform::Strings::RegisterBuiltin(kStringModule, other, 1);
  RegisterAxisCfgDataStrings();
  RegisterAxisCfgDataStrings();
  EXPECT_EQ(AxisCfgText(99001), "another part's text");
  EXPECT_EQ(AxisCfgText(10001), "%d axis");
  EXPECT_EQ(AxisCfgText(20500),
            "Change the axis. Is it OK?\r\n(The all data of which attribute was changed will be initialized.)");
}
