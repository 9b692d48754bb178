#pragma once
// Byte addresses of the unit's shared memory that the tool uses (the unit
// and the library count in words: half of these). Bit n = axis n.
#include <cstdint>

namespace axcfg::unitaddr {

constexpr uint32_t kModelCode = 0x004;
constexpr uint32_t kFromWriteCount = 0x100;
constexpr uint32_t kHandshake = 0x102;
constexpr uint32_t kToolMode = 0x120;
constexpr uint32_t kKeepAlive = 0x122;
constexpr uint32_t kToolTimeout = 0x128;
constexpr uint32_t RequestBits(int axis) { return 0x130 + 2u * static_cast<uint32_t>(axis); }
constexpr uint32_t kStatusFrom = 0x140;  // bit 3 = 0 while a FROM write runs; bit 8+n = 0: axis n connected
constexpr uint32_t kStatusBusy = 0x142;  // bit 8+n = 0 while axis n runs
constexpr uint32_t kCurrentValueRequest = 0x180;
constexpr uint32_t NewCurrentValue(int axis) { return 0x190 + 4u * static_cast<uint32_t>(axis); }
constexpr uint32_t kErrorClear = 0x222;
constexpr uint32_t kWarningClear = 0x352;
constexpr uint32_t MonitorState(int axis) { return 0x860 + 0x80u * static_cast<uint32_t>(axis); }
constexpr uint32_t CoordinateOrigin(int axis) { return 0x1094 + 0x5000u * static_cast<uint32_t>(axis); }

constexpr uint16_t kToolModeOn = 0xAA55;
constexpr uint16_t kAlive = 0xAAAA;
constexpr uint16_t kFromRequest = 0x5555;
constexpr uint16_t kFromAcknowledged = 0x6666;
constexpr uint16_t kFromConfirm = 0xAAAA;

// Request bits of an axis request word.
constexpr uint16_t kBitServo = 0x0001;
constexpr uint16_t kBitJogForward = 0x0002;
constexpr uint16_t kBitJogBackward = 0x0004;
constexpr uint16_t kBitHomeReturn = 0x0008;
constexpr uint16_t kBitPositioning = 0x0010;
constexpr uint16_t kBitDecelStop = 0x0100;

}  // namespace axcfg::unitaddr
