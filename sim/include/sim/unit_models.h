#pragma once
// The unit models the simulator can stand in for.
#include <cstdint>

namespace sim {

struct UnitModelInfo {
  uint16_t code;
  int axes;    // number of axes of the model
  int family;  // 0 network servo, 1 interpolation (pulse output)
};

// Null when the code is not a known model.
const UnitModelInfo* FindUnitModel(uint16_t code);

constexpr uint16_t kDefaultModelCode = 5154;

}  // namespace sim
