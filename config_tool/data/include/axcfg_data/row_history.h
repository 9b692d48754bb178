#pragma once
// CRowHistory: the undo and redo history of the positioning tables. A step
// holds the rows one user action changed, each as it was before and after,
// so that undoing and redoing restore whole rows exactly. The history knows
// the step at which the document was last saved, so that undoing back to it
// clears the modified flag again.
#include <cstddef>
#include <map>
#include <vector>

#include "axcfg_data/pos_data.h"

namespace axcfg {

class CAxisCfgDoc;

class CRowHistory {
 public:
  explicit CRowHistory(size_t maxSteps = 500) : maxSteps_(maxSteps) {}

  // A step collects the rows noted until EndStep; outside a step nothing
  // is noted.
  void BeginStep();
  // Call before row k changes; the first call in a step keeps its state.
  void NoteRow(const CAxisCfgDoc& doc, int k);
  // Closes the step: rows that ended as they began are dropped, a step that
  // changed nothing is not kept, and a kept step discards what could be
  // redone. True when a step was kept.
  bool EndStep(const CAxisCfgDoc& doc);
  bool InStep() const { return open_; }

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // Puts the rows of the newest step back as they were before it (Undo) or
  // after it (Redo); returns the rows changed, ascending.
  std::vector<int> Undo(CAxisCfgDoc& doc);
  std::vector<int> Redo(CAxisCfgDoc& doc);

  // Forgets every step (the rows were replaced as a whole) and takes the
  // present state as the saved one.
  void Clear();
  // The document was saved in its present state.
  void MarkSaved();
  // The saved state can no longer be reached by undoing or redoing (the
  // document changed in a way the history does not hold).
  void ForgetSavedState() { saved_ = -1; }
  // Whether the rows are as they were when the document was last saved.
  bool IsAtSavedState() const { return saved_ == static_cast<long>(done_); }
  size_t StepCount() const { return steps_.size(); }

 private:
  struct RowChange {
    CPosData before;
    CPosData after;
  };
  using Step = std::map<int, RowChange>;
  std::vector<int> Apply(CAxisCfgDoc& doc, const Step& step, bool forward);

  size_t maxSteps_;
  std::vector<Step> steps_;
  size_t done_ = 0;   // steps_[0..done_) are applied
  long saved_ = 0;    // done_ at the last save; -1 when it can no longer be reached
  bool open_ = false;
  Step pending_;
};

}  // namespace axcfg
