#include "axcfg_data/compare.h"

#include <algorithm>
#include <iterator>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/setting_data_set.h"

namespace axcfg {

namespace {

constexpr unsigned kIdAgree = 29021;
constexpr unsigned kIdDisagree = 29022;

// Labels of the verification result window.
constexpr const char* kLineLabels[4] = {"Axis infomation", "Parameter data", "Positioninng data",
                                        "Result of verification"};

bool CompareLayout(const CAxisLayout& a, const CAxisLayout& b, std::vector<uint32_t>& differences) {
  if (a.GetTotalAxisCount() != b.GetTotalAxisCount()) {
    differences.push_back(kDiffCodeTotalAxes);
    return false;
  }
  for (int n = 0; n < a.GetTotalAxisCount(); ++n) {
    if (a.GetUsedAxisNumber(n) != b.GetUsedAxisNumber(n)) {
      differences.push_back(kDiffCodeUsedAxes);
      return false;
    }
  }
  bool same = a.GetAxisEntryCount() == b.GetAxisEntryCount();
  for (int i = 0; same && i < a.GetAxisEntryCount(); ++i) same = a.GetAxisEntry(i) == b.GetAxisEntry(i);
  if (!same) differences.push_back(kDiffCodeEntries);
  return same;
}

bool CompareParams(const CAxisCfgDoc& doc, const CSettingDataSet& loaded, std::vector<uint32_t>& differences) {
  CParamBlock mine = doc.GetParamBlock();
  mine.SetFamily(doc.GetUnitFamily());
  CParamBlock theirs = loaded.params;
  theirs.SetFamily(loaded.family);
  bool same = true;
  for (int row = 0; row < mine.GetRowCount(); ++row) {
    const int no = mine.RowToParam(row);
    for (int axis = 0; axis < kAxisCount; ++axis) {
      if (mine.GetParam(no, axis) == theirs.GetParam(no, axis)) continue;
      differences.push_back(ParamDiffCode(axis, no));
      same = false;
    }
  }
  return same;
}

bool CompareRow(const CPosData& a, const CPosData& b, int k, bool comments, std::vector<uint32_t>& differences) {
  bool same = true;
  for (int axis = 0; axis < CPosData::kAxes; ++axis) {
    const PosElement& x = a.Element(axis);
    const PosElement& y = b.Element(axis);
    const bool equal[] = {x.controlMethod == y.controlMethod, x.jumpNo == y.jumpNo,
                          x.interpPattern == y.interpPattern, x.positionMode == y.positionMode,
                          x.moveAmount == y.moveAmount,       x.auxPoint == y.auxPoint,
                          x.accelPattern == y.accelPattern,   x.accelTime == y.accelTime,
                          x.decelTime == y.decelTime,         x.targetSpeed == y.targetSpeed,
                          true,                               x.dwellTime == y.dwellTime,
                          x.auxCode == y.auxCode,             !comments || x.comment == y.comment};
    for (int field = 0; field < static_cast<int>(std::size(equal)); ++field) {
      if (equal[field]) continue;
      differences.push_back(RowDiffCode(axis, field, k));
      same = false;
    }
  }
  return same;
}

}  // namespace

uint32_t CompareWithDocument(const CAxisCfgDoc& doc, const CSettingDataSet& loaded,
                             std::vector<uint32_t>& differences, bool compareComments) {
  if (doc.GetUnitFamily() != loaded.family || !(doc.GetSyncGroups() == loaded.sync)) return kDiffAxisInfo;
  if (!CompareLayout(doc.GetLayout(), loaded.layout, differences)) return kDiffAxisInfo;
  if (!CompareParams(doc, loaded, differences)) return kDiffParams;

  bool same = true;
  const int rows = std::max(doc.GetRowCount(), loaded.RowCount());
  for (int k = 0; k < rows; ++k) {
    const CPosData* a = doc.GetPosData(k);
    const CPosData* b = loaded.Row(k);
    if (!a || !b) {
      if (a || b) {
        differences.push_back(RowDiffCode(0, kDiffFieldMissingRow, k));
        same = false;
      }
      continue;
    }
    if (!CompareRow(*a, *b, k, compareComments, differences)) same = false;
  }
  return same ? 0u : kDiffRows;
}

bool VerifyLineCompared(const VerifyResult& result, int line) {
  if (line <= 0) return true;
  if (result.mismatch & kDiffAxisInfo) return false;
  if (line == 2 && (result.mismatch & kDiffParams)) return false;
  return true;
}

std::vector<std::string> VerifyResultLines(const VerifyResult& result) {
  const std::string agree = AxisCfgText(kIdAgree);
  const std::string disagree = AxisCfgText(kIdDisagree);
  std::vector<std::string> lines;
  for (int line = 0; line < 3; ++line) {
    std::string text = std::string(kLineLabels[line]) + " - ";
    if (VerifyLineCompared(result, line)) text += (result.mismatch & (1u << line)) ? disagree : agree;
    lines.push_back(text);
  }
  lines.push_back(std::string(kLineLabels[3]) + " - " + ((result.mismatch & 0x7) ? disagree : agree));
  return lines;
}

std::string VerifyFileOutcome::FailureText() const {
  if (status.id == kMsgVerifyCannotOpen) return AxisCfgText(kMsgVerifyCannotOpen);
  return FileStatusText(status, result.target);
}

VerifyFileOutcome VerifyWithFile(const CAxisCfgDoc& doc, const std::string& path, bool compareComments) {
  VerifyFileOutcome out;
  out.result.target = path;
  CFileByteSource probe;
  if (!probe.Open(path)) {
    out.status = {kMsgVerifyCannotOpen, probe.SystemError()};
    return out;
  }
  CSettingDataSet loaded;
  out.status = ReadSettingFile(path, loaded);
  if (out.status.id != 0) return out;
  out.result.mismatch = CompareWithDocument(doc, loaded, out.differences, compareComments);
  out.result.items = ListDifferences(doc, loaded, compareComments);
  return out;
}

}  // namespace axcfg
