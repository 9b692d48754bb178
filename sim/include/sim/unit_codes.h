#pragma once
// Error and warning codes raised by the simulated unit. High word: the
// class (1 operation error, 2 operation warning), low word: the number.
#include <cstdint>

namespace sim::codes {

constexpr uint32_t kSoftLimitUpper = 0x00010021;
constexpr uint32_t kSoftLimitLower = 0x00010022;
constexpr uint32_t kStartTableInvalid = 0x00010031;
constexpr uint32_t kTableDataInvalid = 0x00010032;
constexpr uint32_t kGroupAxisMissing = 0x00010033;

constexpr uint32_t kStartWhileBusy = 0x00020011;
constexpr uint32_t kStartServoOff = 0x00020012;
constexpr uint32_t kServoOffWhileMoving = 0x00020013;
constexpr uint32_t kKeepAliveTimeout = 0x00020021;

}  // namespace sim::codes
