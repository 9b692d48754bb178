#pragma once
// CEditHistory: the undo and redo history of the document, one user action
// a step. A row step holds the table rows one action changed, each as it
// was before and after. A document step holds a change of the document as
// a whole (an upload, a change of axes, new parameters): the stored fields
// before and after, the row count before and after, and every row that
// differs. Both kinds share one list, so undoing keeps their order. The
// history knows the step at which the document was last saved, so that
// undoing back to it clears the modified flag again.
#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/pos_data.h"

namespace axcfg {

class CEditHistory {
 public:
  static constexpr size_t kDefaultMaxSteps = 500;
  // A document step may hold every row twice; fewer of them are kept.
  static constexpr size_t kDefaultMaxDocumentSteps = 50;

  explicit CEditHistory(size_t maxSteps = kDefaultMaxSteps, size_t maxDocumentSteps = kDefaultMaxDocumentSteps)
      : maxSteps_(maxSteps), maxDocumentSteps_(maxDocumentSteps) {}

  // A row step collects the rows noted until EndStep; outside a step
  // nothing is noted.
  void BeginStep();
  // Opens a document step: the document as it is now (or, when a row step
  // is already open, the rows it noted as they were) is what undoing it
  // puts back.
  void BeginDocumentStep(const CAxisCfgDoc& doc);
  // Call before row k changes; the first call in a step keeps its state.
  void NoteRow(const CAxisCfgDoc& doc, int k);
  // Closes the step: rows that ended as they began are dropped, a step that
  // changed nothing is not kept, and a kept step discards what could be
  // redone. True when a step was kept.
  bool EndStep(const CAxisCfgDoc& doc);
  bool InStep() const { return open_; }

  // What an undo or redo changed: the rows, ascending, or the whole
  // document (the views rebuild).
  struct Restored {
    bool wholeDocument = false;
    std::vector<int> rows;
    bool Empty() const { return !wholeDocument && rows.empty(); }
  };
  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // Puts the document back as it was before the newest step (Undo) or
  // after the next one (Redo).
  Restored Undo(CAxisCfgDoc& doc);
  Restored Redo(CAxisCfgDoc& doc);

  // Forgets every step (a document was opened or created) and takes the
  // present state as the saved one.
  void Clear();
  // The document was saved in its present state.
  void MarkSaved();
  // The saved state can no longer be reached by undoing or redoing (the
  // document changed in a way the history does not hold).
  void ForgetSavedState() { saved_ = -1; }
  // Whether the document is as it was when it was last saved.
  bool IsAtSavedState() const { return saved_ == static_cast<long>(done_); }
  size_t StepCount() const { return steps_.size(); }
  size_t DocumentStepCount() const;

 private:
  struct RowChange {
    CPosData before;
    CPosData after;
  };
  struct DocumentChange {
    CAxisCfgDocFields before;
    CAxisCfgDocFields after;
    size_t rowsBefore = 0;
    size_t rowsAfter = 0;
  };
  struct Step {
    std::map<int, RowChange> rows;
    std::optional<DocumentChange> document;
  };
  bool CloseDocumentChange(const CAxisCfgDoc& doc, Step& step);
  Restored Apply(CAxisCfgDoc& doc, const Step& step, bool forward);
  void Push(Step step);
  void DropOldest();

  size_t maxSteps_;
  size_t maxDocumentSteps_;
  std::vector<Step> steps_;
  size_t done_ = 0;   // steps_[0..done_) are applied
  long saved_ = 0;    // done_ at the last save; -1 when it can no longer be reached
  bool open_ = false;
  Step pending_;
};

}  // namespace axcfg
