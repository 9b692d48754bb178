// The command line of plcsim.
#include <gtest/gtest.h>

#include "sim/plcsim_options.h"

namespace {

using sim::PlcSimOptions;

bool Parse(std::vector<std::string> args, PlcSimOptions& o, std::string& error) {
  o = PlcSimOptions{};
  return sim::ParsePlcSimOptions(args, o, error);
}

TEST(PlcSimOptions, ModesAndUnit) {
  PlcSimOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--serial", "--model", "5153", "--station", "7", "--slot", "28", "--axes", "0x5"}, o, error))
      << error;
  EXPECT_EQ(o.mode, PlcSimOptions::Mode::Serial);
  EXPECT_TRUE(o.device.empty());
  EXPECT_EQ(o.plc.unit.model, 5153);
  EXPECT_EQ(o.plc.station, 7);
  EXPECT_EQ(o.plc.slot, 28);
  EXPECT_EQ(o.plc.unit.axes, 5);
  ASSERT_TRUE(Parse({"--serial", "/dev/ttyS3", "--log"}, o, error));
  EXPECT_EQ(o.device, "/dev/ttyS3");
  EXPECT_TRUE(o.logFrames);
  ASSERT_TRUE(Parse({"--connect", "127.0.0.1:9600"}, o, error));
  EXPECT_EQ(o.host, "127.0.0.1");
  EXPECT_EQ(o.connectPort, 9600);
  ASSERT_TRUE(Parse({"--modem", "--busy", "123", "--no-answer", "456", "--connect-delay", "10"}, o, error));
  EXPECT_EQ(o.modem.busyNumbers, std::vector<std::string>{"123"});
  EXPECT_EQ(o.modem.connectDelayMs, 10);
  EXPECT_FALSE(o.modem.noDialtone);
  ASSERT_TRUE(Parse({"--modem", "--no-dialtone", "--carrier-loss-after", "2500", "--ring-every", "3000",
                     "--caller-id", "0612345"}, o, error)) << error;
  EXPECT_TRUE(o.modem.noDialtone);
  EXPECT_EQ(o.modem.carrierLossAfterMs, 2500);
  EXPECT_EQ(o.modem.ringEveryMs, 3000);
  EXPECT_EQ(o.modem.callerId, "0612345");
  ASSERT_TRUE(Parse({"--tcp", "0", "--drop", "3", "--faults", "bcc=2,delay=5", "--split", "4"}, o, error));
  EXPECT_EQ(o.plc.faults.dropEvery, 3);
  EXPECT_EQ(o.plc.faults.corruptBccEvery, 2);
  EXPECT_EQ(o.plc.faults.delayMs, 5);
  EXPECT_EQ(o.plc.faults.splitEvery, 4);
  ASSERT_TRUE(Parse({"--help"}, o, error));
  EXPECT_TRUE(o.help);
}

TEST(PlcSimOptions, Refusals) {
  PlcSimOptions o;
  std::string error;
  EXPECT_FALSE(Parse({}, o, error));
  EXPECT_FALSE(Parse({"--serial", "--tcp", "5000"}, o, error));
  EXPECT_FALSE(Parse({"--tcp", "70000"}, o, error));
  EXPECT_FALSE(Parse({"--tcp"}, o, error));
  EXPECT_FALSE(Parse({"--connect", "9600"}, o, error));
  EXPECT_FALSE(Parse({"--serial", "--station", "0"}, o, error));
  EXPECT_FALSE(Parse({"--serial", "--slot", "29"}, o, error));
  EXPECT_FALSE(Parse({"--serial", "--model", "1234"}, o, error));
  EXPECT_NE(error.find("1234"), std::string::npos);
  // a 4-axis model has no axis 5
  EXPECT_FALSE(Parse({"--serial", "--model", "5153", "--axes", "0x10"}, o, error));
  EXPECT_FALSE(Parse({"--serial", "--frobnicate"}, o, error));
  EXPECT_FALSE(Parse({"--serial", "/dev/ttyS0", "--link", "/tmp/x"}, o, error));
  // a caller number is sent on the line as it is
  EXPECT_FALSE(Parse({"--modem", "--caller-id", "06 12"}, o, error));
  EXPECT_FALSE(Parse({"--modem", "--caller-id", "061234567890123456789"}, o, error));
  EXPECT_FALSE(Parse({"--modem", "--ring-every", "-5"}, o, error));
  EXPECT_FALSE(sim::PlcSimHelp().empty());
}

}  // namespace
