#include <gtest/gtest.h>

#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"

using namespace axcfg;
using axcfg_test::FakeUnit;
using axcfg_test::RecordingUi;

namespace {

struct RequestTest : ::testing::Test {
  FakeUnit unit;
  RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  void SetUp() override {
    link.Open(nullptr, false, false, false);
    unit.Poke(0xA0, 0x0008);  // no FROM write running
    unit.Poke(0xA1, 0xFF00);  // no axis running
  }
  template <typename Fn>
  std::pair<int, int> Refusal(Fn fn) {
    try {
      fn();
    } catch (const CToolOprException& e) {
      return {e.RequestCode(), e.ErrorCode()};
    }
    return {-1, -1};
  }
};

TEST_F(RequestTest, ToolModeRequestChecksTheModeWordAndBusyAxes) {
  ASSERT_EQ(link.RequestToolMode(), 0);
  EXPECT_EQ(unit.Peek(0x90), 0xAA55);
  bool on = false;
  ASSERT_EQ(link.IsToolModeOn(on), 0);
  EXPECT_TRUE(on);
  EXPECT_EQ(Refusal([&] { link.RequestToolMode(); }), std::make_pair(0x00, 1));
  unit.Poke(0x90, 0x1234);
  EXPECT_EQ(Refusal([&] { link.RequestToolMode(); }), std::make_pair(0x00, 2));
  unit.Poke(0xA1, 0xFB00);  // axis 2 running
  EXPECT_EQ(Refusal([&] { link.RequestToolMode(); }), std::make_pair(0x00, 3));
  unit.Poke(0x90, 0);
  EXPECT_EQ(Refusal([&] { link.RequestToolMode(); }), std::make_pair(0x00, 3));
  unit.Poke(0x90, 0xAA55);
  unit.Poke(0x91, 0xAAAA);
  ASSERT_EQ(link.CancelToolMode(), 0);
  EXPECT_EQ(unit.Peek(0x91), 0);
  EXPECT_EQ(unit.Peek(0x90), 0);
}

TEST_F(RequestTest, AxisRequestsSetTheirBitsAfterTheirChecks) {
  unit.Poke(0x430 + 0x40 * 2, 0x0040);  // axis 2 ready
  unit.Poke(0x98 + 2, 0x0100);
  ASSERT_EQ(link.ServoOnOff(2, true), 0);
  EXPECT_EQ(unit.Peek(0x9A), 0x0101);
  ASSERT_EQ(link.StartJog(2, true), 0);
  EXPECT_EQ(unit.Peek(0x9A), 0x0103);
  ASSERT_EQ(link.StopJog(2, true), 0);
  EXPECT_EQ(unit.Peek(0x9A), 0x0101);
  ASSERT_EQ(link.StartHomeReturn(2), 0);
  ASSERT_EQ(link.StartPositioning(2), 0);
  EXPECT_EQ(unit.Peek(0x9A), 0x0119);
  ASSERT_EQ(link.ServoOnOff(2, false), 0);
  EXPECT_EQ(unit.Peek(0x9A), 0x0118);
  // Not ready: servo refused with error 4.
  EXPECT_EQ(Refusal([&] { link.ServoOnOff(3, true); }), std::make_pair(0x12, 4));
  // Running: refused with error 3, except JOG and deceleration stop which only check FROM.
  unit.Poke(0xA1, 0xFB00);
  EXPECT_EQ(Refusal([&] { link.StartPositioning(2); }), std::make_pair(0x14, 3));
  EXPECT_EQ(link.DecelerationStop(2), 0);
  EXPECT_EQ(unit.Peek(0x9A) & 0x0100, 0x0100);
  EXPECT_EQ(link.StartJog(2, false), 0);
  // FROM write running: everything refused with error 5.
  unit.Poke(0xA0, 0x0000);
  EXPECT_EQ(Refusal([&] { link.StartJog(2, false); }), std::make_pair(0x15, 5));
  EXPECT_EQ(Refusal([&] { link.WriteCurrentValue(0, 5); }), std::make_pair(0x1B, 5));
  EXPECT_EQ(link.StartJog(9, true), kLinkBadArgument);
  // A read failure in a check is returned, not thrown.
  unit.failAddress = 0xA0;
  EXPECT_EQ(link.StartJog(1, true), -10012);
}

TEST_F(RequestTest, CurrentValueOriginKeepAliveAndClears) {
  ASSERT_EQ(link.WriteCurrentValue(1, -2), 0);
  EXPECT_EQ(unit.Peek(0xCA), 0xFFFE);
  EXPECT_EQ(unit.Peek(0xCB), 0xFFFF);
  EXPECT_EQ(unit.Peek(0xC0), 0x0002);
  ASSERT_EQ(link.WriteCoordinateOrigin(1, 0x12345678), 0);
  EXPECT_EQ(unit.Peek(0x84A + 0x2800), 0x5678);
  EXPECT_EQ(unit.Peek(0x84B + 0x2800), 0x1234);
  uint8_t status = 0;
  ASSERT_EQ(link.KeepAlive(status, true), 0);
  EXPECT_EQ(status, 0x10);  // tool mode is not on: nothing written
  EXPECT_EQ(unit.Peek(0x91), 0);
  unit.Poke(0x90, 0xAA55);
  status = 0;
  ASSERT_EQ(link.KeepAlive(status, true), 0);
  EXPECT_EQ(status, 0x01);
  EXPECT_EQ(unit.Peek(0x91), 0xAAAA);
  ASSERT_EQ(link.ClearErrorWarning(0x81, true), 0);
  EXPECT_EQ(unit.Peek(0x111), 0x81);
  ASSERT_EQ(link.ClearErrorWarning(0x02, false), 0);
  EXPECT_EQ(unit.Peek(0x1A9), 0x02);
  ASSERT_EQ(link.WriteToolTimeout(0x12345), 0);
  EXPECT_EQ(unit.Peek(0x94), 0x2345);
}

TEST_F(RequestTest, FromHandshake) {
  ASSERT_EQ(link.RequestWriteFROM(), 0);
  EXPECT_EQ(unit.Peek(0x81), 0xAAAA);
  // No acknowledgement: given up, handshake word cleared.
  unit.Poke(0x81, 0);
  unit.ackAfterReads = 0;
  unit.handshakeReads = 0;
  EXPECT_EQ(link.RequestWriteFROM(50), kLinkFromNotAcknowledged);
  EXPECT_EQ(unit.Peek(0x81), 0);
  // The wait pauses between reads rather than flooding the link.
  EXPECT_LE(unit.handshakeReads, 20);
  unit.handshakeReads = 0;
  link.SetFromAckLimit(30);
  EXPECT_EQ(link.RequestWriteFROM(), kLinkFromNotAcknowledged);
  EXPECT_GE(unit.handshakeReads, 2);
  // A refusal answer (0xCCCC) ends at once.
  unit.ackAfterReads = 1;
  unit.ackValue = 0xCCCC;
  EXPECT_EQ(link.RequestWriteFROM(), kLinkFromNotAcknowledged);
  EXPECT_EQ(unit.Peek(0x81), 0);
  unit.Poke(0xA0, 0);
  EXPECT_EQ(Refusal([&] { link.RequestWriteFROM(); }), std::make_pair(0x05, 5));
}

TEST(ToolOprException, Texts) {
  CToolOprException e(0x16, 0x2A);
  EXPECT_EQ(e.GetRequestText(), "Request home return");
  EXPECT_EQ(e.ErrorText(), "Undefined  Tool operation error [2A]");
  char buf[10];
  EXPECT_TRUE(e.GetErrorMessage(buf, sizeof buf));
  EXPECT_STREQ(buf, "Undefined");
  EXPECT_EQ(CToolOprException(0x02, 3).GetRequestText(), "");
  EXPECT_EQ(CToolOprException(0x17, 3).ErrorText(), "Axis is running");
  EXPECT_TRUE(CToolOprException(0, 1).IsToolModeAlreadyOn());
  EXPECT_TRUE(CToolOprException(0, 5).IsWritingToFROM());
}

}  // namespace
