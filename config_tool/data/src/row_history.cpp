#include "axcfg_data/row_history.h"

#include "axcfg_data/axcfg_doc.h"

namespace axcfg {

void CRowHistory::BeginStep() {
  if (open_) return;
  open_ = true;
  pending_.clear();
}

void CRowHistory::NoteRow(const CAxisCfgDoc& doc, int k) {
  const CPosData* row = doc.GetPosData(k);
  if (!row || !open_) return;
  pending_.try_emplace(k, RowChange{*row, *row});
}

bool CRowHistory::EndStep(const CAxisCfgDoc& doc) {
  if (!open_) return false;
  open_ = false;
  Step step;
  for (auto& [k, change] : pending_) {
    const CPosData* row = doc.GetPosData(k);
    if (!row || *row == change.before) continue;
    change.after = *row;
    step.emplace(k, std::move(change));
  }
  pending_.clear();
  if (step.empty()) return false;
  steps_.resize(done_);
  if (saved_ > static_cast<long>(done_)) saved_ = -1;  // the saved state was undone and is now overwritten
  steps_.push_back(std::move(step));
  ++done_;
  if (steps_.size() > maxSteps_) {
    steps_.erase(steps_.begin());
    --done_;
    saved_ = saved_ > 0 ? saved_ - 1 : -1;
  }
  return true;
}

std::vector<int> CRowHistory::Apply(CAxisCfgDoc& doc, const Step& step, bool forward) {
  std::vector<int> rows;
  for (const auto& [k, change] : step) {
    CPosData* row = doc.GetPosData(k);
    if (!row) continue;
    *row = forward ? change.after : change.before;
    rows.push_back(k);
  }
  return rows;
}

std::vector<int> CRowHistory::Undo(CAxisCfgDoc& doc) {
  if (open_ || !CanUndo()) return {};
  --done_;
  return Apply(doc, steps_[done_], false);
}

std::vector<int> CRowHistory::Redo(CAxisCfgDoc& doc) {
  if (open_ || !CanRedo()) return {};
  ++done_;
  return Apply(doc, steps_[done_ - 1], true);
}

void CRowHistory::Clear() {
  steps_.clear();
  pending_.clear();
  open_ = false;
  done_ = 0;
  saved_ = 0;
}

void CRowHistory::MarkSaved() { saved_ = static_cast<long>(done_); }

}  // namespace axcfg
