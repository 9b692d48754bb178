// axcfg's unit commands run as a user runs them, against the simulated unit.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "axcfg_run.h"
#include "peer_process.h"

namespace {

using axcfg_test::Result;

Result Axcfg(const std::string& arguments) { return axcfg_test::Axcfg(arguments, false); }

TEST(AxcfgUnitCommands, ReadWriteAndInfoOnTheSimulatedUnit) {
  Result w = Axcfg("write-words 0x1100 0x1234 48879 --dest sim");
  ASSERT_EQ(w.exitCode, 0);
  Result r = Axcfg("read-words 0x1100 2");
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "0x1100 0x1234\n0x1102 0xBEEF\n");
  Result info = Axcfg("unit-info --station 0 --slot 0");
  ASSERT_EQ(info.exitCode, 0);
  EXPECT_NE(info.out.find("model code:       5154"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("8-axis"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("axes:             8"), std::string::npos);
}

TEST(AxcfgUnitCommands, ExitCodes) {
  EXPECT_EQ(Axcfg("read-words 0x4 1 --slot 5").exitCode, 4);      // no unit in that slot
  EXPECT_EQ(Axcfg("read-words 3 1").exitCode, 2);                 // odd byte address
  EXPECT_EQ(Axcfg("read-words 0x4").exitCode, 2);
  EXPECT_EQ(Axcfg("write-words 0x4 0x10000").exitCode, 2);
  EXPECT_EQ(Axcfg("read-words 0x4 1 --dest com:0").exitCode, 2);
  EXPECT_EQ(Axcfg("read-words 0x4 1 --station 100").exitCode, 2);
  EXPECT_EQ(Axcfg("no-such-command").exitCode, 2);
  Result help = Axcfg("read-words --help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--dest"), std::string::npos);
}

// The PLC on the USB port: plcsim's pseudo-terminal behind the device path.
TEST(AxcfgUnitCommands, UsbDestination) {
  char tmpl[] = "/tmp/keld-axcfg-usb-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string device = std::string(tmpl) + "/plc";
  setenv("KELD_USB_DEVICE", device.c_str(), 1);
  Result none = axcfg_test::Axcfg("read-words 0x4 1 --dest usb", true);
  EXPECT_EQ(none.exitCode, 4);
  EXPECT_NE(none.out.find("USB device could not be opened"), std::string::npos) << none.out;
  {
    keldtest::PeerProcess sim("plcsim", {"--serial", "--link", device});
    ASSERT_NE(sim.ReadLine().find("/dev/"), std::string::npos);
    ASSERT_EQ(Axcfg("write-words 0x1100 0x4321 --dest usb").exitCode, 0);
    Result r = Axcfg("read-words 0x1100 1 --dest usb");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "0x1100 0x4321\n");
  }
  unsetenv("KELD_USB_DEVICE");
  std::filesystem::remove_all(tmpl);
}

}  // namespace
