#include "axcfg_data/sync_group_check.h"

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/text_format.h"

namespace axcfg {

namespace {

constexpr unsigned kIdDifferenceRange = 21511;
constexpr unsigned kIdWrongAxis = 21512;
constexpr unsigned kIdWrongGroup = 21513;
constexpr unsigned kIdSharedAxis = 21514;
constexpr unsigned kIdWrongSlave = 21515;
constexpr unsigned kIdCorrectionHead = 21518;
constexpr unsigned kIdCorrectionLine = 21519;

constexpr size_t kHomeCodeOffset = 64;
constexpr size_t kPulserCodeOffset = 112;

// Any non-zero operation flag counts as on, so a damaged flag is still checked.
bool On(const CSyncGroupRecord& g) { return g.operation != 0; }

}  // namespace

SyncGroupCheckData SyncCheckDataOf(const CAxisCfgDoc& doc) {
  SyncGroupCheckData d;
  d.usedAxes = doc.GetLayout().GetUsedAxisMask();
  AxisMaskSet set = doc.GetLayout().BuildAxisMaskSet();
  for (int g = 0; g < 4; ++g) d.groupMasks[g] = set[g];
  d.groups = doc.GetSyncGroups();
  for (int axis = 0; axis < kAxisCount; ++axis) {
    const uint8_t* r = doc.GetParamBlock().RecordBytes(axis);
    d.homeCodes[axis] = GetLe16(r + kHomeCodeOffset);
    d.pulserCodes[axis] = GetLe16(r + kPulserCodeOffset);
  }
  return d;
}

int SyncAxisOfMask(uint16_t mask) {
  for (int axis = 0; axis < kAxisCount; ++axis)
    if (mask & (1u << axis)) return axis;
  return 0;
}

std::string SyncCheckFailure::Text() const {
  if (id == 0) return std::string();
  if (id == kIdWrongGroup || id == kIdWrongSlave) return FormatText(AxisCfgText(id), {group});
  return AxisCfgText(id);
}

SyncCheckFailure CheckSyncGroups(const SyncGroupCheckData& data) {
  const CSyncGroupRecord& g1 = data.groups[0];
  const CSyncGroupRecord& g2 = data.groups[1];
  const int master[2] = {SyncAxisOfMask(g1.masterMask), SyncAxisOfMask(g2.masterMask)};
  const int slave[2] = {SyncAxisOfMask(g1.slaveMask), SyncAxisOfMask(g2.slaveMask)};
  auto used = [&](int axis) { return (data.usedAxes & (1u << axis)) != 0; };

  for (int g = 0; g < 2; ++g)
    if (On(data.groups[g]) && !(used(master[g]) && used(slave[g]))) return {kIdWrongAxis, 0};
  for (int g = 0; g < 2; ++g)
    if (On(data.groups[g]) && master[g] == slave[g]) return {kIdWrongGroup, g + 1};
  if (On(g1) && On(g2) &&
      (master[0] == master[1] || master[0] == slave[1] || slave[0] == master[1] || slave[0] == slave[1]))
    return {kIdSharedAxis, 0};
  for (int ig = 0; ig < 4; ++ig)
    for (int g = 0; g < 2; ++g)
      if (On(data.groups[g]) && (data.groupMasks[ig] & (1u << slave[g]))) return {kIdWrongSlave, g + 1};
  for (int g = 0; g < 2; ++g)
    if (On(data.groups[g]) && (data.groups[g].difference < 1 || data.groups[g].difference > 32767))
      return {kIdDifferenceRange, 0};
  return {};
}

std::vector<HomeReturnCorrection> PlanHomeReturnCorrections(const SyncGroupCheckData& data) {
  std::vector<HomeReturnCorrection> list;
  std::array<uint16_t, 8> codes = data.homeCodes;
  for (int g = 0; g < 2; ++g) {
    const CSyncGroupRecord& rec = data.groups[g];
    if (!On(rec) || rec.mode != 1) continue;
    const int axis = SyncAxisOfMask(rec.masterMask);
    const uint16_t from = codes[axis];
    uint16_t to = from;
    switch (from) {
      case 0:
      case 2: to = 1; break;
      case 3: to = 4; break;
      case 5: to = 8; break;
      case 7: to = 6; break;
      default: break;
    }
    if (to == from) continue;
    codes[axis] = to;
    list.push_back({g + 1, axis, from, to});
  }
  return list;
}

std::string HomeCodeText(uint16_t code, uint32_t family) {
  static constexpr unsigned kIds[9] = {21111, 21112, 21113, 21134, 21135, 21136, 21137, 21138, 21139};
  // Family 1 names its own method 5; the other codes share the texts.
  if (family == 1 && code == 5) return AxisCfgText(21740);
  return code < 9 ? AxisCfgText(kIds[code]) : std::to_string(code);
}

std::string HomeReturnCorrectionText(const std::vector<HomeReturnCorrection>& corrections, uint32_t family) {
  if (corrections.empty()) return std::string();
  std::string text = AxisCfgText(kIdCorrectionHead);
  for (const HomeReturnCorrection& c : corrections)
    text += FormatText(AxisCfgText(kIdCorrectionLine), {c.group, HomeCodeText(c.from, family), HomeCodeText(c.to, family)});
  return text;
}

}  // namespace axcfg
