// Kinds, ranges, decimals and entry lengths of the parameters: what depends
// on the current values of an axis (unit of position, limit switch,
// auxiliary output mode, home return method).
#include <algorithm>
#include <initializer_list>

#include "axcfg_data/param_block.h"
#include "axcfg_data/position_units.h"
#include "param_defs.h"

namespace axcfg {

using detail::Def;

namespace {

bool ValidParam(int no) { return no >= 0 && no < kParamCount; }

bool IsOneOf(int no, std::initializer_list<int> list) {
  return std::find(list.begin(), list.end(), no) != list.end();
}

// Speeds: unsigned for pulse and um units, 3 decimals for inch and degree.
int SpeedKind(uint16_t unit) { return IsInchOrDegreeUnit(unit) ? kKindFixed : kKindUnsigned; }

}  // namespace

int CParamBlock::GetParamKind(int no, int axis) const {
  if (!ValidParam(no)) return kKindNotUsed;
  uint16_t unit = GetUnitCode(axis);
  int unitChoice = UnitChoiceOfCode(unit);
  switch (no) {
    case 1: return unitChoice == 0 ? kKindNotUsed : kKindUnsigned;
    case 2:
      if (unitChoice == 0) return kKindNotUsed;
      return IsInchUnit(unit) ? kKindFixed : kKindUnsigned;
    case 8: return GetParam(kParamLimitSwitch, axis) == 1 ? kKindChoiceUnavailable : kKindChoice;
    case 14:
    case 15: return (unitChoice == 0 || unit == kUnitDegree1) ? kKindSigned : kKindSignedFixed;
    case 22: return GetParam(kParamAuxOutputMode, axis) == 2 ? kKindUnsigned : kKindNotUsed;
    case 26: return kKindFixed;
    case 33: case 41: case 42: case 48: case 56: return SpeedKind(unit);
    case 35: return kKindNotUsed;
    case 36:
    case 37: {
      // Torque value and judgement time only apply to stop-on-contact.
      const uint8_t* r = RecordBytes(axis);
      uint16_t code = r ? static_cast<uint16_t>(r[64] | (r[65] << 8)) : 0;
      return (code == 6 || code == 7) ? kKindUnsigned : kKindNotUsed;
    }
    case 43: return kKindSigned;
    default: return GetChoiceCount(no) > 0 ? kKindChoice : kKindUnsigned;
  }
}

ParamRange CParamBlock::GetParamRange(int no, int /*axis*/) const {
  if (!ValidParam(no)) return {0, -1};
  int choices = GetChoiceCount(no);
  if (choices > 0) return {0, choices - 1};
  return {Def(no).minimum, Def(no).maximum};
}

bool CParamBlock::IsInRange(int no, int axis, int64_t value) const {
  if (!ValidParam(no)) return false;
  ParamRange r = GetParamRange(no, axis);
  return value >= r.minimum && value <= r.maximum;
}

int CParamBlock::GetDecimals(int no, int axis) const {
  int kind = GetParamKind(no, axis);
  if (kind != kKindSignedFixed && kind != kKindFixed) return 0;
  uint16_t unit = GetUnitCode(axis);
  switch (no) {
    case 2: return IsInchUnit(unit) ? 4 : 0;
    case 26: return 1;
    case 33: case 41: case 42: case 48: case 56: return UnitSpeedDecimals(unit);
    default: return UnitDecimals(unit);
  }
}

int CParamBlock::GetEditLength(int no, int axis) const {
  switch (GetParamKind(no, axis)) {
    case kKindSigned: return 11;
    case kKindSignedFixed: return 12;
    case kKindUnsigned:
      if (IsOneOf(no, {1, 2, 24, 30, 31, 32, 37, 39, 40, 46, 47, 49, 50, 51, 54, 55, 58, 59})) return 5;
      if (IsOneOf(no, {28, 36})) return 4;
      if (IsOneOf(no, {21, 22, 44})) return 3;
      if (IsOneOf(no, {14, 15, 29, 33, 60})) return 8;
      return 10;
    case kKindFixed:
      if (IsOneOf(no, {41, 42, 48, 56})) return 11;
      if (IsOneOf(no, {14, 15, 26})) return 5;
      if (no == 33) return 9;
      return 11;
    case kKindHex: return 8;
    default: return 0;
  }
}

int CParamBlock::GetChoiceCount(int no) const {
  if (!ValidParam(no)) return 0;
  int count = 0;
  detail::ChoiceIds(no, family_, count);
  return count;
}

}  // namespace axcfg
