#include "axcfg_data/edit_history.h"

#include <algorithm>
#include <memory>

namespace axcfg {

namespace {

// A missing row (one that could not be allocated) reads as a reset row.
CPosData RowOrReset(const CAxisCfgDoc& doc, int k) {
  const CPosData* row = doc.GetPosData(k);
  return row ? *row : CPosData();
}

}  // namespace

void CEditHistory::BeginStep() {
  if (open_) return;
  open_ = true;
  pending_ = Step();
}

void CEditHistory::BeginDocumentStep(const CAxisCfgDoc& doc) {
  BeginStep();
  if (pending_.document) return;
  const size_t rows = static_cast<size_t>(doc.GetRowCount());
  pending_.document = DocumentChange{doc.GetStoredFields(), {}, rows, 0};
  for (int k = 0; k < doc.GetRowCount(); ++k) {
    const CPosData row = RowOrReset(doc, k);
    pending_.rows.try_emplace(k, RowChange{row, row});
  }
}

void CEditHistory::NoteRow(const CAxisCfgDoc& doc, int k) {
  const CPosData* row = doc.GetPosData(k);
  if (!row || !open_ || pending_.document) return;  // a document step holds every row already
  pending_.rows.try_emplace(k, RowChange{*row, *row});
}

bool CEditHistory::CloseDocumentChange(const CAxisCfgDoc& doc, Step& step) {
  DocumentChange& change = *pending_.document;
  change.after = doc.GetStoredFields();
  change.rowsAfter = static_cast<size_t>(doc.GetRowCount());
  const size_t total = std::max(change.rowsBefore, change.rowsAfter);
  for (size_t i = 0; i < total; ++i) {
    const int k = static_cast<int>(i);
    RowChange row;
    if (auto it = pending_.rows.find(k); it != pending_.rows.end()) row.before = std::move(it->second.before);
    if (i < change.rowsAfter) row.after = RowOrReset(doc, k);
    // Rows beyond one side's count are taken whole, so that the count can
    // grow and shrink again.
    if (i < change.rowsBefore && i < change.rowsAfter && row.before == row.after) continue;
    step.rows.emplace(k, std::move(row));
  }
  const bool changed = !step.rows.empty() || !(change.before == change.after);
  step.document = std::move(change);
  return changed;
}

bool CEditHistory::EndStep(const CAxisCfgDoc& doc) {
  if (!open_) return false;
  open_ = false;
  Step step;
  bool changed = false;
  if (pending_.document) {
    changed = CloseDocumentChange(doc, step);
  } else {
    for (auto& [k, change] : pending_.rows) {
      const CPosData* row = doc.GetPosData(k);
      if (!row || *row == change.before) continue;
      change.after = *row;
      step.rows.emplace(k, std::move(change));
    }
    changed = !step.rows.empty();
  }
  pending_ = Step();
  if (!changed) return false;
  Push(std::move(step));
  return true;
}

void CEditHistory::Push(Step step) {
  steps_.resize(done_);
  if (saved_ > static_cast<long>(done_)) saved_ = -1;  // the saved state was undone and is now overwritten
  steps_.push_back(std::move(step));
  ++done_;
  while (steps_.size() > maxSteps_) DropOldest();
  while (DocumentStepCount() > maxDocumentSteps_) DropOldest();
}

void CEditHistory::DropOldest() {
  if (steps_.empty()) return;
  steps_.erase(steps_.begin());
  if (done_ > 0) --done_;
  saved_ = saved_ > 0 ? saved_ - 1 : -1;
}

size_t CEditHistory::DocumentStepCount() const {
  return static_cast<size_t>(std::count_if(steps_.begin(), steps_.end(), [](const Step& s) { return s.document.has_value(); }));
}

CEditHistory::Restored CEditHistory::Apply(CAxisCfgDoc& doc, const Step& step, bool forward) {
  Restored restored;
  if (step.document) {
    const DocumentChange& change = *step.document;
    doc.SetStoredFields(forward ? change.after : change.before);
    auto& rows = doc.Rows();
    rows.resize(forward ? change.rowsAfter : change.rowsBefore);
    for (const auto& [k, row] : step.rows) {
      if (static_cast<size_t>(k) >= rows.size()) continue;
      const CPosData& value = forward ? row.after : row.before;
      if (rows[k]) *rows[k] = value;
      else rows[k] = std::make_unique<CPosData>(value);
    }
    restored.wholeDocument = true;
    return restored;
  }
  for (const auto& [k, change] : step.rows) {
    CPosData* row = doc.GetPosData(k);
    if (!row) continue;
    *row = forward ? change.after : change.before;
    restored.rows.push_back(k);
  }
  return restored;
}

CEditHistory::Restored CEditHistory::Undo(CAxisCfgDoc& doc) {
  if (open_ || !CanUndo()) return {};
  --done_;
  return Apply(doc, steps_[done_], false);
}

CEditHistory::Restored CEditHistory::Redo(CAxisCfgDoc& doc) {
  if (open_ || !CanRedo()) return {};
  ++done_;
  return Apply(doc, steps_[done_ - 1], true);
}

void CEditHistory::Clear() {
  steps_.clear();
  pending_ = Step();
  open_ = false;
  done_ = 0;
  saved_ = 0;
}

void CEditHistory::MarkSaved() { saved_ = static_cast<long>(done_); }

}  // namespace axcfg
