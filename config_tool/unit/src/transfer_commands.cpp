#include "axcfg_unit/transfer_commands.h"

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/text_format.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"

namespace axcfg {

namespace {

// Closes the link when a command ends, on every path.
class CLinkCloser {
 public:
  explicit CLinkCloser(CUnitLink& link) : link_(link) {}
  ~CLinkCloser() { Close(); }
  void Close() {
    if (link_.IsOpen()) link_.Close();
  }

 private:
  CUnitLink& link_;
};

// Reports a failed upload; the outcome for the caller.
TransferOutcome UploadFailed(CUnitLink& link, ITransferUi& ui, int rc) {
  switch (rc) {
    case kTransferLayoutInvalid: ui.Message(21323, TransferText(21323), MessageIcon::Stop); return TransferOutcome::Refused;
    case kTransferNoMemory: ui.Message(21324, TransferText(21324), MessageIcon::Stop); return TransferOutcome::Refused;
    case kTransferAborted: ui.Message(21325, TransferText(21325), MessageIcon::Stop); return TransferOutcome::Refused;
    default: ui.Message(0, link.GetErrorString(rc), MessageIcon::Stop); return TransferOutcome::LinkFailed;
  }
}

// Reads one word; a failure closes the link and shows its text.
bool ReadOrReport(CUnitLink& link, ITransferUi& ui, CLinkCloser& closer, uint32_t address, uint16_t& word) {
  const int rc = link.Read(address, 1, &word, kReportNone);
  if (rc == 0) return true;
  closer.Close();
  ui.Message(0, link.GetErrorString(rc), MessageIcon::Stop);
  return false;
}

int Upload(CUnitLink& link, ITransferUi& ui, int mode, CSettingDataSet& set, uint16_t& model) {
  return ui.RunWithProgress(mode, [&](ITransferProgress& p) { return UploadData(link, p, set, model); });
}

}  // namespace

void ApplyUploadedData(CAxisCfgDoc& doc, CSettingDataSet&& set, bool keepComments) {
  set.extraData = doc.ExtraData();
  ApplyLoadedData(doc, std::move(set), keepComments);
}

TransferOutcome RunUpload(CUnitLink& link, ITransferUi& ui, CAxisCfgDoc& doc) {
  if (!ui.Confirm(kModeUpload)) return TransferOutcome::Declined;
  if (ui.Open(link) != 0) return TransferOutcome::LinkFailed;
  CLinkCloser closer(link);
  CSettingDataSet set;
  uint16_t model = 0;
  if (int rc = Upload(link, ui, kModeUpload, set, model)) {
    closer.Close();
    return UploadFailed(link, ui, rc);
  }
  const bool keepComments = ui.Ask(21326, TransferText(21326));
  ApplyUploadedData(doc, std::move(set), keepComments);
  doc.SetModifiedFlag(true);
  closer.Close();
  ui.Message(21322, TransferText(21322), MessageIcon::Information);
  return TransferOutcome::Done;
}

TransferOutcome RunDownload(CUnitLink& link, ITransferUi& ui, CAxisCfgDoc& doc, bool writeFrom) {
  if (!ui.Confirm(kModeDownload)) return TransferOutcome::Declined;
  if (ui.Open(link) != 0) return TransferOutcome::LinkFailed;
  CLinkCloser closer(link);
  uint16_t model = 0;
  if (!ReadOrReport(link, ui, closer, unitaddr::kModelCode, model)) return TransferOutcome::LinkFailed;
  if (unsigned id = CheckDownloadTarget(doc, model)) {
    closer.Close();
    ui.Message(id, DownloadTargetText(id, doc, model), MessageIcon::Exclamation);
    return TransferOutcome::Refused;
  }
  if (!ui.CheckData(doc)) return TransferOutcome::CheckFailed;
  DownloadSelection selection = doc.GetDownloadSelection();
  if (!ui.ChooseDownload(selection)) return TransferOutcome::Declined;
  doc.SetDownloadSelection(selection);

  if (int rc = ui.RunWithProgress(kModeDownload,
                                  [&](ITransferProgress& p) { return DownloadData(link, p, doc, selection); })) {
    closer.Close();
    ui.Message(0, link.GetErrorString(rc), MessageIcon::Stop);
    return TransferOutcome::LinkFailed;
  }
  const DownloadConfirmation c = ConfirmDownload(link);
  closer.Close();
  switch (c.answer) {
    case DownloadAnswer::Accepted:
      ui.Message(21302, TransferText(21302), MessageIcon::Information);
      return writeFrom ? RunWriteFrom(link, ui) : TransferOutcome::Done;
    case DownloadAnswer::CannotOpen:
      ui.Message(21303, TransferText(21303), MessageIcon::Stop);
      return TransferOutcome::Refused;
    case DownloadAnswer::SystemError:
      ui.Message(21305, TransferText(21305), MessageIcon::Stop);
      return TransferOutcome::Refused;
    case DownloadAnswer::Timeout:
      ui.Message(21304, TransferText(21304), MessageIcon::Stop);
      return TransferOutcome::Refused;
    case DownloadAnswer::LinkError:
      break;
  }
  ui.Message(0, link.GetErrorString(c.linkCode), MessageIcon::Stop);
  return TransferOutcome::LinkFailed;
}

TransferOutcome RunVerifyUnit(CUnitLink& link, ITransferUi& ui, const CAxisCfgDoc& doc) {
  if (ui.Open(link) != 0) return TransferOutcome::LinkFailed;
  CLinkCloser closer(link);
  CSettingDataSet set;
  uint16_t model = 0;
  const int rc = Upload(link, ui, kModeVerify, set, model);
  closer.Close();
  if (rc) return UploadFailed(link, ui, rc);
  VerifyResult result;
  std::vector<uint32_t> differences;
  result.mismatch = CompareWithUnit(doc, set, differences, &result.items);
  result.target = IsKnownModel(model) ? GetModelName(model) : TransferText(24002);
  result.showCommentNote = true;
  ui.ShowVerifyResult(result, differences);
  return result.mismatch ? TransferOutcome::Differs : TransferOutcome::Done;
}

TransferOutcome RunWriteFrom(CUnitLink& link, ITransferUi& ui) {
  if (ui.Open(link) != 0) return TransferOutcome::LinkFailed;
  CLinkCloser closer(link);
  uint16_t count = 0;
  if (!ReadOrReport(link, ui, closer, unitaddr::kFromWriteCount, count)) return TransferOutcome::LinkFailed;
  ui.FromWriteCount(count);
  if (!ui.Ask(21451, FormatText(TransferText(21451), {static_cast<int>(count)}))) return TransferOutcome::Declined;
  for (;;) {
    int rc = 0;
    try {
      rc = link.RequestWriteFROM();
    } catch (const CToolOprException& e) {
      if (e.IsWritingToFROM()) {
        if (ui.Ask(21453, TransferText(21453))) continue;
        return TransferOutcome::Refused;
      }
      closer.Close();
      ui.Message(21452, TransferText(21452) + "\n\n" + e.ErrorText(), MessageIcon::Exclamation);
      return TransferOutcome::Refused;
    }
    if (rc == kLinkFromNotAcknowledged) {
      closer.Close();
      ui.Message(21454, TransferText(21454), MessageIcon::Stop);
      return TransferOutcome::Refused;
    }
    if (rc != 0) {
      closer.Close();
      ui.Message(0, link.GetErrorString(rc), MessageIcon::Stop);
      return TransferOutcome::LinkFailed;
    }
    break;
  }
  const bool finished = ui.FollowFromWrite(link);
  closer.Close();
  if (finished) {
    ui.Message(21455, TransferText(21455), MessageIcon::Information);
    return TransferOutcome::Done;
  }
  ui.Message(21454, TransferText(21454), MessageIcon::Stop);
  return TransferOutcome::Refused;
}

}  // namespace axcfg
