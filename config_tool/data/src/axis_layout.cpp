#include "axcfg_data/axis_layout.h"

#include <algorithm>
#include <bit>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/text_format.h"

namespace axcfg {

uint32_t MakeGroupEntry(int groupNo, uint16_t mask) {
  return (static_cast<uint32_t>(groupNo & 0x0F) << 24) |
         (static_cast<uint32_t>(std::popcount(mask)) << 16) | mask;
}

char GroupLetter(int groupNo) { return (groupNo >= 1 && groupNo <= 4) ? static_cast<char>('A' + groupNo - 1) : ' '; }

int CountAxes(uint16_t mask) { return std::popcount(static_cast<unsigned>(mask & 0xFF)); }

AxisList AxesOfMask(uint16_t mask) {
  AxisList list;
  for (int n = 0; n < kAxisCount; ++n)
    if (mask & (1u << n)) list.axes[list.count++] = n;
  return list;
}

AxisList EntryAxes(uint32_t entry) {
  AxisList list = AxesOfMask(EntryMask(entry));
  if (!IsGroupEntry(entry) && list.count > 1) list.count = 1;
  return list;
}

void CAxisLayout::Reset() {
  entries_.fill(0);
  entries_[0] = kNewDocumentEntry;
  count_ = 1;
}

void CAxisLayout::Clear() {
  entries_.fill(0);
  count_ = 0;
}

bool CAxisLayout::Append(uint32_t entry) {
  int n = GetAxisEntryCount();
  if (n >= kAxisCount) return false;
  entries_[n] = entry;
  count_ = n + 1;
  return true;
}

void CAxisLayout::SetEntry(int index, uint32_t entry) {
  if (index >= 0 && index < kAxisCount) entries_[index] = entry;
}

int CAxisLayout::GetAxisEntryCount() const { return std::clamp<int32_t>(count_, 0, kAxisCount); }

uint32_t CAxisLayout::GetAxisEntry(int index) const {
  return (index >= 0 && index < GetAxisEntryCount()) ? entries_[index] : 0;
}

int CAxisLayout::GetTotalAxisCount() const {
  int total = 0;
  for (int i = 0; i < GetAxisEntryCount(); ++i) total += EntryAxisCount(entries_[i]);
  return total;
}

uint16_t CAxisLayout::GetUsedAxisMask() const {
  uint16_t mask = 0;
  for (int i = 0; i < GetAxisEntryCount(); ++i) mask |= EntryMask(entries_[i]);
  return mask & 0xFF;
}

int CAxisLayout::GetUsedAxisNumber(int n) const {
  if (n < 0) return -1;
  uint16_t mask = GetUsedAxisMask();
  for (int bit = 0; bit < kAxisCount; ++bit) {
    if (!(mask & (1u << bit))) continue;
    if (n-- == 0) return bit + 1;
  }
  return -1;
}

bool CAxisLayout::IsAxisUsed(int axisIndex) const {
  if (axisIndex < 0 || axisIndex >= kAxisCount) return false;
  // The k-th used axis for k below the total axis count: with a consistent
  // layout this is the used mask, with a damaged one (counts larger or
  // smaller than the masks) it follows the counts as every walk does.
  int total = std::min(GetTotalAxisCount(), kAxisCount);
  for (int k = 0; k < total; ++k)
    if (GetUsedAxisNumber(k) - 1 == axisIndex) return true;
  return false;
}

int CAxisLayout::NextLayoutItem(int& cursor) const {
  int count = GetAxisEntryCount();
  if (cursor < 1 || cursor > count) return -1;
  uint32_t entry = entries_[cursor - 1];
  cursor = (cursor >= count) ? 0 : cursor + 1;
  if (IsGroupEntry(entry)) return kGroupItemBase + EntryGroupNo(entry) - 1;
  AxisList axes = AxesOfMask(EntryMask(entry));
  return axes.count > 0 ? axes.axes[0] : -1;
}

GroupEntryInfo CAxisLayout::FindGroupEntry(int groupIndex) const {
  int count = GetAxisEntryCount();
  if (groupIndex < 0 || groupIndex >= kGroupCount) return {count, 0};
  // By group number alone: a one-axis group entry (the unit may report one)
  // is found with its one axis, as the group mask set holds it.
  for (int i = 0; i < count; ++i) {
    uint32_t e = entries_[i];
    if (EntryGroupNo(e) == groupIndex + 1) return {i, EntryAxisCount(e)};
  }
  return {count, 0};
}

int CAxisLayout::GetGroupAxis(int groupIndex, int member) const {
  if (groupIndex < 0 || groupIndex >= kGroupCount || member < 1) return -1;
  GroupEntryInfo info = FindGroupEntry(groupIndex);
  if (info.entryIndex >= GetAxisEntryCount()) return -1;
  AxisList axes = AxesOfMask(EntryMask(entries_[info.entryIndex]));
  return member <= axes.count ? axes.axes[member - 1] : -1;
}

int CAxisLayout::GetEntryAxisCount(uint16_t axisBit) const {
  for (int i = 0; i < GetAxisEntryCount(); ++i)
    if (EntryMask(entries_[i]) & axisBit) return EntryAxisCount(entries_[i]);
  return 1;
}

uint32_t CAxisLayout::GetEntryOfAxis(int axisIndex) const {
  if (axisIndex < 0 || axisIndex >= kAxisCount) return 0;
  for (int i = 0; i < GetAxisEntryCount(); ++i)
    if (EntryMask(entries_[i]) & (1u << axisIndex)) return entries_[i];
  return 0;
}

int CAxisLayout::GetAxisGroupNo(int axisIndex) const {
  uint32_t e = GetEntryOfAxis(axisIndex);
  if (!IsGroupEntry(e)) return 0;
  int g = EntryGroupNo(e);
  return (g >= 1 && g <= kGroupCount) ? g : 0;
}

AxisMaskSet CAxisLayout::BuildAxisMaskSet() const {
  AxisMaskSet set{};
  for (int i = 0; i < GetAxisEntryCount(); ++i) {
    uint32_t e = entries_[i];
    int g = EntryGroupNo(e);
    if (g > kGroupCount) continue;
    // A one-axis entry that carries a group number (the unit may report one)
    // goes back to the unit as that group, so an upload and a download
    // reproduce the unit's words.
    int slot = g == 0 ? kIndependentSlot : g - 1;
    set[slot] |= static_cast<uint8_t>(EntryMask(e) & 0xFF);
  }
  return set;
}

std::string CAxisLayout::GetAxisLabel(int axisIndex) const {
  if (!IsAxisUsed(axisIndex)) return std::string();
  std::string label = FormatText(AxisCfgText(10001), {axisIndex + 1});
  uint32_t e = GetEntryOfAxis(axisIndex);
  if (IsGroupEntry(e)) label += FormatText(" [%c]", {GroupLetter(EntryGroupNo(e))});
  return label;
}

bool CAxisLayout::IsValid() const {
  if (count_ < 1 || count_ > kAxisCount) return false;
  uint16_t seen = 0;
  unsigned groupsSeen = 0;
  int total = 0;
  for (int i = 0; i < count_; ++i) {
    uint32_t e = entries_[i];
    uint16_t mask = EntryMask(e);
    int n = EntryAxisCount(e);
    if ((e >> 28) != 0 || (mask & 0xFF00) || mask == 0 || (mask & seen)) return false;
    const int bits = std::popcount(static_cast<unsigned>(mask));
    int g = EntryGroupNo(e);
    if (n >= 2) {
      if (n != bits || n > 3 || g < 1 || g > kGroupCount || (groupsSeen & (1u << g))) return false;
      groupsSeen |= 1u << g;
    } else if (bits != 1) {
      return false;  // a single-axis entry (count 0 or 1) names exactly one axis
    }
    seen |= mask;
    total += bits;
  }
  return total >= 1 && total <= kAxisCount;
}

bool CAxisLayout::FitsFamily(uint32_t family) const {
  constexpr uint16_t kInterpolationFamilyAxes = 0x000F;
  return family != 1 || (GetUsedAxisMask() & ~kInterpolationFamilyAxes) == 0;
}

bool CAxisLayout::operator==(const CAxisLayout& other) const {
  return count_ == other.count_ && entries_ == other.entries_;
}

bool IsUnitLayoutValid(const UnitLayoutWords& words) {
  unsigned seen = 0;
  for (int k = 0; k < 5; ++k) {
    unsigned mask = words[k] & 0xFF;
    if (mask & seen) return false;
    if (k < kGroupCount && std::popcount(mask) > 3) return false;
    seen |= mask;
  }
  return seen != 0;
}

bool UnitLayoutToEntries(const UnitLayoutWords& words, CAxisLayout& layout) {
  if (!IsUnitLayoutValid(words)) return false;
  CAxisLayout result;
  result.Clear();
  for (int k = 0; k < kGroupCount; ++k) {
    uint16_t mask = words[k] & 0xFF;
    if (mask) result.Append(MakeGroupEntry(k + 1, mask));
  }
  AxisList singles = AxesOfMask(words[kIndependentSlot] & 0xFF);
  for (int i = 0; i < singles.count; ++i) result.Append(MakeSingleAxisEntry(singles.axes[i]));
  layout = result;
  return true;
}

UnitLayoutWords EntriesToUnitLayout(const CAxisLayout& layout) {
  AxisMaskSet set = layout.BuildAxisMaskSet();
  UnitLayoutWords words{};
  for (int k = 0; k < 5; ++k) words[k] = set[k];
  return words;
}

uint16_t ChangedEntryAxes(const CAxisLayout& before, const CAxisLayout& after) {
  uint16_t changed = 0;
  for (int i = 0; i < after.GetAxisEntryCount(); ++i) {
    const uint32_t e = after.GetAxisEntry(i);
    bool kept = false;
    for (int j = 0; j < before.GetAxisEntryCount() && !kept; ++j) kept = before.GetAxisEntry(j) == e;
    if (!kept) changed |= EntryMask(e) & 0xFF;
  }
  return changed;
}

}  // namespace axcfg
