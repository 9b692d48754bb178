#include "axcfg_unit/value_input.h"

#include <array>

#include "axcfg_data/fixed_point.h"
#include "axcfg_data/position_units.h"
#include "axcfg_unit/tool_opr_strings.h"

namespace axcfg {

namespace {

constexpr std::array<uint16_t, 7> kKindUnits = {kUnitPulse,     kUnitUm01,     kUnitUm1,     kUnitInch00001,
                                                kUnitInch0001, kUnitDegree01, kUnitDegree1};
constexpr int64_t kMaxTableNo = 600;
constexpr int64_t kMinJogSpeed = 1;
constexpr int64_t kMaxJogSpeed = 32767000;

std::string Fill(const std::string& pattern, const std::string& value) {
  const auto at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + value + pattern.substr(at + 2);
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

}  // namespace

int PositionKindOfUnit(uint16_t unitCode) {
  for (size_t i = 0; i < kKindUnits.size(); ++i)
    if (kKindUnits[i] == unitCode) return static_cast<int>(i) + kValuePositionFirst;
  return 0;
}

std::string ValueInputRule::RangeText() const {
  const std::string pattern = ToolOprText(kTopRange);
  return Fill(Fill(pattern, FormatFixed(decimals, minimum)), FormatFixed(decimals, maximum));
}

ValueInputRule ValueInputRules(int kind, const std::string& axisLabel, bool coordinateOrigin) {
  RegisterToolOprStrings();  // the unit names come from the same table
  ValueInputRule rule;
  rule.kind = kind;
  unsigned title = kTopTitleChange;
  if (kind >= kValuePositionFirst && kind <= kValuePositionLast) {
    const uint16_t unit = kKindUnits[kind - kValuePositionFirst];
    title = coordinateOrigin ? kTopTitleOrigin : kTopTitleCurrentValue;
    rule.prompt = Fill(ToolOprText(coordinateOrigin ? kTopPromptOrigin : kTopPromptCurrentValue), UnitName(unit));
    rule.decimals = UnitDecimals(unit);
  } else if (kind > kValueJogSpeedBase && kind <= kValueJogSpeedBase + kValuePositionLast) {
    const uint16_t unit = kKindUnits[kind - kValueJogSpeedBase - kValuePositionFirst];
    title = kTopTitleJogSpeed;
    rule.prompt = Fill(ToolOprText(kTopPromptSpeed), UnitSpeedText(unit));
    rule.decimals = UnitSpeedDecimals(unit);
    rule.minimum = kMinJogSpeed;
    rule.maximum = kMaxJogSpeed;
  } else if (kind == kValueStartingTable || kind == kValueTeachTable) {
    title = kind == kValueStartingTable ? kTopTitleStartingTable : kTopTitleTable;
    rule.prompt = ToolOprText(kTopPromptTable);
    rule.minimum = 1;
    rule.maximum = kMaxTableNo;
  } else if (kind == kValueSpeedRate) {
    title = kTopTitleSpeedRate;
    rule.prompt = ToolOprText(kTopPromptRate);
    rule.minimum = 0;
    rule.maximum = 0xFFFF;
  }
  rule.title = ToolOprText(title);
  if (!axisLabel.empty()) rule.title += " - " + axisLabel;
  return rule;
}

ValueInputCheck ParseValueInput(std::string_view text, const ValueInputRule& rule, int64_t& value) {
  if (IsBlank(text)) return ValueInputCheck::kEmpty;
  int64_t parsed = 0;
  if (!ParseFixed(text, rule.decimals, parsed)) return ValueInputCheck::kNotANumber;
  if (parsed < rule.minimum || parsed > rule.maximum) return ValueInputCheck::kOutOfRange;
  value = parsed;
  return ValueInputCheck::kOk;
}

std::string ValueInputMessage(ValueInputCheck check) {
  switch (check) {
    case ValueInputCheck::kEmpty: return ToolOprText(kTopInputEmpty);
    case ValueInputCheck::kNotANumber: return ToolOprText(kTopInputInvalid);
    case ValueInputCheck::kOutOfRange: return ToolOprText(kTopInputOutOfRange);
    case ValueInputCheck::kOk: break;
  }
  return {};
}

}  // namespace axcfg
