#include "axcfg_data/axis_settings.h"

#include <algorithm>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/le_bytes.h"

namespace axcfg {

namespace {

constexpr unsigned kIdChooseUsedAxis = 10101;
constexpr unsigned kIdChooseInitialiseAxis = 10103;
constexpr unsigned kIdAxesChanged = 10104;
constexpr unsigned kIdAxisInformation = 10105;
constexpr unsigned kIdInterpolationGroup = 10106;
constexpr unsigned kIdSynchronousGroup = 10107;
constexpr unsigned kIdParameterDeleted = 21521;

constexpr uint16_t kAxes5To8 = 0xF0;
constexpr uint16_t kAllAxes = 0xFF;
constexpr size_t kHomeCodeOffset = 64;
constexpr size_t kPulserCodeOffset = 112;
constexpr int kMaxGroupMembers = 3;

}  // namespace

// --- Used-axis choice ---

CUsedAxisChoice::CUsedAxisChoice(uint16_t mask, uint32_t family, const CAxisLayout& entries, const SyncGroups& sync)
    : ticks_(mask & kAllAxes),
      mask_(mask & kAllAxes),
      family_(family),
      startFamily_(family),
      startMask_(mask & kAllAxes),
      entries_(entries),
      sync_(sync) {}

CUsedAxisChoice CUsedAxisChoice::ForInitialise(uint16_t enabled, uint16_t ticked) {
  CUsedAxisChoice c;
  c.mode_ = kChooseAxesToInitialise;
  c.enabledMode1_ = enabled & kAllAxes;
  c.ticks_ = ticked & c.enabledMode1_;
  c.startMask_ = c.enabledMode1_;
  return c;
}

void CUsedAxisChoice::SetFamily(uint32_t family) {
  if (mode_ == kChooseUsedAxes) family_ = family;
}

uint16_t CUsedAxisChoice::EnabledMask() const {
  if (mode_ == kChooseAxesToInitialise) return enabledMode1_;
  return family_ == 1 ? static_cast<uint16_t>(kAllAxes & ~kAxes5To8) : kAllAxes;
}

bool CUsedAxisChoice::IsBoxEnabled(int axisIndex) const {
  return axisIndex >= 0 && axisIndex < kAxisCount && ((EnabledMask() >> axisIndex) & 1u);
}

void CUsedAxisChoice::SetTicked(int axisIndex, bool ticked) {
  if (axisIndex < 0 || axisIndex >= kAxisCount) return;
  const uint16_t bit = static_cast<uint16_t>(1u << axisIndex);
  ticks_ = ticked ? (ticks_ | bit) : (ticks_ & ~bit);
}

DialogOkResult CUsedAxisChoice::Ok() {
  // Disabled boxes count as not ticked, whatever they show.
  const uint16_t chosen = ticks_ & EnabledMask();
  if (chosen == 0) {
    unsigned id = mode_ == kChooseUsedAxes ? kIdChooseUsedAxis : kIdChooseInitialiseAxis;
    return {false, id, AxisCfgText(id)};
  }
  mask_ = chosen;
  DialogOkResult result{true, 0, {}};
  if (mode_ != kChooseUsedAxes) return result;

  // Axes 5-8 of the start leave the document whenever family 1 is chosen,
  // also when the document already was family 1 (a file may carry them).
  const uint16_t dropped = family_ == 1 ? (startMask_ & kAxes5To8) : 0;
  if (dropped) {
    std::string text = AxisCfgText(kIdAxesChanged) + AxisCfgText(kIdAxisInformation);
    bool groupHit = false;
    for (int i = 0; i < entries_.GetAxisEntryCount(); ++i) {
      uint32_t e = entries_.GetAxisEntry(i);
      if (IsGroupEntry(e) && EntryGroupNo(e) != 0 && (EntryMask(e) & dropped)) groupHit = true;
    }
    if (groupHit) text += AxisCfgText(kIdInterpolationGroup);
    bool reset = false;
    for (CSyncGroupRecord& rec : sync_) {
      if ((rec.masterMask | rec.slaveMask) & dropped) {
        rec.Reset();
        reset = true;
      }
    }
    if (reset) text += AxisCfgText(kIdSynchronousGroup);
    result.id = kIdAxesChanged;
    result.message = text;
  }
  return result;
}

// --- Group arrangement ---

std::optional<uint16_t> ParseDifferenceText(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  uint32_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  if (v > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(v);
}

CGroupArrangement::CGroupArrangement(uint16_t used, const CAxisLayout& layout, const SyncGroups& sync,
                                     const std::array<uint16_t, kAxisCount>& homeCodes,
                                     const std::array<uint16_t, kAxisCount>& pulserCodes, uint32_t family)
    : used_(used & kAllAxes),
      working_(sync),
      untouched_(sync),
      homeCodes_(homeCodes),
      pulserCodes_(pulserCodes),
      family_(family) {
  uint16_t placed = 0;
  for (int i = 0; i < layout.GetAxisEntryCount(); ++i) {
    const uint32_t e = layout.GetAxisEntry(i);
    const int g = EntryGroupNo(e);
    const bool group = IsGroupEntry(e) && g >= 1 && g <= kGroupCount;
    AxisList axes = AxesOfMask(EntryMask(e) & kAllAxes);
    for (int k = 0; k < axes.count; ++k) {
      const int axis = axes.axes[k];
      const uint16_t bit = static_cast<uint16_t>(1u << axis);
      if ((placed & bit) || !(used_ & bit)) continue;
      placed |= bit;
      if (group && groups_[g - 1].size() < kMaxGroupMembers) groups_[g - 1].push_back(axis);
    }
  }
}

CGroupArrangement CGroupArrangement::FromDocument(const CAxisCfgDoc& doc, uint16_t used, const CAxisLayout& layout,
                                                  const SyncGroups& sync) {
  std::array<uint16_t, kAxisCount> home{}, pulser{};
  for (int axis = 0; axis < kAxisCount; ++axis) {
    const uint8_t* r = doc.GetParamBlock().RecordBytes(axis);
    home[axis] = GetLe16(r + kHomeCodeOffset);
    pulser[axis] = GetLe16(r + kPulserCodeOffset);
  }
  return CGroupArrangement(used, layout, sync, home, pulser, doc.GetUnitFamily());
}

std::vector<int> CGroupArrangement::Independent() const {
  std::vector<int> list;
  for (int axis = 0; axis < kAxisCount; ++axis)
    if (GroupOf(axis) == kDropIndependent) list.push_back(axis);
  return list;
}

int CGroupArrangement::GroupOf(int axisIndex) const {
  if (axisIndex < 0 || axisIndex >= kAxisCount || !((used_ >> axisIndex) & 1u)) return kDropNowhere;
  for (int g = 0; g < kGroupCount; ++g)
    if (std::find(groups_[g].begin(), groups_[g].end(), axisIndex) != groups_[g].end()) return g;
  return kDropIndependent;
}

bool CGroupArrangement::CanMove(int axisIndex, int target) const {
  const int own = GroupOf(axisIndex);
  if (own == kDropNowhere) return false;
  if (target >= 0 && target < kGroupCount) return groups_[target].size() < kMaxGroupMembers && own != target;
  return target == kDropIndependent && own != kDropIndependent;
}

void CGroupArrangement::Remove(int axisIndex) {
  for (auto& members : groups_) members.erase(std::remove(members.begin(), members.end(), axisIndex), members.end());
}

bool CGroupArrangement::Move(int axisIndex, int target) {
  if (!CanMove(axisIndex, target)) return false;
  Remove(axisIndex);
  if (target != kDropIndependent) groups_[target].push_back(axisIndex);
  return true;
}

void CGroupArrangement::Initialize() {
  for (auto& members : groups_) members.clear();
  for (int g = 0; g < 2; ++g) {
    working_[g].Reset();
    // A reset block is a change of every control.
    const CSyncGroupRecord& r = working_[g];
    edits_[g] = SyncBlockEdit{false, r.mode, SyncAxisOfMask(r.masterMask), SyncAxisOfMask(r.slaveMask),
                              std::to_string(r.difference), r.differenceBehavior};
  }
}

void CGroupArrangement::Edit(int g, const SyncBlockEdit& edit) {
  SyncBlockEdit& e = edits_[g];
  CSyncGroupRecord& r = working_[g];
  if (edit.on) {
    e.on = edit.on;
    r.operation = *edit.on ? 1 : 0;
  }
  if (edit.mode) {
    e.mode = edit.mode;
    r.mode = *edit.mode;
  }
  if (edit.master) {
    e.master = edit.master;
    r.masterMask = static_cast<uint16_t>(1u << (*edit.master & 7));
  }
  if (edit.slave) {
    e.slave = edit.slave;
    r.slaveMask = static_cast<uint16_t>(1u << (*edit.slave & 7));
  }
  if (edit.behavior) {
    e.behavior = edit.behavior;
    r.differenceBehavior = *edit.behavior;
  }
  if (edit.differenceText) {
    e.differenceText = edit.differenceText;
    if (auto v = ParseDifferenceText(*edit.differenceText)) r.difference = *v;
  }
}

SyncGroups CGroupArrangement::RecordsToStore(std::array<bool, 2>& differenceValid) const {
  SyncGroups out = working_;
  for (int g = 0; g < 2; ++g) {
    CSyncGroupRecord& r = out[g];
    const SyncBlockEdit& e = edits_[g];
    differenceValid[g] = true;
    if (r.operation == 0) continue;  // untouched fields of a group that is off keep their value
    // A group that is on stores what its controls show: a combo shows the
    // lowest bit of a mask (axis 1 when there is none).
    r.operation = 1;
    r.masterMask = static_cast<uint16_t>(1u << SyncAxisOfMask(r.masterMask));
    r.slaveMask = static_cast<uint16_t>(1u << SyncAxisOfMask(r.slaveMask));
    if (e.differenceText) differenceValid[g] = ParseDifferenceText(*e.differenceText).has_value();
  }
  return out;
}

DialogOkResult CGroupArrangement::Ok() {
  std::array<bool, 2> valid{};
  SyncGroups records = RecordsToStore(valid);
  SyncGroupCheckData data;
  data.usedAxes = used_;
  for (int g = 0; g < kGroupCount; ++g)
    for (int axis : groups_[g]) data.groupMasks[g] |= static_cast<uint8_t>(1u << axis);
  data.groups = records;
  // A difference text that is not a number fails the range check.
  for (int g = 0; g < 2; ++g)
    if (!valid[g]) data.groups[g].difference = 0;
  data.homeCodes = homeCodes_;
  data.pulserCodes = pulserCodes_;

  SyncCheckFailure failure = CheckSyncGroups(data);
  if (failure.id != 0) return {false, failure.id, failure.Text()};

  std::vector<HomeReturnCorrection> corrections = PlanHomeReturnCorrections(data);
  for (const HomeReturnCorrection& c : corrections) homeCodes_[c.axis] = c.to;
  working_ = records;
  DialogOkResult result{true, 0, HomeReturnCorrectionText(corrections, family_)};
  if (!corrections.empty()) result.id = 21518;
  return result;
}

CAxisLayout CGroupArrangement::Layout() const {
  CAxisLayout layout;
  layout.Clear();
  for (int g = 0; g < kGroupCount; ++g) {
    uint16_t mask = 0;
    for (int axis : groups_[g]) mask |= static_cast<uint16_t>(1u << axis);
    if (mask) layout.Append(MakeGroupEntry(g + 1, mask));
  }
  for (int axis : Independent()) layout.Append(MakeSingleAxisEntry(axis));
  return layout;
}

// --- The sequence ---

bool HasDroppedParameter(const CAxisCfgDoc& doc, uint16_t used) {
  const uint32_t family = doc.GetUnitFamily();
  AxisList axes = AxesOfMask(used & kAllAxes);
  for (int i = 0; i < axes.count; ++i) {
    const uint8_t* r = doc.GetParamBlock().RecordBytes(axes.axes[i]);
    const uint16_t home = GetLe16(r + kHomeCodeOffset);
    const uint16_t pulser = GetLe16(r + kPulserCodeOffset);
    if (family == 1 && (home == 6 || home == 7)) return true;
    if (family == 0 && pulser == 3) return true;
  }
  return false;
}

int RunAxisSettingsSequence(CAxisCfgDoc& doc, CAxisLayout& layout, IAxisDialogs& dialogs) {
  CUsedAxisChoice choice(layout.GetUsedAxisMask(), doc.GetUnitFamily(), layout, doc.GetSyncGroups());
  for (;;) {
    if (!dialogs.RunUsedAxis(choice)) return 0;
    doc.SetUnitFamily(choice.Family());
    CGroupArrangement arrangement = CGroupArrangement::FromDocument(doc, choice.Mask(), layout, choice.Sync());
    if (!dialogs.RunGroups(arrangement)) continue;

    layout = arrangement.Layout();
    doc.SetSyncGroups(arrangement.Sync());
    CParamBlock& params = doc.GetParamBlock();
    for (int axis = 0; axis < kAxisCount; ++axis) {
      ParamRecord record;
      std::copy_n(params.RecordBytes(axis), kParamRecordBytes, record.begin());
      if (GetLe16(record.data() + kHomeCodeOffset) == arrangement.HomeCodes()[axis]) continue;
      PutLe16(record.data() + kHomeCodeOffset, arrangement.HomeCodes()[axis]);
      params.SetRecordBytes(axis, record.data(), record.size());
    }
    if (HasDroppedParameter(doc, layout.GetUsedAxisMask()))
      dialogs.ShowInformation(AxisCfgText(kIdParameterDeleted));
    return layout.GetAxisEntryCount();
  }
}

}  // namespace axcfg
