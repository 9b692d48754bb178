#pragma once
// The four transfer commands as step sequences over a user interface: the
// window shell and the command line each answer the questions, run the
// progress and show the messages their own way. The link is opened at the
// start of each command and closed on every path.
#include <functional>
#include <string>
#include <vector>

#include "axcfg_data/compare.h"
#include "axcfg_unit/unit_transfer.h"

namespace axcfg {

class CAxisCfgDoc;
class CUnitLink;

enum class MessageIcon { Information, Question, Exclamation, Stop };

// Progress window modes.
enum TransferMode : int { kModeDownload = 0, kModeUpload = 1, kModeVerify = 2 };

class ITransferUi {
 public:
  virtual ~ITransferUi() = default;
  // Opens the link (the wait cursor meanwhile); a failure is reported here.
  virtual int Open(CUnitLink& link) = 0;
  // The connection confirmation in kModeDownload or kModeUpload; true for OK.
  virtual bool Confirm(int mode) = 0;
  // The download choice; true for OK with `selection` as chosen.
  virtual bool ChooseDownload(DownloadSelection& selection) = 0;
  // Runs the work under the progress window of the mode; its result.
  virtual int RunWithProgress(int mode, const std::function<int(ITransferProgress&)>& work) = 0;
  // A Yes/No question (Retry/Cancel for 21453); true for Yes or Retry.
  virtual bool Ask(unsigned id, const std::string& text) = 0;
  virtual void Message(unsigned id, const std::string& text, MessageIcon icon) = 0;
  virtual void ShowVerifyResult(const VerifyResult& result, const std::vector<uint32_t>& differences) = 0;
  // Shows how many FROM writes the unit has done (the command line prints it).
  virtual void FromWriteCount(int) {}
  // Follows an accepted FROM write until it ends; true when it completed.
  virtual bool FollowFromWrite(CUnitLink& link) = 0;
  // The data check without its success message; true when the data are valid.
  virtual bool CheckData(const CAxisCfgDoc& doc) = 0;
};

// How a command ended, for callers that report it (exit codes).
enum class TransferOutcome {
  Done,
  Declined,     // the user answered No or Cancel before anything was written
  CheckFailed,  // the data check failed
  Differs,      // verify: the unit and the document differ
  Refused,      // the unit refused, aborted or did not confirm
  LinkFailed,   // communication error
};

// Upload into the document (rebuilt views and the modified mark are the
// caller's on Done).
TransferOutcome RunUpload(CUnitLink& link, ITransferUi& ui, CAxisCfgDoc& doc);
// Download, then (when accepted and `writeFrom`) Write to FROM.
TransferOutcome RunDownload(CUnitLink& link, ITransferUi& ui, CAxisCfgDoc& doc, bool writeFrom = true);
TransferOutcome RunVerifyUnit(CUnitLink& link, ITransferUi& ui, const CAxisCfgDoc& doc);
TransferOutcome RunWriteFrom(CUnitLink& link, ITransferUi& ui);

// Uploaded data replace the document's layout, family, synchronous groups,
// parameters and rows; creator, comment and the extra-data list stay.
void ApplyUploadedData(CAxisCfgDoc& doc, CSettingDataSet&& set, bool keepComments);

}  // namespace axcfg
