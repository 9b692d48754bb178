#pragma once
// Unit families and the model codes that connected units report.
#include <cstdint>
#include <string>

namespace axcfg {

// Unit family: decides the parameter set, the home return methods, the J
// control method and which units a download accepts.
enum : uint32_t {
  kFamilySrlx = 0,    // network-servo type
  kFamilyInterp = 1,  // interpolation type (pulse output)
};

// String id of a family's name; 0 for an unknown family.
unsigned GetFamilyNameId(uint32_t family);
std::string GetFamilyName(uint32_t family);

// Model codes: the number of axes (0 for an unknown code), the name (empty
// for an unknown code) and the family of the unit.
bool IsKnownModel(uint16_t modelCode);
int GetModelAxisCount(uint16_t modelCode);
unsigned GetModelNameId(uint16_t modelCode);
std::string GetModelName(uint16_t modelCode);
uint32_t GetModelFamily(uint16_t modelCode);

}  // namespace axcfg
