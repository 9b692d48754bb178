#include "axcfg_data/position_units.h"

#include "axcfg_data/axcfg_strings.h"

namespace axcfg {

namespace {

struct UnitInfo {
  uint16_t code;
  unsigned choiceTextId;
  unsigned nameId;
  int decimals;
};

constexpr UnitInfo kUnits[kUnitChoiceCount] = {
    {kUnitPulse, 21116, 21171, 0},     {kUnitUm01, 21117, 21172, 1},
    {kUnitUm1, 21129, 21175, 0},       {kUnitInch00001, 21118, 21173, 5},
    {kUnitInch0001, 21130, 21176, 4},  {kUnitDegree01, 21119, 21174, 1},
    {kUnitDegree1, 21131, 21177, 0},
};

int FindUnit(uint16_t code) {
  for (int i = 0; i < kUnitChoiceCount; ++i)
    if (kUnits[i].code == code) return i;
  return -1;
}

}  // namespace

int UnitChoiceOfCode(uint16_t code) {
  int i = FindUnit(code);
  return i < 0 ? 0 : i;
}

bool UnitCodeOfChoice(int choice, uint16_t& code) {
  if (choice < 0 || choice >= kUnitChoiceCount) return false;
  code = kUnits[choice].code;
  return true;
}

int UnitDecimals(uint16_t code) {
  int i = FindUnit(code);
  return i < 0 ? 0 : kUnits[i].decimals;
}

bool IsInchUnit(uint16_t code) { return code == kUnitInch00001 || code == kUnitInch0001; }

bool IsInchOrDegreeUnit(uint16_t code) {
  return IsInchUnit(code) || code == kUnitDegree01 || code == kUnitDegree1;
}

int UnitSpeedDecimals(uint16_t code) { return IsInchOrDegreeUnit(code) ? 3 : 0; }

std::string UnitChoiceText(int choice) {
  if (choice < 0 || choice >= kUnitChoiceCount) return std::string();
  return AxisCfgText(kUnits[choice].choiceTextId);
}

std::string UnitName(uint16_t code) { return AxisCfgText(kUnits[UnitChoiceOfCode(code)].nameId); }

std::string UnitShortText(uint16_t code) {
  std::string text = UnitChoiceText(UnitChoiceOfCode(code));
  size_t colon = text.find(':');
  return colon == std::string::npos ? text : text.substr(colon + 1);
}

std::string UnitSpeedText(uint16_t code) {
  if (code == kUnitDegree01) return AxisCfgText(21178);
  if (code == kUnitDegree1) return AxisCfgText(21179);
  std::string name = UnitName(code);
  size_t blank = name.find(' ');
  return blank == std::string::npos ? name : name.substr(0, blank);
}

}  // namespace axcfg
