#pragma once
// Units of position: the 16-bit unit code of an axis (parameter 0) and what
// it means for showing values. Values stay integers in the least unit.
#include <cstdint>
#include <string>

namespace axcfg {

inline constexpr int kUnitChoiceCount = 7;

enum : uint16_t {
  kUnitPulse = 0x0000,
  kUnitUm01 = 0x0100,       // um, least unit 0.1 um
  kUnitUm1 = 0x0101,        // um, least unit 1 um
  kUnitInch00001 = 0x0200,  // inch, least unit 0.00001 inch
  kUnitInch0001 = 0x0201,   // inch, least unit 0.0001 inch
  kUnitDegree01 = 0x0300,   // degree, least unit 0.1 degree
  kUnitDegree1 = 0x0301,    // degree, least unit 1 degree
};

// Choice index 0..6 of a unit code; any other code reads as choice 0.
int UnitChoiceOfCode(uint16_t code);
// Unit code of a choice index; false for an index outside 0..6.
bool UnitCodeOfChoice(int choice, uint16_t& code);
// Decimals of positions in the unit (0 for an unknown code).
int UnitDecimals(uint16_t code);
// Decimals of speeds: 3 for inch and degree units, else 0.
int UnitSpeedDecimals(uint16_t code);
bool IsInchUnit(uint16_t code);
bool IsInchOrDegreeUnit(uint16_t code);

// "P:pulse", "M:um [Min 0.1]", ... for choice 0..6; empty otherwise.
std::string UnitChoiceText(int choice);
// "pulse", "um  Min. unit 0.1 um", ...
std::string UnitName(uint16_t code);
// The part of the choice text after the colon: "pulse", "um [Min 0.1]", ...
std::string UnitShortText(uint16_t code);
// The speed unit: the unit name up to its first blank ("pulse", "um",
// "inch"); degree units use texts of their own.
std::string UnitSpeedText(uint16_t code);

}  // namespace axcfg
