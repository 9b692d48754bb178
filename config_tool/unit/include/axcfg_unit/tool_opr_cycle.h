#pragma once
// The read cycle of the tool operation windows: the unit-wide words, each
// used axis's current value, unit, deviation and codes, then what only the
// window of that kind shows (JOG speed, home return mode, table numbers).
// Every read with report mode 2; the first failure ends the cycle.
#include <array>
#include <cstdint>
#include <vector>

#include "axcfg_unit/monitor_cycle.h"
#include "axcfg_unit/monitor_snapshot.h"

namespace axcfg {

enum class ToolOprWindow { kJog, kHoming, kPositioning, kTeaching };

struct ToolOprAxisValues {
  uint16_t unitCode = 0;
  int32_t currentValue = 0;  // after unit conversion, in the least unit of unitCode
  int32_t origin = 0;        // coordinate origin (Homing window only)
  int32_t deviation = 0;     // pulses
  uint32_t errorCode = 0;
  uint32_t warningCode = 0;
  uint32_t jogSpeed = 0;        // JOG and Teaching windows
  uint16_t homeMode = 0;        // Homing window
  uint16_t startingTable = 0;   // Positioning window
  uint16_t activeTable = 0;     // Positioning window
};

struct ToolOprSnapshot {
  bool valid = false;
  std::array<SyncGroupState, 2> sync{};
  uint16_t connection = 0;    // 0x140 inverted: bit 8+n = axis n connected
  uint16_t busy = 0;          // 0x142 inverted: bit 8+n = axis n running
  uint16_t errorWarning = 0;  // bit 8+n error on axis n, bit n warning on axis n
  uint16_t speedRate = 0;     // percent
  std::array<ToolOprAxisValues, kAxisCount> axes{};

  bool IsConnected(int axis) const { return (connection >> (8 + axis)) & 1; }
  bool IsBusy(int axis) const { return (busy >> (8 + axis)) & 1; }
  bool HasError(int axis) const { return (errorWarning >> (8 + axis)) & 1; }
  bool HasWarning(int axis) const { return (errorWarning >> axis) & 1; }
};

class CToolOprCycle : public CMonitorCycle {
 public:
  explicit CToolOprCycle(bool mergeReads = true) : CMonitorCycle(mergeReads) {}
  // Reads the values `window` shows for `axes`. `snap` is replaced and marked
  // valid only when every read succeeded.
  int Read(CUnitLink& link, const std::vector<MonitorAxis>& axes, ToolOprWindow window, ToolOprSnapshot& snap);
};

}  // namespace axcfg
