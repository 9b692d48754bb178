#pragma once
// Axis entries and the axis layout of a document.
//
// Axes are numbered 1..8 and kept as bit n-1 of a mask. An axis entry is a
// 32-bit value: bits 0-15 the axis mask, bits 16-23 the number of axes,
// bits 24-27 the interpolation group number 1..4 (A..D). An entry with fewer
// than 2 axes is a single axis, whatever its group number.
#include <array>
#include <cstdint>
#include <string>

namespace axcfg {

inline constexpr int kAxisCount = 8;
inline constexpr int kGroupCount = 4;
// NextLayoutItem returns kGroupItemBase + group index for a group entry.
inline constexpr int kGroupItemBase = 10000;

constexpr uint16_t EntryMask(uint32_t entry) { return static_cast<uint16_t>(entry & 0xFFFF); }
constexpr int EntryAxisCount(uint32_t entry) { return static_cast<int>((entry >> 16) & 0xFF); }
constexpr int EntryGroupNo(uint32_t entry) { return static_cast<int>((entry >> 24) & 0x0F); }
constexpr bool IsGroupEntry(uint32_t entry) { return EntryAxisCount(entry) >= 2; }

// 0x00010000 plus the axis bit; 0 for an axis index outside 0..7.
constexpr uint32_t MakeSingleAxisEntry(int axisIndex) {
  return (axisIndex >= 0 && axisIndex < kAxisCount) ? (0x00010000u | (1u << axisIndex)) : 0u;
}
// Group number in bits 24-27, the mask's number of axes in bits 16-23.
uint32_t MakeGroupEntry(int groupNo, uint16_t mask);

// 'A'..'D' for group numbers 1..4, a blank for anything else.
char GroupLetter(int groupNo);

// Number of axes 1..8 in a mask (bits above 7 are not axes).
int CountAxes(uint16_t mask);

// The axis indices of a mask, ascending.
struct AxisList {
  int count = 0;
  std::array<int, kAxisCount> axes{};
};
AxisList AxesOfMask(uint16_t mask);

// The axes an entry covers as a table sheet: its lowest axis alone for a
// single entry, all of its axes for a group.
AxisList EntryAxes(uint32_t entry);

// Group mask set: slots 0..3 interpolation groups A..D, slot 4 single axes.
inline constexpr int kIndependentSlot = 4;
using AxisMaskSet = std::array<uint8_t, 5>;

// The unit's own copy of the layout: five words (groups A..D, then the single
// axes); only the low byte of each word is used.
using UnitLayoutWords = std::array<uint16_t, 5>;

struct GroupEntryInfo {
  int entryIndex = 0;  // the entry count when the group does not exist
  int axisCount = 0;
};

class CAxisLayout {
 public:
  static constexpr uint32_t kNewDocumentEntry = 0x00010001;

  CAxisLayout() { Reset(); }

  // One entry: axis 1 alone.
  void Reset();
  // No entries at all (a layout is then built with Append).
  void Clear();
  // Appends an entry; false when all 8 slots are in use.
  bool Append(uint32_t entry);

  // Raw access for files and transfers: the stored count is kept as it was
  // given; every walk below only looks at the entries 0..min(count, 8)-1.
  void SetEntry(int index, uint32_t entry);
  void SetRawEntryCount(int32_t count) { count_ = count; }
  int32_t GetRawEntryCount() const { return count_; }
  const std::array<uint32_t, kAxisCount>& Entries() const { return entries_; }

  int GetAxisEntryCount() const;
  // The entry i (0..count-1); 0 outside.
  uint32_t GetAxisEntry(int index) const;
  // Sum of the axis counts of the used entries.
  int GetTotalAxisCount() const;
  // OR of the used masks, axes 1..8 only.
  uint16_t GetUsedAxisMask() const;
  // Axis number (1-based) of the (n+1)-th used axis, -1 if there is none.
  int GetUsedAxisNumber(int n) const;
  bool IsAxisUsed(int axisIndex) const;
  // Walks the entries; start with cursor 1. Returns the axis index of a
  // single entry or kGroupItemBase + group index of a group; the cursor
  // becomes 0 after the last entry. A cursor outside 1..count gives -1.
  int NextLayoutItem(int& cursor) const;
  // The entry with group number g+1 and its axis count; the entry count and
  // 0 axes when there is none.
  GroupEntryInfo FindGroupEntry(int groupIndex) const;
  // Axis index of member k (from 1) of group g (0..3), or -1.
  int GetGroupAxis(int groupIndex, int member) const;
  // Axis count of the first entry holding the bit; 1 when none does.
  int GetEntryAxisCount(uint16_t axisBit) const;
  // Group number 1..4 of the interpolation group holding the axis, else 0.
  int GetAxisGroupNo(int axisIndex) const;
  // The entry holding the axis, or 0 when none does.
  uint32_t GetEntryOfAxis(int axisIndex) const;
  AxisMaskSet BuildAxisMaskSet() const;

  // "%d axis", plus " [%c]" with the group letter for a group member; empty
  // for an axis that is not in the layout.
  std::string GetAxisLabel(int axisIndex) const;

  // The layout rules: 1..8 entries; a group entry has as many axes as its
  // mask holds, a single-axis entry (count below 2) exactly one; masks
  // disjoint and within axes 1..8, 1..8 axes in all, groups of at most 3
  // axes, at most one entry per group number.
  bool IsValid() const;
  // Whether the unit family has every axis of the layout: units of the
  // interpolation family (1) have at most 4 axes.
  bool FitsFamily(uint32_t family) const;

  bool operator==(const CAxisLayout& other) const;

 private:
  std::array<uint32_t, kAxisCount> entries_{};
  int32_t count_ = 0;
};

// The axes of the entries of `after` that are not bit for bit an entry of
// `before`: the axes whose table data a change of axes initialises.
uint16_t ChangedEntryAxes(const CAxisLayout& before, const CAxisLayout& after);

// The unit's layout words are valid when no two masks share an axis, the
// union has 1..8 axes and each group mask holds at most 3 axes.
bool IsUnitLayoutValid(const UnitLayoutWords& words);
// Groups A..D first, then one single entry per independent axis ascending.
// Returns false, leaving the layout unchanged, when the words are invalid.
bool UnitLayoutToEntries(const UnitLayoutWords& words, CAxisLayout& layout);
UnitLayoutWords EntriesToUnitLayout(const CAxisLayout& layout);

}  // namespace axcfg
