// The new-document step and the change of axes: the two document
// operations that run the axis settings sequence.
#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "platform/message_box.h"

namespace axcfg {

namespace {
constexpr unsigned kIdChangeAxisQuestion = 20500;
constexpr unsigned kIdChangeAxisFailed = 20501;
}  // namespace

// Everything a cancelled new-document step puts back.
struct CAxisCfgDoc::Snapshot {
  CAxisCfgDocFields fields;
  std::vector<std::unique_ptr<CPosData>> rows;
  bool modified = false;
};

void CAxisCfgDoc::TakeSnapshot(Snapshot& s) {
  s.fields = Fields();
  s.rows = std::move(rows_);
  rows_.clear();
  s.modified = IsModified();
}

void CAxisCfgDoc::RestoreSnapshot(Snapshot& s) {
  Fields() = std::move(s.fields);
  rows_ = std::move(s.rows);
  SetModifiedFlag(s.modified);
}

bool CAxisCfgDoc::OnNewDocument() {
  // The kept copy covers the whole document, not only the layout, family
  // and synchronous groups: cancelling the axis dialog of File New must not
  // leave the open document without its parameters and tables.
  Snapshot kept;
  TakeSnapshot(kept);
  params_.ResetAxes(0xFFFF);
  ResetDocument();

  const bool ask = askAxesForNew_ && axisSettings_ != nullptr;
  if (ask) {
    CAxisLayout chosen = layout_;
    int count = axisSettings_->Run(*this, true, chosen);
    if (count < 1) {
      RestoreSnapshot(kept);
      return false;
    }
    chosen.SetRawEntryCount(count);
    layout_ = chosen;
  }
  CreateDefaultRows();
  CDocument::OnNewDocument();
  params_.SetFamily(family_);
  if (ask) UpdateAllViews(nullptr, kHintRebuildAll);
  return true;
}

ChangeAxesResult CAxisCfgDoc::ChangeAxes() {
  if (!axisSettings_) return ChangeAxesResult::Cancelled;
  // Whatever the dialogs and the change do is one step for the views.
  CWholeDocumentChange whole(*this);
  // The dialogs may change the family, the synchronous groups and the home
  // return codes (the corrections of Mode B masters) before the user cancels:
  // a cancelled or failed change puts every stored field back. The rows are
  // only touched once the change is certain.
  const CAxisCfgDocFields before = Fields();
  const CAxisLayout& oldLayout = before.layout_;
  const uint32_t oldFamily = before.family_;
  const SyncGroups& oldSync = before.sync_;
  const CParamBlock& oldParams = before.params_;
  auto restore = [&] { Fields() = before; };

  CAxisLayout proposed = layout_;
  for (;;) {
    int count = axisSettings_->Run(*this, false, proposed);
    if (count < 1) {
      restore();
      return ChangeAxesResult::Cancelled;
    }
    proposed.SetRawEntryCount(count);
    params_.SetFamily(family_);

    // Entries equal bit for bit to an old entry keep their table data.
    const uint16_t changedAxes = ChangedEntryAxes(oldLayout, proposed);
    const bool allKept = changedAxes == 0;
    if (allKept) {
      // Nothing to initialise. Removing entries or switching the family is
      // still a change of the document that has to be saved.
      bool differs = !(proposed == oldLayout) || family_ != oldFamily || !(sync_ == oldSync) ||
                     !(params_ == oldParams);
      layout_ = proposed;
      if (differs) {
        SetModifiedFlag(true);
        UpdateAllViews(nullptr, kHintRebuildAll);
      }
      return ChangeAxesResult::Unchanged;
    }

    int answer = AxisCfgMessageBox(AxisCfgText(kIdChangeAxisQuestion), platform::MB_YESNO | platform::MB_ICONEXCLAMATION);
    if (answer != platform::IDYES) continue;  // the dialog opens again with the proposed layout

    // Every row has to be there before any is touched, so that a failure
    // leaves the tables as they were.
    for (int k = 0; k < kTableRowCount; ++k) {
      if (!GetPosData(k)) {
        AxisCfgMessageBox(AxisCfgText(kIdChangeAxisFailed), platform::MB_OK | platform::MB_ICONSTOP);
        restore();
        return ChangeAxesResult::Failed;
      }
    }
    AxisList axes = AxesOfMask(changedAxes & 0xFF);
    for (int k = 0; k < kTableRowCount; ++k)
      for (int i = 0; i < axes.count; ++i) rows_[k]->ResetAxis(axes.axes[i]);

    layout_ = proposed;
    SetModifiedFlag(true);
    UpdateAllViews(nullptr, kHintRebuildAll);
    return ChangeAxesResult::Changed;
  }
}

}  // namespace axcfg
