#include "axcfg_data/pos_row_text.h"

#include <limits>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_layout.h"
#include "axcfg_data/fixed_point.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/position_units.h"

namespace axcfg {

namespace {

struct PatternInfo {
  uint8_t code;
  char letter;
  unsigned textId2;  // text in a 2-axis group, 0 when not allowed there
  unsigned textId3;  // text in a 3-axis group, 0 when not allowed there
};

constexpr PatternInfo kPatterns[] = {
    {0x00, '0', 20040, 20050}, {0x01, '1', 20041, 20051}, {0x10, 'S', 20042, 0},
    {0x11, 'T', 20043, 0},     {0x20, 'U', 20044, 0},     {0x50, 'A', 0, 20052},
    {0x51, 'B', 0, 20053},     {0x52, 'C', 0, 20054},     {0x53, 'D', 0, 20055},
    {0x54, 'E', 0, 20056},     {0x55, 'F', 0, 20057},     {0x60, 'L', 0, 20060},
    {0x61, 'M', 0, 20061},     {0x62, 'N', 0, 20062},
};

const PatternInfo* FindPattern(uint8_t code) {
  for (const PatternInfo& p : kPatterns)
    if (p.code == code) return &p;
  return nullptr;
}

char FirstChar(std::string_view s) { return s.empty() ? '\0' : s.front(); }

bool ParseInt32(std::string_view field, int32_t& value) {
  int64_t v = 0;
  if (!ParseInteger(field, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v))
    return false;
  value = static_cast<int32_t>(v);
  return true;
}

// Splits the next tab-separated field off the text.
bool NextField(std::string_view& rest, bool& more, std::string_view& field) {
  if (!more) return false;
  size_t tab = rest.find('\t');
  if (tab == std::string_view::npos) {
    field = rest;
    more = false;
  } else {
    field = rest.substr(0, tab);
    rest.remove_prefix(tab + 1);
  }
  return true;
}

}  // namespace

char ControlMethodLetter(uint8_t code) {
  switch (code) {
    case kCtrlEnd: return 'E';
    case kCtrlPass: return 'P';
    case kCtrlContinue: return 'C';
    default: return 'J';
  }
}

uint8_t ControlMethodOfText(std::string_view field) {
  switch (FirstChar(field)) {
    case 'P': return kCtrlPass;
    case 'C': return kCtrlContinue;
    case 'E': return kCtrlEnd;
    default: return kCtrlJog;
  }
}

char PositionModeLetter(uint8_t code) { return code == kPosAbsolute ? 'A' : 'I'; }
char AccelPatternLetter(uint8_t code) { return code == 1 ? 'S' : 'L'; }

char InterpPatternLetter(uint8_t code) {
  const PatternInfo* p = FindPattern(code);
  return p ? p->letter : '0';
}

uint8_t InterpPatternOfText(std::string_view field) {
  char c = FirstChar(field);
  for (const PatternInfo& p : kPatterns)
    if (p.letter == c) return p.code;
  return 0;
}

bool IsInterpPatternAllowed(uint8_t code, int groupAxes) {
  const PatternInfo* p = FindPattern(code);
  if (!p) return false;
  if (groupAxes == 2) return p->textId2 != 0;
  if (groupAxes == 3) return p->textId3 != 0;
  return false;
}

int RowPositionDecimals(const CParamBlock& params, uint32_t entry) {
  AxisList axes = EntryAxes(entry);
  return axes.count ? UnitDecimals(params.GetUnitCode(axes.axes[0])) : 0;
}

int RowSpeedDecimals(const CParamBlock& params, uint32_t entry) {
  AxisList axes = EntryAxes(entry);
  return axes.count ? UnitSpeedDecimals(params.GetUnitCode(axes.axes[0])) : 0;
}

namespace {

// What every field of a row needs, worked out once per row.
struct RowContext {
  AxisList axes;
  int posDecimals = 0;
  int speedDecimals = 0;
};

RowContext MakeContext(const CParamBlock& params, uint32_t entry) {
  RowContext c;
  c.axes = EntryAxes(entry);
  if (c.axes.count > 0) {
    uint16_t unit = params.GetUnitCode(c.axes.axes[0]);
    c.posDecimals = UnitDecimals(unit);
    c.speedDecimals = UnitSpeedDecimals(unit);
  }
  return c;
}

void AppendField(std::string& out, const CPosData& row, const RowContext& c, int column) {
  const PosElement& first = row.Element(c.axes.axes[0]);
  int axis = ColumnAxis(column);
  if (axis >= 0) {
    out += FormatFixed(c.posDecimals, IsMoveColumn(column) ? row.GetMoveAmount(axis) : row.GetAuxPoint(axis));
    return;
  }
  switch (column) {
    case kColControlMethod: out += ControlMethodLetter(first.controlMethod); break;
    case kColJumpNo: out += std::to_string(first.jumpNo); break;
    case kColInterpPattern: out += InterpPatternLetter(first.interpPattern); break;
    case kColPositionMode: out += PositionModeLetter(first.positionMode); break;
    case kColAccelPattern: out += AccelPatternLetter(first.accelPattern); break;
    case kColAccelTime: out += std::to_string(first.accelTime); break;
    case kColDecelTime: out += std::to_string(first.decelTime); break;
    case kColAxisSpeed:
    case kColInterpSpeed: out += FormatFixed(c.speedDecimals, first.targetSpeed); break;
    case kColDwellTime: out += std::to_string(first.dwellTime); break;
    case kColAuxCode: out += std::to_string(first.auxCode); break;
    case kColComment: out += first.comment; break;
    default: break;
  }
}

}  // namespace

std::string RowFieldText(const CPosData& row, const CParamBlock& params, uint32_t entry, int column) {
  RowContext c = MakeContext(params, entry);
  std::string text;
  if (c.axes.count > 0) AppendField(text, row, c, column);
  return text;
}

std::string RowCellText(const CPosData& row, const CParamBlock& params, uint32_t entry, int column) {
  AxisList axes = EntryAxes(entry);
  if (axes.count == 0) return std::string();
  const PosElement& first = row.Element(axes.axes[0]);
  switch (column) {
    case kColControlMethod: {
      static constexpr unsigned kIds[] = {30131, 30129, 30128, 30135};
      return AxisCfgText(kIds[first.controlMethod > 2 ? 3 : first.controlMethod]);
    }
    case kColInterpPattern: {
      // An unknown code shows as pattern 0, as in the row text; a known code
      // that the group cannot use shows as its letter alone.
      const PatternInfo* p = FindPattern(first.interpPattern);
      if (!p) p = &kPatterns[0];
      unsigned id = axes.count == 3 ? p->textId3 : p->textId2;
      return id ? AxisCfgText(id) : std::string(1, p->letter);
    }
    case kColPositionMode: return AxisCfgText(first.positionMode == kPosAbsolute ? 30132 : 30133);
    case kColAccelPattern: return AxisCfgText(first.accelPattern == 1 ? 20101 : 20100);
    default: return RowFieldText(row, params, entry, column);
  }
}

std::string BuildRowText(const CPosData& row, const CParamBlock& params, uint32_t entry) {
  ColumnSet set = GetColumnSet(entry);
  if (set.count == 0) return std::string();
  RowContext c = MakeContext(params, entry);
  std::string text;
  text.reserve(96);
  for (int i = 0; i < set.count; ++i) {
    if (i > 0) text += '\t';
    AppendField(text, row, c, set.columns[i]);
  }
  text += "\r\n";
  return text;
}

bool ParseRowText(CPosData& row, const CParamBlock& params, uint32_t entry, std::string_view text) {
  ColumnSet set = GetColumnSet(entry);
  if (set.count == 0) return false;
  const RowContext c = MakeContext(params, entry);
  const AxisList& members = c.axes;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  const int posDecimals = c.posDecimals;
  const int speedDecimals = c.speedDecimals;

  std::string_view rest = text;
  bool more = true;
  for (int i = 0; i < set.count; ++i) {
    const int column = set.columns[i];
    std::string_view field;
    if (!NextField(rest, more, field)) return false;
    auto forMembers = [&](auto store) {
      for (int m = 0; m < members.count; ++m) store(members.axes[m]);
    };
    if (int axis = ColumnAxis(column); axis >= 0) {
      int64_t v = 0;
      if (!ParseFixed(field, posDecimals, v)) return false;
      if (IsMoveColumn(column)) row.SetMoveAmount(axis, v);
      else row.SetAuxPoint(axis, v);
      continue;
    }
    switch (column) {
      case kColControlMethod: {
        uint8_t code = ControlMethodOfText(field);
        forMembers([&](int a) { row.SetControlMethod(a, code); });
        break;
      }
      case kColInterpPattern: {
        uint8_t code = InterpPatternOfText(field);
        forMembers([&](int a) { row.SetInterpPattern(a, code); });
        break;
      }
      case kColPositionMode: {
        uint8_t code = FirstChar(field) == 'A' ? kPosAbsolute : kPosIncrement;
        forMembers([&](int a) { row.SetPositionMode(a, code); });
        break;
      }
      case kColAccelPattern: {
        uint8_t code = FirstChar(field) == 'S' ? 1 : 0;
        forMembers([&](int a) { row.SetAccelPattern(a, code); });
        break;
      }
      case kColAccelTime:
      case kColDecelTime:
      case kColDwellTime:
      case kColAuxCode: {
        int32_t v = 0;
        if (!ParseInt32(field, v)) return false;
        forMembers([&](int a) {
          if (column == kColAccelTime) row.SetAccelTime(a, v);
          else if (column == kColDecelTime) row.SetDecelTime(a, v);
          else if (column == kColDwellTime) row.SetDwellTime(a, v);
          else row.SetAuxCode(a, v);
        });
        break;
      }
      case kColAxisSpeed:
      case kColInterpSpeed: {
        int64_t v = 0;
        if (!ParseFixed(field, speedDecimals, v)) return false;
        forMembers([&](int a) { row.SetTargetSpeed(a, v); });
        break;
      }
      case kColComment:
        forMembers([&](int a) { row.SetComment(a, field); });
        break;
      default: break;
    }
  }
  return true;
}

}  // namespace axcfg
