// The undo and redo history of the document: row steps and whole-document
// steps in one list.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/edit_history.h"
#include "axcfg_data/setting_file.h"

using namespace axcfg;

namespace {

CAxisCfgDoc& NewDoc(CAxisCfgDoc& doc) {
  doc.SetAskAxesForNewFile(false);
  EXPECT_TRUE(doc.OnNewDocument());
  return doc;
}

// One user action: the rows changed inside one step.
void Change(CEditHistory& history, CAxisCfgDoc& doc, std::initializer_list<int> rows, int64_t value) {
  history.BeginStep();
  for (int k : rows) {
    history.NoteRow(doc, k);
    doc.GetPosData(k)->SetMoveAmount(0, value);
  }
  history.EndStep(doc);
}

// The whole document as the setting file would hold it.
std::string Image(const CAxisCfgDoc& doc) {
  std::string image;
  BuildSettingFile(doc, kAllSections, image);
  return image;
}

// What an upload does: a new layout, parameters, file comment and rows.
void Upload(CEditHistory& history, CAxisCfgDoc& doc, int64_t value, size_t rowCount = kTableRowCount) {
  history.BeginDocumentStep(doc);
  CAxisLayout layout;
  layout.Clear();
  layout.Append(0x00010001);
  layout.Append(0x00020002);
  doc.SetLayout(layout);
  doc.GetParamBlock().SetParam(46, 1, static_cast<uint32_t>(1000 + value));
  doc.SetComment("from the unit " + std::to_string(value));
  auto& rows = doc.Rows();
  rows.resize(rowCount);
  for (auto& row : rows) {
    if (!row) row = std::make_unique<CPosData>();
    row->SetMoveAmount(1, value);
  }
  history.EndStep(doc);
}

struct RecordingView : CView {
  std::vector<std::string> calls;
  void OnUpdate(CView*, long, void*) override { calls.push_back("update"); }
  void OnDocumentWillChange() override { calls.push_back("will"); }
  void OnDocumentChangeEnded() override { calls.push_back("ended"); }
};

}  // namespace

TEST(EditHistory, UndoesAndRedoesStepsOfSeveralRowsExactly) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history;
  EXPECT_FALSE(history.CanUndo());
  Change(history, doc, {0, 1, 2}, 5);
  Change(history, doc, {1}, 7);
  doc.GetPosData(3)->SetComment(0, "x");  // a change outside a step is not recorded
  EXPECT_EQ(history.StepCount(), 2u);

  EXPECT_EQ(history.Undo(doc).rows, std::vector<int>{1});
  EXPECT_EQ(doc.GetPosData(1)->GetMoveAmount(0), 5);
  EXPECT_EQ(history.Undo(doc).rows, (std::vector<int>{0, 1, 2}));
  for (int k = 0; k < 3; ++k) EXPECT_EQ(doc.GetPosData(k)->GetMoveAmount(0), 0);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_TRUE(history.Undo(doc).Empty());

  history.Redo(doc);
  history.Redo(doc);
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(0), 5);
  EXPECT_EQ(doc.GetPosData(1)->GetMoveAmount(0), 7);
  EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, StepsThatChangeNothingAreNotKeptAndNewStepsDropTheRedo) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history;
  Change(history, doc, {4}, 0);  // writes the value the row already had
  EXPECT_FALSE(history.CanUndo());
  Change(history, doc, {4}, 1);
  Change(history, doc, {4}, 2);
  history.Undo(doc);
  ASSERT_TRUE(history.CanRedo());
  Change(history, doc, {5}, 3);
  EXPECT_FALSE(history.CanRedo());
  history.Undo(doc);
  history.Undo(doc);
  EXPECT_EQ(doc.GetPosData(4)->GetMoveAmount(0), 0);
  EXPECT_EQ(doc.GetPosData(5)->GetMoveAmount(0), 0);
}

TEST(EditHistory, KnowsWhenTheRowsAreBackAtTheSavedState) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history;
  EXPECT_TRUE(history.IsAtSavedState());
  Change(history, doc, {0}, 1);
  history.MarkSaved();
  Change(history, doc, {0}, 2);
  EXPECT_FALSE(history.IsAtSavedState());
  history.Undo(doc);
  EXPECT_TRUE(history.IsAtSavedState());
  history.Undo(doc);
  EXPECT_FALSE(history.IsAtSavedState());
  // A new change after undoing past the save: the saved state is gone.
  Change(history, doc, {9}, 9);
  history.Undo(doc);
  EXPECT_FALSE(history.IsAtSavedState());
  history.Clear();
  EXPECT_TRUE(history.IsAtSavedState());
  EXPECT_FALSE(history.CanUndo());
}

TEST(EditHistory, KeepsOnlyTheNewestStepsWhenFull) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history(3);
  for (int i = 1; i <= 5; ++i) Change(history, doc, {0}, i);
  EXPECT_EQ(history.StepCount(), 3u);
  while (history.CanUndo()) history.Undo(doc);
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(0), 2);
  EXPECT_FALSE(history.IsAtSavedState());  // the saved state fell off the list
}

TEST(EditHistory, AnUploadIsOneStepAmongRowStepsUndoneAndRedoneInOrder) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history;
  Change(history, doc, {0}, 1);
  history.MarkSaved();
  const std::string saved = Image(doc);
  Change(history, doc, {1, 2}, 2);
  const std::string beforeUpload = Image(doc);
  Upload(history, doc, 7);
  const std::string afterUpload = Image(doc);
  ASSERT_NE(afterUpload, beforeUpload);
  Change(history, doc, {3}, 4);  // an edit on the uploaded tables
  const std::string end = Image(doc);
  EXPECT_EQ(history.StepCount(), 4u);
  EXPECT_EQ(history.DocumentStepCount(), 1u);

  EXPECT_EQ(history.Undo(doc).rows, std::vector<int>{3});
  EXPECT_EQ(Image(doc), afterUpload);
  const CEditHistory::Restored whole = history.Undo(doc);
  EXPECT_TRUE(whole.wholeDocument);
  EXPECT_EQ(Image(doc), beforeUpload);  // layout, parameters, comment and every row
  EXPECT_EQ(doc.GetAxisEntryCount(), 1);
  EXPECT_EQ(doc.GetComment(), "");
  EXPECT_FALSE(history.IsAtSavedState());
  history.Undo(doc);
  EXPECT_TRUE(history.IsAtSavedState());
  EXPECT_EQ(Image(doc), saved);

  history.Redo(doc);
  EXPECT_TRUE(history.Redo(doc).wholeDocument);
  EXPECT_EQ(Image(doc), afterUpload);
  EXPECT_EQ(doc.GetComment(), "from the unit 7");
  history.Redo(doc);
  EXPECT_EQ(Image(doc), end);
  EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, DocumentStepsKeepTheRowCountAndTheDownloadChoiceAndDropWhenUnchanged) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history;
  history.BeginDocumentStep(doc);
  history.NoteRow(doc, 0);
  EXPECT_FALSE(history.EndStep(doc));  // a change of axes cancelled: no step
  EXPECT_FALSE(history.CanUndo());

  // Rows that exist on one side only come back with the count.
  Upload(history, doc, 3, 550);
  Upload(history, doc, 5, kTableRowCount);
  DownloadSelection chosen;
  chosen.first = 20;
  doc.SetDownloadSelection(chosen);  // the download dialog's memory, set later
  history.Undo(doc);
  ASSERT_EQ(doc.GetRowCount(), 550);
  EXPECT_EQ(doc.GetPosData(549)->GetMoveAmount(1), 3);
  history.Undo(doc);
  ASSERT_EQ(doc.GetRowCount(), kTableRowCount);
  EXPECT_EQ(doc.GetPosData(599)->GetMoveAmount(1), 0);
  history.Redo(doc);
  history.Redo(doc);
  EXPECT_EQ(doc.GetPosData(599)->GetMoveAmount(1), 5);
  EXPECT_EQ(doc.GetDownloadSelection(), chosen);

  // A row step already open when the document step begins becomes part of it.
  history.BeginStep();
  history.NoteRow(doc, 8);
  doc.GetPosData(8)->SetMoveAmount(0, 88);
  history.BeginDocumentStep(doc);
  doc.SetComment("both");
  history.EndStep(doc);
  EXPECT_TRUE(history.Undo(doc).wholeDocument);
  EXPECT_EQ(doc.GetPosData(8)->GetMoveAmount(0), 0);
  EXPECT_EQ(doc.GetComment(), "from the unit 5");
}

TEST(EditHistory, KeepsFewerDocumentStepsAndDropsTheOldestStepsInOrder) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CEditHistory history(500, 2);
  Change(history, doc, {0}, 1);
  Upload(history, doc, 1);
  Change(history, doc, {0}, 2);
  Upload(history, doc, 2);
  Change(history, doc, {0}, 3);
  EXPECT_EQ(history.StepCount(), 5u);
  Upload(history, doc, 3);  // the oldest upload goes, and the edit before it
  EXPECT_EQ(history.DocumentStepCount(), 2u);
  EXPECT_EQ(history.StepCount(), 4u);
  while (history.CanUndo()) history.Undo(doc);
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(0), 1);
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(1), 1);  // as the first upload left it
  EXPECT_FALSE(history.IsAtSavedState());
}

TEST(EditHistory, NestedWholeDocumentChangesReachTheViewsOnce) {
  CAxisCfgDoc doc;
  RecordingView view;
  doc.AddView(&view);
  {
    CWholeDocumentChange outer(doc);
    CWholeDocumentChange inner(doc);
    doc.UpdateAllViews(nullptr, kHintRebuildAll);
  }
  doc.NotifyDocumentChangeEnded();  // an unmatched end is ignored
  EXPECT_EQ(view.calls, (std::vector<std::string>{"will", "update", "ended"}));
  doc.RemoveView(&view);
}
