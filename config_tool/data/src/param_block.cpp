// Storage of the parameters in the record bytes and the record operations.
#include "axcfg_data/param_block.h"

#include <cstring>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/le_bytes.h"
#include "axcfg_data/position_units.h"
#include "param_defs.h"

namespace axcfg {

using detail::Def;
using detail::ParamDef;
using detail::Store;

namespace {

constexpr size_t kKeptValueOffset = 98;  // belongs to no parameter, reset 100
constexpr int kHomeCodeNotListed = 9;    // index of a code the family does not offer

bool ValidAxis(int axis) { return axis >= 0 && axis < kAxisCount; }
bool ValidParam(int no) { return no >= 0 && no < kParamCount; }

// Home return codes of family 1: index 6 is "8:Data set".
constexpr uint16_t kHomeCodesInterp[] = {0, 1, 2, 3, 4, 5, 8};

uint32_t HomeIndexOfCode(uint16_t code, uint32_t family) {
  if (family != 1) return code;
  for (uint32_t i = 0; i < 7; ++i)
    if (kHomeCodesInterp[i] == code) return i;
  return kHomeCodeNotListed;
}

uint32_t ReadField(const ParamRecord& r, const ParamDef& d, uint32_t family) {
  const uint8_t* p = r.data() + d.offset;
  switch (d.store) {
    case Store::None: return 0;
    case Store::UnitCode: return static_cast<uint32_t>(UnitChoiceOfCode(GetLe16(p)));
    case Store::U8: return *p;
    case Store::U16: return GetLe16(p);
    case Store::U32:
    case Store::S32: return GetLe32(p);
    case Store::Bit: return (GetLe16(p) >> d.shift) & 1u;
    case Store::Bits2: return (GetLe16(p) >> d.shift) & 3u;
    case Store::Judge2: {
      static constexpr uint32_t kIndex[4] = {0, 1, 3, 2};  // 10 is no choice
      return kIndex[(GetLe16(p) >> d.shift) & 3u];
    }
    case Store::HomeCode: return HomeIndexOfCode(GetLe16(p), family);
    case Store::DirectionBit: return (GetLe16(r.data() + (family == 1 ? 42 : 40)) >> d.shift) & 1u;
  }
  return 0;
}

void PutBits(uint8_t* p, int shift, uint16_t width, uint16_t bits) {
  uint16_t mask = static_cast<uint16_t>(width << shift);
  PutLe16(p, static_cast<uint16_t>((GetLe16(p) & ~mask) | ((bits << shift) & mask)));
}

const ParamRecord& ResetRecord();

}  // namespace

CParamBlock::CParamBlock() { ResetAxes(0xFFFF); }

const uint8_t* CParamBlock::RecordBytes(int axis) const {
  return ValidAxis(axis) ? records_[axis].data() : nullptr;
}

bool CParamBlock::SetRecordBytes(int axis, const uint8_t* bytes, size_t size) {
  if (!ValidAxis(axis) || !bytes || size != kParamRecordBytes) return false;
  std::memcpy(records_[axis].data(), bytes, kParamRecordBytes);
  return true;
}

uint32_t CParamBlock::GetParam(int no, int axis) const {
  if (!ValidParam(no) || !ValidAxis(axis)) return 0;
  return ReadField(records_[axis], Def(no), family_);
}

bool CParamBlock::SetParam(int no, int axis, uint32_t value) {
  if (!ValidParam(no) || !ValidAxis(axis)) return false;
  const ParamDef& d = Def(no);
  int choices = GetChoiceCount(no);
  if (choices > 0 && value >= static_cast<uint32_t>(choices)) return false;
  uint8_t* p = records_[axis].data() + d.offset;
  switch (d.store) {
    case Store::None: return false;
    case Store::UnitCode: {
      uint16_t code = 0;
      if (!UnitCodeOfChoice(static_cast<int>(value), code)) return false;
      PutLe16(p, code);
      return true;
    }
    case Store::U8:
      if (value > 0xFF) return false;
      *p = static_cast<uint8_t>(value);
      return true;
    case Store::U16:
      if (value > 0xFFFF) return false;
      PutLe16(p, static_cast<uint16_t>(value));
      return true;
    case Store::U32:
    case Store::S32: PutLe32(p, value); return true;
    case Store::Bit:
      if (value > 1) return false;
      PutBits(p, d.shift, 1, static_cast<uint16_t>(value));
      return true;
    case Store::Bits2:
      if (value > 2) return false;
      PutBits(p, d.shift, 3, static_cast<uint16_t>(value));
      return true;
    case Store::Judge2:
      if (value > 2) return false;
      PutBits(p, d.shift, 3, static_cast<uint16_t>(value == 2 ? 3 : value));
      return true;
    case Store::HomeCode:
      PutLe16(p, family_ == 1 ? kHomeCodesInterp[value] : static_cast<uint16_t>(value));
      return true;
    case Store::DirectionBit:
      if (value > 1) return false;
      PutBits(records_[axis].data() + (family_ == 1 ? 42 : 40), d.shift, 1, static_cast<uint16_t>(value));
      return true;
  }
  return false;
}

int64_t CParamBlock::GetParamValue(int no, int axis) const {
  uint32_t raw = GetParam(no, axis);
  int kind = GetParamKind(no, axis);
  if (kind == kKindSigned || kind == kKindSignedFixed) return static_cast<int32_t>(raw);
  return raw;
}

uint16_t CParamBlock::GetUnitCode(int axis) const {
  return ValidAxis(axis) ? GetLe16(records_[axis].data()) : uint16_t{kUnitPulse};
}

void CParamBlock::SetUnitCode(int axis, uint16_t code) {
  if (ValidAxis(axis)) PutLe16(records_[axis].data(), code);
}

int CParamBlock::GetRowCount() const { return family_ == 1 ? 52 : 44; }

int CParamBlock::RowToParam(int row) const {
  if (row < 0 || row >= GetRowCount()) return -1;
  for (int no = 0; no < kParamCount; ++no) {
    const ParamDef& d = Def(no);
    if ((family_ == 1 ? d.rowI : d.rowS) == row) return no;
  }
  return -1;
}

int CParamBlock::ParamToRow(int no) const {
  if (!ValidParam(no)) return -1;
  return family_ == 1 ? Def(no).rowI : Def(no).rowS;
}

void CParamBlock::ResetAxes(uint16_t mask) {
  for (int axis = 0; axis < kAxisCount; ++axis)
    if (mask & (1u << axis)) records_[axis] = ResetRecord();
}

void CParamBlock::CopyAxis(int from, int to) {
  if (ValidAxis(from) && ValidAxis(to)) records_[to] = records_[from];
}

ParamCheckResult CParamBlock::CheckAll(uint16_t axisMask) const {
  int rows = GetRowCount();
  for (int axis = 0; axis < kAxisCount; ++axis) {
    if (!(axisMask & (1u << axis))) continue;
    for (int row = 0; row < rows; ++row) {
      int no = RowToParam(row);
      int kind = GetParamKind(no, axis);
      if (kind == kKindNotUsed || kind == 7) continue;
      if (!IsInRange(no, axis, GetParamValue(no, axis))) return {false, no, axis};
    }
  }
  return {};
}

namespace {

// The reset record, built once from the parameter table: zero-filled, then
// every parameter's reset value. Parameter 4, the one field whose place
// depends on the family, resets to 0 in both places.
const ParamRecord& ResetRecord() {
  static const ParamRecord record = [] {
    ParamRecord r{};
    for (int no = 0; no < kParamCount; ++no) {
      const ParamDef& d = Def(no);
      uint8_t* p = r.data() + d.offset;
      uint32_t v = static_cast<uint32_t>(d.reset);
      switch (d.store) {
        case Store::None:
        case Store::UnitCode:
        case Store::HomeCode:
        case Store::DirectionBit: break;  // reset value 0
        case Store::U8: *p = static_cast<uint8_t>(v); break;
        case Store::U16: PutLe16(p, static_cast<uint16_t>(v)); break;
        case Store::U32:
        case Store::S32: PutLe32(p, v); break;
        case Store::Bit: PutBits(p, d.shift, 1, static_cast<uint16_t>(v)); break;
        case Store::Bits2: PutBits(p, d.shift, 3, static_cast<uint16_t>(v)); break;
        case Store::Judge2: PutBits(p, d.shift, 3, static_cast<uint16_t>(v == 2 ? 3 : v)); break;
      }
    }
    PutLe16(r.data() + kKeptValueOffset, 100);
    return r;
  }();
  return record;
}

}  // namespace

bool SetGroupUnit(CParamBlock& params, const CAxisLayout& layout, int axis, int unitChoice) {
  if (!params.SetParam(kParamUnit, axis, static_cast<uint32_t>(unitChoice))) return false;
  AlignGroupUnit(params, layout, axis);
  return true;
}

void AlignGroupUnit(CParamBlock& params, const CAxisLayout& layout, int axis) {
  uint32_t entry = layout.GetEntryOfAxis(axis);
  if (!IsGroupEntry(entry)) return;
  AxisList members = AxesOfMask(EntryMask(entry));
  uint16_t code = params.GetUnitCode(axis);
  for (int i = 0; i < members.count; ++i) params.SetUnitCode(members.axes[i], code);
}

}  // namespace axcfg
