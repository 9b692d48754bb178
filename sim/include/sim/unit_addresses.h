#pragma once
// Word addresses of the positioning unit's shared memory. The tools name
// locations by byte address; the unit (and the UR/UW commands) by word address,
// half of it. 32-bit values are two words, low word first.
#include <cstdint>

namespace sim::addr {

constexpr uint32_t kMemoryWords = 0x18000;  // 192 Ki words; the last table ends at 0x145D0
constexpr int kMaxAxes = 8;
constexpr int kTablesPerAxis = 600;
constexpr uint32_t kAxisStride = 0x2800;  // words between the areas of two axes

constexpr uint32_t kModelCode = 0x002;
constexpr uint32_t kFirmwareVersion = 0x005;
constexpr uint32_t kHardwareVersion = 0x006;
constexpr uint32_t kFromWriteCount = 0x080;
constexpr uint32_t kHandshake = 0x081;
constexpr uint32_t kSpeedRate = 0x088;
constexpr uint32_t kToolMode = 0x090;
constexpr uint32_t kKeepAlive = 0x091;
constexpr uint32_t kToolTimeout = 0x094;
constexpr uint32_t RequestBits(int axis) { return 0x098 + axis; }
constexpr uint32_t kStatusConnect = 0x0A0;  // bit 3: FROM write (active low); bit 8+n: connected
constexpr uint32_t kStatusBusy = 0x0A1;     // bit 8+n: running (active low)
constexpr uint16_t kStatusFromIdle = 0x0008;  // kStatusConnect: 0 while a FROM write runs
constexpr uint32_t kStatusSpare = 0x0A2;
constexpr uint32_t kStatusHome = 0x0A3;     // bit n: home input on (active low)
constexpr uint32_t kLayout = 0x0B0;         // five words: groups A..D, independent axes
constexpr uint32_t kSyncGroups = 0x0B7;     // six words: two groups of mode, master, slave
constexpr uint32_t kCurrentValueRequest = 0x0C0;
constexpr uint32_t NewCurrentValue(int axis) { return 0x0C8 + 2 * axis; }
constexpr uint32_t StartTable(int axis) { return 0x100 + axis; }
constexpr uint32_t kErrorFlags = 0x110;
constexpr uint32_t kErrorClear = 0x111;
constexpr uint32_t ErrorCode(int axis) { return 0x12A + 0x10 * axis; }
constexpr uint32_t kWarningFlags = 0x1A8;
constexpr uint32_t kWarningClear = 0x1A9;
constexpr uint32_t WarningCode(int axis) { return 0x1C2 + 0x10 * axis; }
constexpr uint32_t kSyncCondition = 0x2B0;  // two words, bit 0 = asynchronous
constexpr uint32_t kSyncDiff1 = 0x2B8;
constexpr uint32_t kSyncDiff2 = 0x2BA;
constexpr uint32_t kSyncBehavior1 = 0x2BC;
constexpr uint32_t kSyncBehavior2 = 0x2BD;

// Request bits of an axis request word (RequestBits).
constexpr uint16_t kReqServo = 0x0001;
constexpr uint16_t kReqJogPlus = 0x0002;
constexpr uint16_t kReqJogMinus = 0x0004;
constexpr uint16_t kReqHome = 0x0008;
constexpr uint16_t kReqPositioning = 0x0010;
constexpr uint16_t kReqDecelStop = 0x0100;

// Values of the tool-mode, keep-alive and handshake words.
constexpr uint16_t kToolModeOn = 0xAA55;
constexpr uint16_t kKeepAliveOn = 0xAAAA;
constexpr uint16_t kFromRequest = 0x5555;
constexpr uint16_t kFromAck = 0x6666;
constexpr uint16_t kFromConfirm = 0xAAAA;

// Per-axis identification texts (8 words, high byte first) and monitor block.
constexpr uint32_t BrandName(int axis) { return 0x400 + 0x40 * axis; }
constexpr uint32_t AmpModel(int axis) { return 0x408 + 0x40 * axis; }
constexpr uint32_t MotorModel(int axis) { return 0x418 + 0x40 * axis; }
constexpr uint32_t Monitor(int axis) { return 0x430 + 0x40 * axis; }
constexpr int kMonitorWords = 16;
// Offsets (words) inside a monitor block.
constexpr uint32_t kMonState = 0x0;    // bit 0 in position, bit 6 ready, bit 7 servo locked
constexpr uint16_t kMonStateReady = 0x0040;
constexpr uint32_t kMonInputs = 0x1;   // bit 0 limit +, bit 1 limit -, bit 2 home proximity
constexpr uint32_t kMonTorque = 0x2;   // tenths of %
constexpr uint32_t kMonSpeed = 0x3;    // rpm
constexpr uint32_t kMonDeviation = 0x4;
constexpr uint32_t kMonPulseInput = 0x6;
constexpr uint32_t kMonTable = 0x8;
constexpr uint32_t kMonAuxCode = 0x9;
constexpr uint32_t kMonPulses = 0xC;
constexpr uint32_t kMonPosition = 0xE;

constexpr int kParamWords = 76;
constexpr uint32_t Params(int axis) { return 0x800 + kAxisStride * axis; }
constexpr uint32_t CoordinateOrigin(int axis) { return Params(axis) + 74; }
constexpr int kTableWords = 16;
constexpr uint32_t Table(int axis, int k) { return (k + 0x85) * 0x10 + kAxisStride * axis; }

// Word offsets inside the 152-byte parameter record.
namespace param {
constexpr uint32_t kUnitCode = 0;
constexpr uint32_t kPulsesPerRev = 2;     // 32-bit
constexpr uint32_t kMovePerRev = 4;       // 32-bit
constexpr uint32_t kSoftLimitFlags = 11;  // bit 0 positioning, bit 1 home return, bit 2 JOG
constexpr uint32_t kSoftUpper = 12;       // 32-bit signed
constexpr uint32_t kSoftLower = 14;       // 32-bit signed
constexpr uint32_t kCompletionWidth = 27;
constexpr uint32_t kHomeMode = 32;
constexpr uint32_t kHomeAccel = 34;
constexpr uint32_t kHomeDecel = 35;
constexpr uint32_t kHomeSpeed = 36;  // 32-bit
constexpr uint32_t kJogAccel = 42;
constexpr uint32_t kJogDecel = 43;
constexpr uint32_t kJogSpeed = 44;  // 32-bit
constexpr uint32_t kEmergencyDecel = 51;
constexpr uint32_t kErrorDecel = 55;
}  // namespace param

// Word offsets inside a 32-byte positioning table record.
namespace table {
constexpr uint32_t kFlags = 0;       // bit 0 absolute, bit 1 S-shaped
constexpr uint32_t kMethod = 1;      // low byte control method, high byte interpolation pattern
constexpr uint32_t kAccel = 4;
constexpr uint32_t kDecel = 5;
constexpr uint32_t kSpeed = 6;       // 32-bit
constexpr uint32_t kAmount = 8;      // 32-bit signed
constexpr uint32_t kAuxPoint = 10;   // 32-bit signed
constexpr uint32_t kDwell = 12;
constexpr uint32_t kAuxCode = 13;
constexpr uint32_t kJump = 15;
}  // namespace table

}  // namespace sim::addr
