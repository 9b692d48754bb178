// The axes in tool operation: servo, JOG with keep-alive supervision,
// positioning through tables, interpolation groups, home return, software
// limits, deceleration stop, current value and speed rate.
#include "unit_fixture.h"

namespace {

using namespace sim;
using simtest::UnitFixture;

constexpr uint16_t kServo = 0x0001, kJogPlus = 0x0002, kJogMinus = 0x0004, kHome = 0x0008, kStart = 0x0010,
                   kDecelStop = 0x0100;

class MotionTest : public UnitFixture {};

TEST_F(MotionTest, RequestsNeedToolModeAndServo) {
  // outside tool operation mode nothing is taken
  SetRequestBits(0, kServo | kJogPlus);
  Wait(200);
  EXPECT_FALSE(C().Word(addr::Monitor(0)) & 0x0080);
  EXPECT_FALSE(Busy(0));
  ClearRequestBits(0, kServo | kJogPlus);
  Wait(10);
  EnterToolMode();
  EXPECT_TRUE(C().Word(addr::Monitor(0)) & 0x0040);  // ready for servo ON
  // JOG with the servo off is refused with a warning
  SetRequestBits(0, kJogPlus);
  WaitKeepingAlive(200);
  EXPECT_FALSE(Busy(0));
  EXPECT_EQ(WarningCode(0), codes::kStartServoOff);
  EXPECT_EQ(C().Word(addr::kWarningFlags), 0x0001);
  C().SetWord(addr::kWarningClear, 0x0001);
  Wait(1);
  EXPECT_EQ(WarningCode(0), 0u);
  EXPECT_EQ(C().Word(addr::kWarningFlags), 0);
  EXPECT_EQ(C().Word(addr::kWarningClear), 0);
  // a held request does not start by itself once the servo is on
  ServoOn(0);
  WaitKeepingAlive(200);
  EXPECT_FALSE(Busy(0));
  ClearRequestBits(0, kJogPlus);
  Wait(10);
  SetRequestBits(0, kJogPlus);
  WaitKeepingAlive(200);
  EXPECT_TRUE(Busy(0));
}

TEST_F(MotionTest, JogRunsWhileHeldAndStopsWhenReleased) {
  EnterToolMode();
  ServoOn(1);
  SetRequestBits(1, kJogMinus);
  WaitKeepingAlive(1000);
  EXPECT_TRUE(Busy(1));
  // JOG target speed 1000/s with 100 ms ramps
  EXPECT_NEAR(Position(1), -950, 30);
  EXPECT_TRUE(C().Word(addr::Monitor(1)) & 0x0080);
  EXPECT_FALSE(C().Word(addr::Monitor(1)) & 0x0001);  // not in position while moving
  ClearRequestBits(1, kJogMinus);
  WaitKeepingAlive(300);
  EXPECT_FALSE(Busy(1));
  const int32_t stopped = Position(1);
  EXPECT_NEAR(stopped, -1000, 30);
  EXPECT_TRUE(C().Word(addr::Monitor(1)) & 0x0001);
  EXPECT_EQ(C().Word(addr::kToolMode), 0xAA55);
  // the JOG target speed comes from the axis's parameter record
  C().SetLong(addr::Params(1) + addr::param::kJogSpeed, 4000);
  SetRequestBits(1, kJogPlus);
  WaitKeepingAlive(1000);
  EXPECT_NEAR(Position(1) - stopped, 3800, 100);
}

TEST_F(MotionTest, JogStopsAndToolModeEndsWhenKeepAliveStops) {
  EnterToolMode(2);
  ServoOn(0);
  SetRequestBits(0, kJogPlus);
  WaitKeepingAlive(1000);
  ASSERT_TRUE(Busy(0));
  // the tool goes silent; monitor reads are not keep-alive writes
  int stoppedAfter = -1;
  for (int t = 0; t < 4000; t += 100) {
    Wait(100);
    if (!Busy(0)) {
      stoppedAfter = t + 100;
      break;
    }
  }
  EXPECT_GE(stoppedAfter, 2000);
  EXPECT_LE(stoppedAfter, 2300);
  EXPECT_EQ(C().Word(addr::kToolMode), 0);
  EXPECT_EQ(C().Word(addr::kKeepAlive), 0);
  EXPECT_EQ(WarningCode(0), codes::kKeepAliveTimeout);
  EXPECT_EQ(C().Word(addr::RequestBits(0)) & (kJogPlus | kJogMinus), 0);
  const int32_t at = Position(0);
  Wait(1000);
  EXPECT_EQ(Position(0), at);
  // a standing axis needs no keep-alive
  EnterToolMode(1);
  Wait(5000);
  EXPECT_EQ(C().Word(addr::kToolMode), 0xAA55);
}

TEST_F(MotionTest, CancellingToolModeStopsTheAxes) {
  EnterToolMode();
  ServoOn(2);
  SetRequestBits(2, kJogPlus);
  WaitKeepingAlive(500);
  C().SetWord(addr::kKeepAlive, 0);
  C().SetWord(addr::kToolMode, 0);
  Wait(300);
  EXPECT_FALSE(Busy(2));
  EXPECT_EQ(WarningCode(2), 0u);
}

TEST_F(MotionTest, PositioningRunsThroughThreeTables) {
  EnterToolMode();
  ServoOn(0);
  // table 5: continuation point, +1000, dwell 200 ms; table 6: pass point to
  // 3000; table 7: end point to 5000. Fast ramps (10 ms).
  SetTable(0, 4, 2, 1000, false, 10000, 200, 10, 10, 0, 0, 11);
  SetTable(0, 5, 1, 3000, true, 10000, 0, 10, 10, 0, 0, 12);
  SetTable(0, 6, 0, 5000, true, 20000, 0, 10, 10, 0, 0, 13);
  C().SetLong(addr::NewCurrentValue(0), 500);
  C().SetWord(addr::kCurrentValueRequest, 0x0001);
  Wait(1);
  EXPECT_EQ(Position(0), 500);
  EXPECT_EQ(C().Word(addr::kCurrentValueRequest), 0);
  C().SetWord(addr::StartTable(0), 5);
  SetRequestBits(0, kStart);
  WaitKeepingAlive(150);
  EXPECT_EQ(C().Word(addr::RequestBits(0)) & kStart, 0);  // taken
  EXPECT_EQ(Position(0), 1500);                            // arrived, dwelling
  EXPECT_TRUE(Busy(0));
  EXPECT_EQ(C().Word(addr::Monitor(0) + addr::kMonTable), 5);
  EXPECT_EQ(C().Word(addr::Monitor(0) + addr::kMonAuxCode), 11);
  WaitKeepingAlive(200);
  EXPECT_EQ(C().Word(addr::Monitor(0) + addr::kMonTable), 6);
  WaitKeepingAlive(250);
  EXPECT_EQ(C().Word(addr::Monitor(0) + addr::kMonTable), 7);  // passed 3000 without stopping
  EXPECT_GT(Position(0), 3000);
  WaitKeepingAlive(300);
  EXPECT_FALSE(Busy(0));
  EXPECT_EQ(Position(0), 5000);
  EXPECT_EQ(C().Word(addr::Monitor(0) + addr::kMonTable), 7);
  EXPECT_EQ(C().Word(addr::Monitor(0) + addr::kMonAuxCode), 13);
  // the pulse value follows the unit conversion (pulse unit: the same)
  EXPECT_EQ(C().Long(addr::Monitor(0) + addr::kMonPulses), 5000);
}

TEST_F(MotionTest, JumpNumberAndDecelerationStop) {
  EnterToolMode();
  ServoOn(0);
  // table 1 goes back and forth with table 2 through the jump number
  SetTable(0, 0, 2, 1000, true, 10000, 0, 10, 10, 0, 2);
  SetTable(0, 1, 2, 0, true, 10000, 0, 10, 10, 0, 1);
  C().SetWord(addr::StartTable(0), 1);
  SetRequestBits(0, kStart);
  WaitKeepingAlive(1000);
  EXPECT_TRUE(Busy(0));  // still cycling
  SetRequestBits(0, kDecelStop);
  WaitKeepingAlive(100);
  EXPECT_FALSE(Busy(0));
  EXPECT_EQ(C().Word(addr::RequestBits(0)) & kDecelStop, 0);
  EXPECT_EQ(C().Word(addr::RequestBits(0)) & kServo, kServo);
}

TEST_F(MotionTest, TwoAxisInterpolationMovesTogether) {
  // group A = axes 1 and 2, the rest independent
  C().Write(addr::kLayout, {0x03, 0, 0, 0, 0xFC});
  EnterToolMode();
  ServoOn(0);
  ServoOn(1);
  SetTable(0, 0, 0, 3000, true, 5000, 0, 10, 10, 0x00);
  SetAmount(1, 0, 4000);
  C().SetWord(addr::StartTable(0), 1);
  // started through the second axis of the group: the group runs
  SetRequestBits(1, kStart);
  WaitKeepingAlive(500);
  EXPECT_TRUE(Busy(0));
  EXPECT_TRUE(Busy(1));
  const int32_t x = Position(0), y = Position(1);
  EXPECT_GT(x, 1000);
  EXPECT_NEAR(static_cast<double>(y) / x, 4.0 / 3.0, 0.01);
  // composite speed 5000/s along a path of 5000
  WaitKeepingAlive(600);
  EXPECT_FALSE(Busy(0));
  EXPECT_FALSE(Busy(1));
  EXPECT_EQ(Position(0), 3000);
  EXPECT_EQ(Position(1), 4000);
  EXPECT_EQ(Position(2), 0);
}

TEST_F(MotionTest, SoftwareLimitRaisesAnError) {
  EnterToolMode();
  ServoOn(2);
  const uint32_t params = addr::Params(2);
  C().SetWord(params + addr::param::kSoftLimitFlags, 0x0005);  // positioning and JOG
  C().SetLong(params + addr::param::kSoftUpper, 2000);
  C().SetLong(params + addr::param::kSoftLower, -100);
  SetTable(2, 0, 0, 5000, true, 10000);
  C().SetWord(addr::StartTable(2), 1);
  SetRequestBits(2, kStart);
  WaitKeepingAlive(100);
  EXPECT_FALSE(Busy(2));
  EXPECT_EQ(Position(2), 0);
  EXPECT_EQ(ErrorCode(2), codes::kSoftLimitUpper);
  EXPECT_EQ(C().Word(addr::kErrorFlags), 0x0004);
  EXPECT_FALSE(C().Word(addr::Monitor(2)) & 0x0040);  // not ready while in error
  // nothing starts while the error stands
  SetRequestBits(2, kJogPlus);
  WaitKeepingAlive(200);
  EXPECT_FALSE(Busy(2));
  ClearRequestBits(2, kJogPlus);
  C().SetWord(addr::kErrorClear, 0x0004);
  Wait(1);
  EXPECT_EQ(ErrorCode(2), 0u);
  EXPECT_EQ(C().Word(addr::kErrorFlags), 0);
  // JOG runs into the upper limit and stops there with the error
  SetRequestBits(2, kJogPlus);
  WaitKeepingAlive(2500);
  EXPECT_FALSE(Busy(2));
  EXPECT_EQ(Position(2), 2000);
  EXPECT_EQ(ErrorCode(2), codes::kSoftLimitUpper);
  // other axes are not affected
  EXPECT_EQ(ErrorCode(1), 0u);
}

TEST_F(MotionTest, HomeReturnGoesToTheCoordinateOrigin) {
  EnterToolMode();
  ServoOn(3);
  C().SetLong(addr::CoordinateOrigin(3), 250);
  C().SetLong(addr::NewCurrentValue(3), -750);
  C().SetWord(addr::kCurrentValueRequest, 0x0008);
  Wait(1);
  EXPECT_EQ(Position(3), -750);
  EXPECT_TRUE(C().Word(addr::kStatusHome) & 0x0008);  // home input off
  SetRequestBits(3, kHome);
  WaitKeepingAlive(500);
  EXPECT_TRUE(Busy(3));
  WaitKeepingAlive(800);
  EXPECT_FALSE(Busy(3));
  EXPECT_EQ(Position(3), 250);
  EXPECT_FALSE(C().Word(addr::kStatusHome) & 0x0008);  // home input on (active low)
}

TEST_F(MotionTest, SpeedRateScalesTheSpeed) {
  EnterToolMode();
  ServoOn(0);
  EXPECT_EQ(C().Word(addr::kSpeedRate), 100);
  C().SetWord(addr::kSpeedRate, 50);
  SetRequestBits(0, kJogPlus);
  WaitKeepingAlive(1000);
  EXPECT_NEAR(Position(0), 475, 30);
}

TEST_F(MotionTest, ServoOffStopsAMovingAxis) {
  EnterToolMode();
  ServoOn(0);
  SetRequestBits(0, kJogPlus);
  WaitKeepingAlive(300);
  ClearRequestBits(0, kServo);
  Wait(1);
  EXPECT_FALSE(Busy(0));
  EXPECT_FALSE(C().Word(addr::Monitor(0)) & 0x0080);
  EXPECT_EQ(WarningCode(0), codes::kServoOffWhileMoving);
}

TEST_F(MotionTest, StopWinsOverAStartTakenTogether) {
  EnterToolMode();
  ServoOn(0);
  SetTable(0, 0, 0, 5000, true, 1000);
  C().SetWord(addr::StartTable(0), 1);
  SetRequestBits(0, kStart | kDecelStop);
  WaitKeepingAlive(100);
  EXPECT_FALSE(Busy(0));
  EXPECT_EQ(C().Word(addr::RequestBits(0)), kServo);
  EXPECT_EQ(Position(0), 0);
}

TEST_F(MotionTest, InvalidTableAndStartNumberRaiseErrors) {
  EnterToolMode();
  ServoOn(0);
  C().SetWord(addr::StartTable(0), 0);
  SetRequestBits(0, kStart);
  Wait(1);
  EXPECT_EQ(ErrorCode(0), codes::kStartTableInvalid);
  C().SetWord(addr::kErrorClear, 1);
  // a continuation point in the last table has nowhere to go
  SetTable(0, 599, 2, 100, true, 1000);
  C().SetWord(addr::StartTable(0), 600);
  SetRequestBits(0, kStart);
  Wait(1);
  EXPECT_EQ(ErrorCode(0), codes::kTableDataInvalid);
  EXPECT_FALSE(Busy(0));
}

}  // namespace

namespace {

// A two-axis pulse-output unit with only axis 2 connected.
class PulseUnitTest : public UnitFixture {
 protected:
  static PlcConfig Config() {
    PlcConfig c;
    c.unit.model = 5157;
    c.unit.axes = 0x02;
    return c;
  }
  PulseUnitTest() : UnitFixture(Config()) {}
};

TEST_F(PulseUnitTest, MovesWithoutServoAndShowsOnlyConnectedAxes) {
  EXPECT_EQ(C().Word(addr::kStatusConnect) >> 8, 0xFD);
  EXPECT_EQ(C().Read(addr::BrandName(1), 8), std::vector<uint16_t>(8, 0x2020));  // no amplifier texts
  EXPECT_EQ(C().Read(addr::Monitor(0), addr::kMonitorWords), std::vector<uint16_t>(addr::kMonitorWords, 0));
  EXPECT_TRUE(C().Word(addr::Monitor(1)) & 0x0080);  // pulse output: always locked
  EnterToolMode();
  SetRequestBits(1, kJogPlus);
  WaitKeepingAlive(500);
  EXPECT_TRUE(Busy(1));
  // an axis that is not connected does nothing
  SetRequestBits(0, kJogPlus);
  WaitKeepingAlive(200);
  EXPECT_FALSE(Busy(0));
  EXPECT_EQ(Position(0), 0);
}

}  // namespace
