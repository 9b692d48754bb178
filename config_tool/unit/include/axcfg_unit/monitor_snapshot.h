#pragma once
// What one read cycle of the data monitor or the status monitor found in
// the unit. The unit's active-low status words are kept inverted, so a set
// bit always means "yes".
#include <array>
#include <cstdint>

#include "axcfg_data/axis_layout.h"

namespace axcfg {

struct SyncGroupState {
  uint16_t mode = 0;       // 0 mode A, otherwise mode B
  uint16_t master = 0;     // axis bits
  uint16_t slave = 0;      // axis bits
  uint16_t condition = 0;  // bit 0 = asynchronous
};

struct DataAxisValues {
  uint16_t unitCode = 0;
  int32_t currentPulse = 0;
  int32_t currentValue = 0;  // in the least unit of unitCode
  int16_t torque = 0;        // tenths of %
  int16_t speed = 0;         // rpm
  uint16_t activeTable = 0;
  uint16_t auxCode = 0;
  int32_t pulseInput = 0;
  int32_t deviation = 0;
  uint32_t errorCode = 0;
  uint32_t warningCode = 0;
};

struct DataMonitorSnapshot {
  bool valid = false;  // false until a cycle succeeded: every value cell stays empty
  std::array<SyncGroupState, 2> sync{};
  uint16_t connection = 0;    // 0x140 inverted: bit 8+n = axis n connected
  uint16_t busy = 0;          // 0x142 inverted: bit 8+n = axis n running
  uint16_t errorWarning = 0;  // bit 8+n error on axis n, bit n warning on axis n
  std::array<DataAxisValues, kAxisCount> axes{};  // by axis index

  bool IsConnected(int axis) const { return (connection >> (8 + axis)) & 1; }
  bool IsBusy(int axis) const { return (busy >> (8 + axis)) & 1; }
  bool HasError(int axis) const { return (errorWarning >> (8 + axis)) & 1; }
  bool HasWarning(int axis) const { return (errorWarning >> axis) & 1; }
};

// Flags of one axis in the status monitor.
enum StatusFlag : uint16_t {
  kStatConnected = 0x0001,
  kStatServoLocked = 0x0002,
  kStatRunning = 0x0004,
  kStatSpare = 0x0008,  // from 0x144; no row shows it
  kStatInPosition = 0x0010,
  kStatHomeProximity = 0x0100,
  kStatLimitPlus = 0x0200,
  kStatLimitMinus = 0x0400,
};

// A 16-character identification text as the unit sends it, bytes in order.
using IdentText = std::array<uint8_t, 16>;

struct StatusAxisValues {
  uint16_t flags = 0;
  IdentText brand{}, ampModel{}, motorModel{};
};

struct StatusMonitorSnapshot {
  bool valid = false;
  uint16_t modelCode = 0;
  uint16_t fromWrites = 0;
  uint16_t firmware = 0;
  uint16_t hardware = 0;
  uint16_t homeInput = 0;  // 0x146 as read: bit n = 0 while the home input of axis n is on
  std::array<StatusAxisValues, kAxisCount> axes{};

  bool IsHomeOn(int axis) const { return ((homeInput >> axis) & 1) == 0; }
};

}  // namespace axcfg
