#pragma once
// The parameter block: one 152-byte parameter record per axis, kept as the
// bytes that go to the setting file and to the unit, and the 61 parameters
// read and written through it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace axcfg {

class CAxisLayout;

inline constexpr size_t kParamRecordBytes = 152;
inline constexpr int kParamCount = 61;
using ParamRecord = std::array<uint8_t, kParamRecordBytes>;

// Parameter numbers the rest of the tool refers to by name.
enum : int {
  kParamUnit = 0,
  kParamCwCcwDirection = 4,
  kParamLimitSwitch = 5,
  kParamLimitConnection = 8,
  kParamUpperLimit = 14,
  kParamLowerLimit = 15,
  kParamAuxOutputMode = 20,
  kParamAuxDelayRate = 22,
  kParamHomeCode = 34,
  kParamHomeDirectionUnused = 35,
  kParamHomeCoordinateOrigin = 43,
  kParamPulserCode = 52,
};

// Value kinds of a parameter of an axis.
enum ParamKind : int {
  kKindChoice = 0,
  kKindChoiceUnavailable = 1,  // shown, not editable
  kKindSigned = 2,
  kKindSignedFixed = 3,
  kKindUnsigned = 4,
  kKindFixed = 5,
  kKindHex = 6,
  kKindNotUsed = 8,  // not applicable with the current settings
};

struct ParamRange {
  int64_t minimum = 0;
  int64_t maximum = 0;
};

struct ParamCheckResult {
  bool ok = true;
  int param = -1;  // the first parameter out of range
  int axis = -1;
};

class CParamBlock {
 public:
  CParamBlock();  // all axes reset, family 0

  uint32_t GetFamily() const { return family_; }
  // Must equal the document's family before parameters are listed,
  // formatted, checked or transferred.
  void SetFamily(uint32_t family) { family_ = family; }

  // The record bytes of an axis (nullptr outside 0..7), for files and transfers.
  const uint8_t* RecordBytes(int axis) const;
  // Replaces a record; false (nothing changed) unless axis is 0..7 and size is 152.
  bool SetRecordBytes(int axis, const uint8_t* bytes, size_t size);

  // Parameter no (0..60) of axis (0..7): a choice index for choices, the
  // number otherwise. Unknown numbers and axes read as 0.
  uint32_t GetParam(int no, int axis) const;
  // Stores a value; false, with nothing changed, for an unknown number or
  // axis, a choice index outside the list, or a number that the field cannot
  // hold (a value merely outside the parameter's range is stored; the range
  // check finds it).
  bool SetParam(int no, int axis, uint32_t value);
  // GetParam widened to 64 bits: sign-extended for kinds 2 and 3.
  int64_t GetParamValue(int no, int axis) const;

  int GetParamKind(int no, int axis) const;
  ParamRange GetParamRange(int no, int axis) const;
  bool IsInRange(int no, int axis, int64_t value) const;
  int GetDecimals(int no, int axis) const;
  int GetChoiceCount(int no) const;
  std::string GetChoiceText(int no, int index) const;
  std::string GetParamName(int no) const;
  std::string GetGuidance(int no, int axis) const;
  // Text of the current value: the choice text for choices, else the number
  // with the decimals of its kind.
  std::string FormatParam(int no, int axis) const;
  // Text of a value in the form of the parameter's kind and decimals.
  std::string FormatValue(int no, int axis, int64_t value) const;
  // "min - max", or empty when the range is empty.
  std::string RangeText(int no, int axis) const;
  // Characters the editor accepts; 0 for values that are not typed in.
  int GetEditLength(int no, int axis) const;

  // Editor rows of the current family: 44 (family 0) or 52 (family 1).
  int GetRowCount() const;
  int RowToParam(int row) const;  // -1 outside the rows
  int ParamToRow(int no) const;   // -1 for a parameter not in the family

  // Resets the records whose bit is set in the mask (0xFFFF = all).
  void ResetAxes(uint16_t mask);
  // Copies the whole record; both indices 0..7, otherwise nothing happens.
  void CopyAxis(int from, int to);
  // Range check of the axes in the mask, in axis order and row order within
  // an axis; kind 8 is never checked. Stops at the first value out of range.
  ParamCheckResult CheckAll(uint16_t axisMask = 0xFF) const;

  uint16_t GetUnitCode(int axis) const;
  // Stores a raw unit code (also one that is not in the unit list).
  void SetUnitCode(int axis, uint16_t code);

  bool operator==(const CParamBlock& other) const = default;

 private:
  std::array<ParamRecord, 8> records_{};
  uint32_t family_ = 0;
};

// The members of an interpolation group share one unit of position: sets the
// unit choice of the axis and of every other member of its group.
bool SetGroupUnit(CParamBlock& params, const CAxisLayout& layout, int axis, int unitChoice);
// Gives every other member of the axis's group the axis's unit code.
void AlignGroupUnit(CParamBlock& params, const CAxisLayout& layout, int axis);

}  // namespace axcfg
