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

// Identification and versions (high byte major, low byte minor).
constexpr uint32_t kFirmwareVersion = 0x00A;
constexpr uint32_t kHardwareVersion = 0x00C;
constexpr uint32_t kStatusSpare = 0x144;  // bit 8+n = 0: the unit's third per-axis status bit
constexpr uint32_t kStatusHome = 0x146;   // bit n = 0 while the home input of axis n is on
// The unit's own layout (groups A..D, independent axes) and synchronous groups.
constexpr uint32_t kLayout = 0x160;
constexpr uint32_t kLayoutWords = 5;
constexpr uint32_t kSyncGroups = 0x16E;  // two groups of {mode, master bits, slave bits}
constexpr uint32_t kSyncGroupWords = 6;
constexpr uint32_t kSyncCondition = 0x560;  // one word per group; bit 0 = asynchronous
// Error and warning flags (bit n = axis n) and codes (32-bit, low word first).
constexpr uint32_t kErrorFlags = 0x220;
constexpr uint32_t kWarningFlags = 0x350;
constexpr uint32_t ErrorCode(int axis) { return 0x254 + 0x20u * static_cast<uint32_t>(axis); }
constexpr uint32_t WarningCode(int axis) { return 0x384 + 0x20u * static_cast<uint32_t>(axis); }
// Per-axis identification texts: 8 words each, high byte first.
constexpr uint32_t kIdentTextWords = 8;
constexpr uint32_t BrandName(int axis) { return 0x800 + 0x80u * static_cast<uint32_t>(axis); }
constexpr uint32_t AmpModel(int axis) { return 0x810 + 0x80u * static_cast<uint32_t>(axis); }
constexpr uint32_t MotorModel(int axis) { return 0x830 + 0x80u * static_cast<uint32_t>(axis); }
// The 16-word monitor block of an axis starts at MonitorState; byte offsets inside it.
constexpr uint32_t kMonitorBlockWords = 16;
namespace mon {
constexpr uint32_t kState = 0x00;       // bit 0 within completion width, bit 6 ready, bit 7 servo locked
constexpr uint32_t kInputs = 0x02;      // bit 0 limit +, bit 1 limit -, bit 2 home proximity
constexpr uint32_t kTorque = 0x04;      // 16-bit signed, tenths of %
constexpr uint32_t kSpeed = 0x06;       // 16-bit signed, rpm
constexpr uint32_t kDeviation = 0x08;   // 32-bit signed
constexpr uint32_t kPulseInput = 0x0C;  // 32-bit signed
constexpr uint32_t kTable = 0x10;       // active table No.
constexpr uint32_t kAuxCode = 0x12;     // auxiliary output code
constexpr uint32_t kPulses = 0x18;      // 32-bit signed current value (pulse)
constexpr uint32_t kPosition = 0x1C;    // 32-bit signed current value in the axis's unit
}  // namespace mon
// First word of an axis's parameter area: its position unit code.
constexpr uint32_t UnitCode(int axis) { return 0x1000 + 0x5000u * static_cast<uint32_t>(axis); }

// Tool operation: the speed rate (percent), each axis's starting table No.,
// active table No. and current value after unit conversion (32-bit), its home
// return mode and JOG target speed (32-bit) in its parameter area.
constexpr uint32_t kSpeedRate = 0x110;
constexpr uint32_t StartingTable(int axis) { return 0x200 + 2u * static_cast<uint32_t>(axis); }
constexpr uint32_t ActiveTable(int axis) { return 0x870 + 0x80u * static_cast<uint32_t>(axis); }
constexpr uint32_t ConvertedValue(int axis) { return 0x87C + 0x80u * static_cast<uint32_t>(axis); }
constexpr uint32_t HomeReturnMode(int axis) { return 0x1040 + 0x5000u * static_cast<uint32_t>(axis); }
constexpr uint32_t JogTargetSpeed(int axis) { return 0x1058 + 0x5000u * static_cast<uint32_t>(axis); }
// Bit of an axis's monitor state word: the servo is ON.
constexpr uint16_t kMonStateServoOn = 0x0080;

// Bits of the status words, 0 when active.
constexpr uint16_t kStatusFromIdle = 0x0008;  // kStatusFrom: 0 while a FROM write runs
constexpr uint16_t AxisStatusBit(int axis) { return static_cast<uint16_t>(1u << (8 + axis)); }
constexpr uint16_t kAllAxesStatus = 0xFF00;
// Bit of an axis's monitor state word: the axis is ready for servo ON.
constexpr uint16_t kMonStateReady = 0x0040;

constexpr uint16_t kToolModeOn = 0xAA55;
constexpr uint16_t kAlive = 0xAAAA;
constexpr uint16_t kFromRequest = 0x5555;
constexpr uint16_t kFromAcknowledged = 0x6666;
constexpr uint16_t kFromConfirm = 0xAAAA;
constexpr uint16_t kFromWriting = 0xAAAA;
constexpr uint16_t kFromFailed = 0xCCCC;

// Request bits of an axis request word.
constexpr uint16_t kBitServo = 0x0001;
constexpr uint16_t kBitJogForward = 0x0002;
constexpr uint16_t kBitJogBackward = 0x0004;
constexpr uint16_t kBitHomeReturn = 0x0008;
constexpr uint16_t kBitPositioning = 0x0010;
constexpr uint16_t kBitDecelStop = 0x0100;

}  // namespace axcfg::unitaddr
