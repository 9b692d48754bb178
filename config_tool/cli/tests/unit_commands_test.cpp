// axcfg's unit commands run as a user runs them, against the simulated unit.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <csignal>
#include <string>
#include <sys/wait.h>

#include <unistd.h>

#include "axcfg_run.h"
#include "full_backlog_listener.h"
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

// Over Ethernet to plcsim on a TCP port of 127.0.0.1: the server connects, or
// plcsim connects to the port the command listens on.
TEST(AxcfgUnitCommands, EthernetDestinations) {
  keldtest::PeerProcess sim("plcsim", {"--tcp", "0", "--header"});
  const std::string line = sim.ReadLine();
  const std::string port = line.substr(line.rfind(':') + 1);
  const std::string dest = " --dest tcp:127.0.0.1:" + port + ",eth=3,header,limit=5";
  ASSERT_EQ(Axcfg("write-words 0x1100 0x1234 48879" + dest).exitCode, 0);
  Result r = Axcfg("read-words 0x1100 2" + dest);
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "0x1100 0x1234\n0x1102 0xBEEF\n");
  // The same unit without the header it expects: the link's own text, exit 4.
  Result bare = axcfg_test::Axcfg("read-words 0x1100 2 --dest tcp:127.0.0.1:" + port + ",eth=4", true);
  EXPECT_EQ(bare.exitCode, 4);
  EXPECT_FALSE(bare.out.empty());

  const int listenPort = 20000 + getpid() % 20000;
  keldtest::PeerProcess plc("plcsim", {"--connect", "127.0.0.1:" + std::to_string(listenPort)});
  Result waited = axcfg_test::Axcfg(
      "read-words 0x4 1 --dest listen:" + std::to_string(listenPort) + ",eth=5,wait=20", true);
  EXPECT_EQ(waited.exitCode, 0) << waited.out;
  EXPECT_NE(waited.out.find("0x4 0x1422\n"), std::string::npos) << waited.out;  // model code 5154
  EXPECT_NE(waited.out.find("waiting up to 20 s"), std::string::npos);

  for (const char* bad : {"tcp:127.0.0.1", "tcp:h:1,eth=65", "tcp:h:1,wait=3", "listen:0", "listen:80,header",
                          "listen:80,wait=x", "udp:1"})
    EXPECT_EQ(Axcfg(std::string("read-words 0x4 1 --dest ") + bad).exitCode, 2) << bad;
}

// A unit that does not answer: the connect wait is announced on stderr and
// Ctrl+C cancels it long before the connect limit.
TEST(AxcfgUnitCommands, AConnectThatHangsIsAnnouncedAndInterruptCancelsIt) {
  keldtest::FullBacklogListener hang;
  ASSERT_GT(hang.port, 0);
  const std::string errors =
      (std::filesystem::temp_directory_path() / ("axcfg-connect-" + std::to_string(getpid()) + ".err")).string();
  const std::string dest = "tcp:127.0.0.1:" + std::to_string(hang.port) + ",eth=6,limit=120";
  keldtest::PeerProcess axcfg("axcfg", {"read-words", "0x4", "1", "--dest", dest}, errors);
  const std::string announced = "connecting to 127.0.0.1:" + std::to_string(hang.port);
  std::string text;
  for (int i = 0; i < 300 && text.find(announced) == std::string::npos; ++i) {
    usleep(100000);
    text = keldtest::ReadWholeFile(errors);
  }
  ASSERT_NE(text.find(announced), std::string::npos) << text;
  ASSERT_EQ(kill(axcfg.Pid(), SIGINT), 0);
  EXPECT_EQ(axcfg.Wait(20000), 4);
  text = keldtest::ReadWholeFile(errors);
  EXPECT_NE(text.find("could not be set up"), std::string::npos) << text;
  std::filesystem::remove(errors);
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
