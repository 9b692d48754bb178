// The undo and redo history of the positioning tables.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/row_history.h"

using namespace axcfg;

namespace {

CAxisCfgDoc& NewDoc(CAxisCfgDoc& doc) {
  doc.SetAskAxesForNewFile(false);
  EXPECT_TRUE(doc.OnNewDocument());
  return doc;
}

// One user action: the rows changed inside one step.
void Change(CRowHistory& history, CAxisCfgDoc& doc, std::initializer_list<int> rows, int64_t value) {
  history.BeginStep();
  for (int k : rows) {
    history.NoteRow(doc, k);
    doc.GetPosData(k)->SetMoveAmount(0, value);
  }
  history.EndStep(doc);
}

}  // namespace

TEST(RowHistory, UndoesAndRedoesStepsOfSeveralRowsExactly) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CRowHistory history;
  EXPECT_FALSE(history.CanUndo());
  Change(history, doc, {0, 1, 2}, 5);
  Change(history, doc, {1}, 7);
  doc.GetPosData(3)->SetComment(0, "x");  // a change outside a step is not recorded
  EXPECT_EQ(history.StepCount(), 2u);

  EXPECT_EQ(history.Undo(doc), std::vector<int>{1});
  EXPECT_EQ(doc.GetPosData(1)->GetMoveAmount(0), 5);
  EXPECT_EQ(history.Undo(doc), (std::vector<int>{0, 1, 2}));
  for (int k = 0; k < 3; ++k) EXPECT_EQ(doc.GetPosData(k)->GetMoveAmount(0), 0);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_TRUE(history.Undo(doc).empty());

  history.Redo(doc);
  history.Redo(doc);
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(0), 5);
  EXPECT_EQ(doc.GetPosData(1)->GetMoveAmount(0), 7);
  EXPECT_FALSE(history.CanRedo());
}

TEST(RowHistory, StepsThatChangeNothingAreNotKeptAndNewStepsDropTheRedo) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CRowHistory history;
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

TEST(RowHistory, KnowsWhenTheRowsAreBackAtTheSavedState) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CRowHistory history;
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

TEST(RowHistory, KeepsOnlyTheNewestStepsWhenFull) {
  CAxisCfgDoc doc;
  NewDoc(doc);
  CRowHistory history(3);
  for (int i = 1; i <= 5; ++i) Change(history, doc, {0}, i);
  EXPECT_EQ(history.StepCount(), 3u);
  while (history.CanUndo()) history.Undo(doc);
  EXPECT_EQ(doc.GetPosData(0)->GetMoveAmount(0), 2);
  EXPECT_FALSE(history.IsAtSavedState());  // the saved state fell off the list
}
