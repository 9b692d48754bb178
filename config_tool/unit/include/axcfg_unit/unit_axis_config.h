#pragma once
// The axis configuration the unit itself holds: its layout words, converted
// to axis entries, and its model code with the family it belongs to. The
// monitors show the unit's axes (not the document's), and the transfers
// check a unit against the document with the same reading.
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/axis_layout.h"

namespace axcfg {

class CUnitLink;

// The unit's layout words break the layout rules (a result of its own,
// next to the link's codes).
inline constexpr int kUnitLayoutInvalid = 100000;

struct CUnitAxisConfig {
  UnitLayoutWords words{};
  CAxisLayout layout;
  uint16_t modelCode = 0;
  uint32_t family = 0;
};

// Reads the five layout words at 0x160 and checks them, then the model code
// at 0x004; report mode 2. Returns 0, a link code, or kUnitLayoutInvalid
// (the model is then not read). `config` is only changed on success.
int ReadUnitAxisConfig(CUnitLink& link, CUnitAxisConfig& config);

// One axis column of a monitor: axis index 0..7 and its label.
struct MonitorAxis {
  int axis = 0;
  std::string label;
};

// The used axes of a layout in ascending axis number, with their labels.
std::vector<MonitorAxis> MonitorAxes(const CAxisLayout& layout);

}  // namespace axcfg
