// The unit link names the unit's memory by byte address, the simulated unit
// by word address. A location both name must be the same word, and the words
// and bits both write or test must carry the same values.
#include <gtest/gtest.h>

#include "axcfg_unit/unit_addresses.h"
#include "sim/unit_addresses.h"

namespace tool = axcfg::unitaddr;
namespace unit = sim::addr;

namespace {

uint32_t Word(uint32_t byteAddress) { return byteAddress / 2; }

}  // namespace

TEST(UnitAddresses, EveryByteAddressIsEvenAndTheSameWordAsTheSimulatedUnit) {
  const struct {
    const char* name;
    uint32_t byteAddress;
    uint32_t wordAddress;
  } fixed[] = {
      {"model code", tool::kModelCode, unit::kModelCode},
      {"firmware version", tool::kFirmwareVersion, unit::kFirmwareVersion},
      {"hardware version", tool::kHardwareVersion, unit::kHardwareVersion},
      {"FROM write count", tool::kFromWriteCount, unit::kFromWriteCount},
      {"handshake", tool::kHandshake, unit::kHandshake},
      {"tool mode", tool::kToolMode, unit::kToolMode},
      {"keep-alive", tool::kKeepAlive, unit::kKeepAlive},
      {"tool time-out", tool::kToolTimeout, unit::kToolTimeout},
      {"FROM and connection status", tool::kStatusFrom, unit::kStatusConnect},
      {"busy status", tool::kStatusBusy, unit::kStatusBusy},
      {"spare status", tool::kStatusSpare, unit::kStatusSpare},
      {"home status", tool::kStatusHome, unit::kStatusHome},
      {"axis layout", tool::kLayout, unit::kLayout},
      {"synchronous groups", tool::kSyncGroups, unit::kSyncGroups},
      {"synchronous condition", tool::kSyncCondition, unit::kSyncCondition},
      {"error flags", tool::kErrorFlags, unit::kErrorFlags},
      {"warning flags", tool::kWarningFlags, unit::kWarningFlags},
      {"current value request", tool::kCurrentValueRequest, unit::kCurrentValueRequest},
      {"error clear", tool::kErrorClear, unit::kErrorClear},
      {"warning clear", tool::kWarningClear, unit::kWarningClear},
  };
  for (const auto& f : fixed) {
    EXPECT_EQ(f.byteAddress % 2, 0u) << f.name;
    EXPECT_EQ(Word(f.byteAddress), f.wordAddress) << f.name;
  }
  for (int axis = 0; axis < unit::kMaxAxes; ++axis) {
    SCOPED_TRACE("axis " + std::to_string(axis));
    EXPECT_EQ(Word(tool::RequestBits(axis)), unit::RequestBits(axis));
    EXPECT_EQ(Word(tool::NewCurrentValue(axis)), unit::NewCurrentValue(axis));
    EXPECT_EQ(Word(tool::MonitorState(axis)), unit::Monitor(axis) + unit::kMonState);
    EXPECT_EQ(Word(tool::CoordinateOrigin(axis)), unit::CoordinateOrigin(axis));
    EXPECT_EQ(Word(tool::UnitCode(axis)), unit::Params(axis) + unit::param::kUnitCode);
    EXPECT_EQ(Word(tool::ErrorCode(axis)), unit::ErrorCode(axis));
    EXPECT_EQ(Word(tool::WarningCode(axis)), unit::WarningCode(axis));
    EXPECT_EQ(Word(tool::BrandName(axis)), unit::BrandName(axis));
    EXPECT_EQ(Word(tool::AmpModel(axis)), unit::AmpModel(axis));
    EXPECT_EQ(Word(tool::MotorModel(axis)), unit::MotorModel(axis));
  }
  // Offsets inside an axis's monitor block.
  const struct {
    const char* name;
    uint32_t byteOffset;
    uint32_t wordOffset;
  } monitor[] = {
      {"state", tool::mon::kState, unit::kMonState},
      {"inputs", tool::mon::kInputs, unit::kMonInputs},
      {"torque", tool::mon::kTorque, unit::kMonTorque},
      {"speed", tool::mon::kSpeed, unit::kMonSpeed},
      {"deviation", tool::mon::kDeviation, unit::kMonDeviation},
      {"pulse input", tool::mon::kPulseInput, unit::kMonPulseInput},
      {"table", tool::mon::kTable, unit::kMonTable},
      {"auxiliary code", tool::mon::kAuxCode, unit::kMonAuxCode},
      {"pulses", tool::mon::kPulses, unit::kMonPulses},
      {"position", tool::mon::kPosition, unit::kMonPosition},
  };
  for (const auto& m : monitor) EXPECT_EQ(Word(m.byteOffset), m.wordOffset) << m.name;
  EXPECT_EQ(tool::kMonitorBlockWords, static_cast<uint32_t>(unit::kMonitorWords));
}

TEST(UnitAddresses, WordValuesAndBitsAgreeWithTheSimulatedUnit) {
  EXPECT_EQ(tool::kToolModeOn, unit::kToolModeOn);
  EXPECT_EQ(tool::kAlive, unit::kKeepAliveOn);
  EXPECT_EQ(tool::kFromRequest, unit::kFromRequest);
  EXPECT_EQ(tool::kFromAcknowledged, unit::kFromAck);
  EXPECT_EQ(tool::kFromConfirm, unit::kFromConfirm);

  EXPECT_EQ(tool::kStatusFromIdle, unit::kStatusFromIdle);
  EXPECT_EQ(tool::kMonStateReady, unit::kMonStateReady);
  // The axes' flags sit in the high byte of the status words, clear of the FROM bit.
  for (int axis = 0; axis < unit::kMaxAxes; ++axis)
    EXPECT_EQ(tool::AxisStatusBit(axis) & ~tool::kAllAxesStatus & 0xFFFF, 0);
  EXPECT_EQ(tool::kAllAxesStatus & tool::kStatusFromIdle, 0);

  EXPECT_EQ(tool::kBitServo, unit::kReqServo);
  EXPECT_EQ(tool::kBitJogForward, unit::kReqJogPlus);
  EXPECT_EQ(tool::kBitJogBackward, unit::kReqJogMinus);
  EXPECT_EQ(tool::kBitHomeReturn, unit::kReqHome);
  EXPECT_EQ(tool::kBitPositioning, unit::kReqPositioning);
  EXPECT_EQ(tool::kBitDecelStop, unit::kReqDecelStop);
}
