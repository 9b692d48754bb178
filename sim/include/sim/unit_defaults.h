#pragma once
// Factory settings of the simulated unit: parameter records and positioning
// tables at their reset values.
#include "sim/unit_memory.h"

namespace sim {

void WriteDefaultParameters(CUnitMemory& memory, int axis);
void WriteDefaultTable(CUnitMemory& memory, int axis, int table);

}  // namespace sim
