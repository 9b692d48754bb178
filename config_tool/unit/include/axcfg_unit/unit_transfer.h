#pragma once
// Moving the setting data between a document and the unit's shared memory:
// where each piece lives, the 32-byte row record, upload, download, the
// completion handshake, the checks before a download and the comparison of
// an upload with what a download of the document would have written.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/difference_list.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/setting_data_set.h"

namespace axcfg {

class CUnitLink;

namespace unitmap {
constexpr uint32_t kSyncExtra = 0x570;  // difference value 1, -, value 2, -, behavior 1, behavior 2
constexpr uint32_t kSyncExtraWords = 6;
constexpr uint32_t kSyncDifference1 = 0x570;
constexpr uint32_t kSyncDifference2 = 0x574;
constexpr uint32_t kSyncBehavior1 = 0x578;
constexpr uint32_t kSyncBehavior2 = 0x57A;
constexpr uint32_t kRowWords = 16;
constexpr uint32_t kParamWords = 76;
constexpr uint32_t ParamRecord(int axis) { return 0x1000 + 0x5000u * static_cast<uint32_t>(axis); }
constexpr uint32_t Table(int axis, int k) {
  return (static_cast<uint32_t>(k) + 0x85u) * 0x20u + 0x5000u * static_cast<uint32_t>(axis);
}
// One frame carries at most 500 words: 31 whole tables.
constexpr int kTablesPerFrame = 31;
}  // namespace unitmap

// Results of a transfer besides 0 and the link's codes.
enum TransferResult : int {
  kTransferOk = 0,
  kTransferLayoutInvalid = 100000,
  kTransferNoMemory = 100001,
  kTransferAborted = 200000,
  kTransferNotConfirmed = 0x7FFFFFFF,
};

using UnitRowWords = std::array<uint16_t, unitmap::kRowWords>;
UnitRowWords EncodeUnitRow(const PosElement& element);
// Comments are not stored in the unit: the element's comment is left alone.
void DecodeUnitRow(const uint16_t* words, PosElement& element);

// What a download writes for axis `axis` of a row: its own positions and
// position mode, the row-wide fields of the first axis of its group.
PosElement DownloadElement(const CPosData& row, const CAxisLayout& layout, int axis);

// Progress of a transfer: its range, steps, and whether the user cancelled.
class ITransferProgress {
 public:
  virtual ~ITransferProgress() = default;
  virtual void SetRange(int range) = 0;
  virtual void Step(int steps) = 0;
  virtual bool Cancelled() = 0;
};

int UploadRange();
int DownloadRange(const DownloadSelection& selection);

// Reads layout (checked first), model, synchronous groups, parameters and the
// tables of the uploaded layout's axes into `set` (600 new rows). The cancel
// flag is read before every frame. `set` is meant to be fresh; on failure it
// is left partly filled and must be dropped. Report mode 2.
int UploadData(CUnitLink& link, ITransferProgress& progress, CSettingDataSet& set, uint16_t& modelCode);

// Writes layout, synchronous groups, parameters and, for kind 2, tables
// first..last of the layout's axes. Stops at the first failing frame.
int DownloadData(CUnitLink& link, ITransferProgress& progress, const CAxisCfgDoc& doc,
                 const DownloadSelection& selection);

// The completion handshake after a download.
enum class DownloadAnswer { Accepted, CannotOpen, SystemError, Timeout, LinkError };
struct DownloadConfirmation {
  DownloadAnswer answer = DownloadAnswer::Timeout;
  int linkCode = 0;      // for LinkError
  uint16_t word = 0;     // the unit's answer
};
// Writes 0x1111 to the handshake word and reads it until it changes; an
// answer other than 0x2222 is acknowledged by writing 0 back.
DownloadConfirmation ConfirmDownload(CUnitLink& link, int limitMs = 30000);

// 0 when the document may go to the unit, else 21307 (family) or 21301
// (too many axes, or a used axis beyond the model's axes).
unsigned CheckDownloadTarget(const CAxisCfgDoc& doc, uint16_t modelCode);
// The text of that refusal, with the names filled in.
std::string DownloadTargetText(unsigned id, const CAxisCfgDoc& doc, uint16_t modelCode);

// The table range box: "A-B", "B" (1-B), blanks around the numbers allowed;
// false unless 1 <= first <= last <= 600.
bool ParseTableRange(std::string_view text, uint32_t& first, uint32_t& last);

// Compares an upload with the document as a download writes it: the same
// encoder, the layout's axes only, a group's operation 1 exactly when its
// master mask goes to the unit, masks 0 for a group that is off. With
// `items`, every differing item of that image and the upload is listed too.
uint32_t CompareWithUnit(const CAxisCfgDoc& doc, const CSettingDataSet& uploaded,
                         std::vector<uint32_t>& differences, std::vector<DifferenceItem>* items = nullptr);

// Message texts of the transfers, by id.
std::string TransferText(unsigned id);

}  // namespace axcfg
