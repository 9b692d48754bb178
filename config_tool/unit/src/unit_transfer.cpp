#include "axcfg_unit/unit_transfer.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <new>

#include "axcfg_data/compare.h"
#include "axcfg_data/text_format.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"

namespace axcfg {

namespace {

constexpr uint16_t kDownloadRequest = 0x1111;
constexpr uint16_t kDownloadAccepted = 0x2222;
constexpr uint16_t kDownloadCannotOpen = 0xCCCC;
constexpr int kProgressHead = 1 + kAxisCount;  // layout and groups, then one step per record
constexpr int kStepsPerTable = kAxisCount;

uint16_t Lo(int64_t v) { return static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xFFFF); }
uint16_t Hi(int64_t v) { return static_cast<uint16_t>((static_cast<uint64_t>(v) >> 16) & 0xFFFF); }
int32_t Signed32(uint16_t lo, uint16_t hi) {
  return static_cast<int32_t>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}

// Moves the bar to `done` of `total` units of table work, after the head.
class CTableProgress {
 public:
  CTableProgress(ITransferProgress& p, int steps, int units) : p_(p), steps_(steps), units_(units) {}
  void Advance(int units) {
    done_ += units;
    const int target = units_ > 0 ? static_cast<int>(static_cast<int64_t>(steps_) * done_ / units_) : steps_;
    if (target > shown_) p_.Step(target - shown_);
    shown_ = target;
  }
  void Finish() {
    if (steps_ > shown_) p_.Step(steps_ - shown_);
    shown_ = steps_;
  }

 private:
  ITransferProgress& p_;
  int steps_, units_, done_ = 0, shown_ = 0;
};

int UsedAxisCount(const CAxisLayout& layout) {
  int n = 0;
  for (int axis = 0; axis < kAxisCount; ++axis) n += layout.IsAxisUsed(axis) ? 1 : 0;
  return n;
}

// What the unit holds of the synchronous groups after a download.
SyncGroups UnitSyncGroups(const SyncGroups& groups) {
  SyncGroups out = groups;
  for (CSyncGroupRecord& g : out) {
    if (!g.operation) g.masterMask = g.slaveMask = 0;
    g.operation = g.masterMask != 0 ? 1 : 0;
  }
  return out;
}

}  // namespace

UnitRowWords EncodeUnitRow(const PosElement& e) {
  UnitRowWords w{};
  w[0] = static_cast<uint16_t>((e.positionMode & 1) | ((e.accelPattern & 1) << 1));
  w[1] = static_cast<uint16_t>(e.controlMethod | (e.interpPattern << 8));
  w[4] = Lo(e.accelTime);
  w[5] = Lo(e.decelTime);
  w[6] = Lo(e.targetSpeed);
  w[7] = Hi(e.targetSpeed);
  w[8] = Lo(e.moveAmount);
  w[9] = Hi(e.moveAmount);
  w[10] = Lo(e.auxPoint);
  w[11] = Hi(e.auxPoint);
  w[12] = Lo(e.dwellTime);
  w[13] = Lo(e.auxCode);
  w[15] = Lo(e.jumpNo);
  return w;
}

void DecodeUnitRow(const uint16_t* w, PosElement& e) {
  e.positionMode = static_cast<uint8_t>(w[0] & 1);
  e.accelPattern = static_cast<uint8_t>((w[0] >> 1) & 1);
  e.controlMethod = static_cast<uint8_t>(w[1] & 0xFF);
  e.interpPattern = static_cast<uint8_t>(w[1] >> 8);
  e.accelTime = w[4];
  e.decelTime = w[5];
  e.targetSpeed = Signed32(w[6], w[7]);
  e.moveAmount = Signed32(w[8], w[9]);
  e.auxPoint = Signed32(w[10], w[11]);
  e.dwellTime = w[12];
  e.auxCode = w[13];
  e.jumpNo = static_cast<int16_t>(w[15]);
}

PosElement DownloadElement(const CPosData& row, const CAxisLayout& layout, int axis) {
  PosElement e = row.Element(axis);
  const AxisList members = EntryAxes(layout.GetEntryOfAxis(axis));
  if (members.count >= 2 && members.axes[0] != axis) {
    const PosElement& first = row.Element(members.axes[0]);
    e.controlMethod = first.controlMethod;
    e.jumpNo = first.jumpNo;
    e.interpPattern = first.interpPattern;
    e.accelPattern = first.accelPattern;
    e.accelTime = first.accelTime;
    e.decelTime = first.decelTime;
    e.targetSpeed = first.targetSpeed;
    e.dwellTime = first.dwellTime;
    e.auxCode = first.auxCode;
  }
  return e;
}

int UploadRange() { return kProgressHead + kTableRowCount * kStepsPerTable; }

int DownloadRange(const DownloadSelection& s) {
  int range = kProgressHead;
  if (s.kind == 2 && s.last >= s.first) range += static_cast<int>(s.last - s.first + 1) * kStepsPerTable;
  return range;
}

int UploadData(CUnitLink& link, ITransferProgress& progress, CSettingDataSet& set, uint16_t& modelCode) {
  progress.SetRange(UploadRange());
  auto read = [&](uint32_t address, uint32_t count, uint16_t* words) -> int {
    if (progress.Cancelled()) return kTransferAborted;
    return link.Read(address, count, words, kReportNone);
  };
  if (progress.Cancelled()) return kTransferAborted;
  CUnitAxisConfig config;
  // ReadUnitAxisConfig reads the layout and the model in two frames; the
  // cancel check before the second is the one at its start.
  if (int rc = ReadUnitAxisConfig(link, config)) return rc;
  modelCode = config.modelCode;
  set.family = config.family;
  set.layout = config.layout;
  set.params.SetFamily(set.family);

  uint16_t groups[unitaddr::kSyncGroupWords] = {};
  if (int rc = read(unitaddr::kSyncGroups, unitaddr::kSyncGroupWords, groups)) return rc;
  uint16_t extra[unitmap::kSyncExtraWords] = {};
  if (int rc = read(unitmap::kSyncExtra, unitmap::kSyncExtraWords, extra)) return rc;
  for (int g = 0; g < 2; ++g) {
    CSyncGroupRecord& r = set.sync[g];
    r.mode = groups[3 * g];
    r.masterMask = groups[3 * g + 1];
    r.slaveMask = groups[3 * g + 2];
    r.operation = r.masterMask != 0 ? 1 : 0;
    r.difference = extra[2 * g];
    r.differenceBehavior = extra[4 + g];
  }
  progress.Step(1);

  for (int axis = 0; axis < kAxisCount; ++axis) {
    uint16_t words[unitmap::kParamWords];
    if (int rc = read(unitmap::ParamRecord(axis), unitmap::kParamWords, words)) return rc;
    ParamRecord bytes;
    for (uint32_t i = 0; i < unitmap::kParamWords; ++i) {
      bytes[2 * i] = static_cast<uint8_t>(words[i] & 0xFF);
      bytes[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
    }
    set.params.SetRecordBytes(axis, bytes.data(), bytes.size());
    progress.Step(1);
  }

  try {
    set.rows.clear();
    set.rows.reserve(kTableRowCount);
    for (int k = 0; k < kTableRowCount; ++k) set.rows.push_back(std::make_unique<CPosData>());
  } catch (const std::bad_alloc&) {
    set.rows.clear();
    return kTransferNoMemory;
  }

  const int usedAxes = UsedAxisCount(set.layout);
  CTableProgress tables(progress, kTableRowCount * kStepsPerTable, usedAxes * kTableRowCount);
  std::vector<uint16_t> words(unitmap::kTablesPerFrame * unitmap::kRowWords);
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (!set.layout.IsAxisUsed(axis)) continue;
    for (int k = 0; k < kTableRowCount; k += unitmap::kTablesPerFrame) {
      const int n = std::min(unitmap::kTablesPerFrame, kTableRowCount - k);
      if (int rc = read(unitmap::Table(axis, k), static_cast<uint32_t>(n) * unitmap::kRowWords, words.data())) return rc;
      for (int i = 0; i < n; ++i) {
        PosElement e;
        DecodeUnitRow(words.data() + i * unitmap::kRowWords, e);
        set.rows[static_cast<size_t>(k + i)]->SetElement(axis, e);
      }
      tables.Advance(n);
    }
  }
  tables.Finish();
  return kTransferOk;
}

int DownloadData(CUnitLink& link, ITransferProgress& progress, const CAxisCfgDoc& doc,
                 const DownloadSelection& selection) {
  progress.SetRange(DownloadRange(selection));
  auto write = [&](uint32_t address, uint32_t count, const uint16_t* words) {
    return link.Write(address, count, words, kReportNone);
  };
  const CAxisLayout& layout = doc.GetLayout();
  const UnitLayoutWords layoutWords = EntriesToUnitLayout(layout);
  if (int rc = write(unitaddr::kLayout, unitaddr::kLayoutWords, layoutWords.data())) return rc;

  const SyncGroups sync = UnitSyncGroups(doc.GetSyncGroups());
  uint16_t groups[unitaddr::kSyncGroupWords];
  for (int g = 0; g < 2; ++g) {
    groups[3 * g] = sync[g].mode;
    groups[3 * g + 1] = sync[g].masterMask;
    groups[3 * g + 2] = sync[g].slaveMask;
  }
  if (int rc = write(unitaddr::kSyncGroups, unitaddr::kSyncGroupWords, groups)) return rc;
  // Single words: the unit's words between them are not the tool's to write.
  const std::pair<uint32_t, uint16_t> singles[] = {
      {unitmap::kSyncDifference1, sync[0].difference},
      {unitmap::kSyncDifference2, sync[1].difference},
      {unitmap::kSyncBehavior1, sync[0].differenceBehavior},
      {unitmap::kSyncBehavior2, sync[1].differenceBehavior},
  };
  for (const auto& [address, value] : singles)
    if (int rc = write(address, 1, &value)) return rc;
  progress.Step(1);

  for (int axis = 0; axis < kAxisCount; ++axis) {
    const uint8_t* bytes = doc.GetParamBlock().RecordBytes(axis);
    uint16_t words[unitmap::kParamWords];
    for (uint32_t i = 0; i < unitmap::kParamWords; ++i)
      words[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (int rc = write(unitmap::ParamRecord(axis), unitmap::kParamWords, words)) return rc;
    progress.Step(1);
  }
  if (selection.kind != 2) return kTransferOk;

  const int first = static_cast<int>(std::max<uint32_t>(selection.first, 1)) - 1;
  const int last = std::min(static_cast<int>(selection.last), std::min(doc.GetRowCount(), kTableRowCount));
  const int selected = static_cast<int>(selection.last) - first;
  const int count = std::max(0, last - first);
  CTableProgress tables(progress, std::max(0, selected) * kStepsPerTable, UsedAxisCount(layout) * count);
  std::vector<uint16_t> words(unitmap::kTablesPerFrame * unitmap::kRowWords);
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (!layout.IsAxisUsed(axis)) continue;
    for (int k = first; k < last; k += unitmap::kTablesPerFrame) {
      const int n = std::min(unitmap::kTablesPerFrame, last - k);
      for (int i = 0; i < n; ++i) {
        const CPosData* row = doc.GetPosData(k + i);
        const UnitRowWords w = EncodeUnitRow(row ? DownloadElement(*row, layout, axis) : PosElement{});
        std::copy(w.begin(), w.end(), words.begin() + i * unitmap::kRowWords);
      }
      if (int rc = write(unitmap::Table(axis, k), static_cast<uint32_t>(n) * unitmap::kRowWords, words.data())) return rc;
      tables.Advance(n);
    }
  }
  tables.Finish();
  return kTransferOk;
}

DownloadConfirmation ConfirmDownload(CUnitLink& link, int limitMs) {
  DownloadConfirmation c;
  const uint16_t request = kDownloadRequest;
  if (int rc = link.Write(unitaddr::kHandshake, 1, &request, kReportNone)) {
    c.answer = DownloadAnswer::LinkError;
    c.linkCode = rc;
    return c;
  }
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    uint16_t word = 0;
    if (int rc = link.Read(unitaddr::kHandshake, 1, &word, kReportNone)) {
      c.answer = DownloadAnswer::LinkError;
      c.linkCode = rc;
      return c;
    }
    if (word != kDownloadRequest) {
      c.word = word;
      if (word == kDownloadAccepted) {
        c.answer = DownloadAnswer::Accepted;
        return c;
      }
      c.answer = word == kDownloadCannotOpen ? DownloadAnswer::CannotOpen : DownloadAnswer::SystemError;
      const uint16_t zero = 0;
      link.Write(unitaddr::kHandshake, 1, &zero, kReportNone);
      return c;
    }
    if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(limitMs)) {
      c.answer = DownloadAnswer::Timeout;
      return c;
    }
  }
}

unsigned CheckDownloadTarget(const CAxisCfgDoc& doc, uint16_t modelCode) {
  if (doc.GetUnitFamily() != GetModelFamily(modelCode)) return 21307;
  const int axes = GetModelAxisCount(modelCode);
  if (doc.GetTotalAxisCount() > axes) return 21301;
  for (int axis = axes; axis < kAxisCount; ++axis)
    if (doc.IsAxisUsed(axis)) return 21301;
  return 0;
}

std::string DownloadTargetText(unsigned id, const CAxisCfgDoc& doc, uint16_t modelCode) {
  const std::string model = "(" + GetModelName(modelCode) + ")";
  if (id == 21307) return FormatText(TransferText(21307), {GetFamilyName(doc.GetUnitFamily()), model});
  return FormatText(TransferText(id), {model});
}

bool ParseTableRange(std::string_view text, uint32_t& first, uint32_t& last) {
  auto trim = [](std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
  };
  auto number = [](std::string_view s, long& v) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
  };
  text = trim(text);
  long a = 1, b = 0;
  const size_t dash = text.find('-');
  if (dash == std::string_view::npos) {
    if (!number(text, b)) return false;
  } else if (!number(trim(text.substr(0, dash)), a) || !number(trim(text.substr(dash + 1)), b)) {
    return false;
  }
  if (a < 1 || a > b || b > kTableRowCount) return false;
  first = static_cast<uint32_t>(a);
  last = static_cast<uint32_t>(b);
  return true;
}

uint32_t CompareWithUnit(const CAxisCfgDoc& doc, const CSettingDataSet& uploaded,
                         std::vector<uint32_t>& differences, std::vector<DifferenceItem>* items) {
  CAxisCfgDoc image;
  image.SetUnitFamily(doc.GetUnitFamily());
  image.SetLayout(doc.GetLayout());
  image.SetSyncGroups(UnitSyncGroups(doc.GetSyncGroups()));
  for (int axis = 0; axis < kAxisCount; ++axis)
    image.GetParamBlock().SetRecordBytes(axis, doc.GetParamBlock().RecordBytes(axis), kParamRecordBytes);
  image.Rows().clear();
  for (int k = 0; k < doc.GetRowCount(); ++k) {
    auto row = std::make_unique<CPosData>();
    if (const CPosData* source = doc.GetPosData(k)) {
      for (int axis = 0; axis < kAxisCount; ++axis) {
        if (!doc.IsAxisUsed(axis)) continue;
        PosElement e;
        DecodeUnitRow(EncodeUnitRow(DownloadElement(*source, doc.GetLayout(), axis)).data(), e);
        row->SetElement(axis, e);
      }
    }
    image.Rows().push_back(std::move(row));
  }
  // The unit keeps no comments: they are neither compared nor listed.
  if (items) *items = ListDifferences(image, uploaded, false);
  return CompareWithDocument(image, uploaded, differences);
}

}  // namespace axcfg
