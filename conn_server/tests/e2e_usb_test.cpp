// Through the interface library and a started KELD_TAVMGR to plcsim on a
// pseudo-terminal that stands for the PLC's USB device (KELD_USB_DEVICE names
// the link plcsim makes). Stopping plcsim unplugs the device; starting it
// again with the same link plugs it back in.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "peer_process.h"
#include "platform/comm_log.h"
#include "platform/registry.h"
#include "tavinter/connection_record.h"
#include "tavinter/request_record.h"
#include "tavinter/tavinter.h"

using keldtest::PeerProcess;
namespace fs = std::filesystem;

namespace {

constexpr long kTables = 0x850;

// One device path for the whole run: the server reads it once, at its start.
const std::string& DevicePath() {
  static const std::string path = [] {
    char tmpl[] = "/tmp/keld-usb-XXXXXX";
    std::string dir = ::mkdtemp(tmpl) ? tmpl : "/tmp";
    return dir + "/plc-usb";
  }();
  return path;
}

class UsbDeviceEnvironment : public testing::Environment {
 public:
  void SetUp() override { setenv("KELD_USB_DEVICE", DevicePath().c_str(), 1); }
  void TearDown() override { fs::remove_all(fs::path(DevicePath()).parent_path()); }
};
[[maybe_unused]] const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new UsbDeviceEnvironment);

// plcsim behind the device path; its frame log (--log) goes to logFile.
struct UsbPeer {
  PeerProcess peer;
  std::string announced;
  explicit UsbPeer(std::vector<std::string> extra, const std::string& logFile = "")
      : peer("plcsim", Args(extra), logFile), announced(peer.ReadLine()) {}
  static std::vector<std::string> Args(std::vector<std::string> extra) {
    std::vector<std::string> a{"--serial", "--link", DevicePath()};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
};

struct UsbConnection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  explicit UsbConnection(int timeout = 1) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName("usb e2e");
    r.SetKind(tavinter::kKindUsb);
    r.SetPort(0);
    r.SetTimeout(static_cast<int16_t>(timeout));
    r.SetLanguage(1);
  }
  unsigned char* data() { return bytes.data(); }
};

std::vector<uint16_t> Pattern(size_t n, uint16_t seed) {
  std::vector<uint16_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint16_t>(seed + i * 7);
  return v;
}

long long MsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
}

// A PLC command with request flags, as request 10.
int Command(UsbConnection& c, const std::string& text, uint16_t flags, int timeout = 0) {
  tavinter::CRequestRecord record;
  record.SetStation(1);
  record.SetFlags(flags);
  if (timeout > 0) record.SetTimeout(static_cast<int16_t>(timeout));
  if (!record.SetCommandText(text)) return -1;
  unsigned char answer[2100];
  int length = 0;
  return TavRequest(c.data(), 10, record.Bytes().data(), answer, sizeof answer, &length);
}

int CountLines(const std::string& file, const std::string& needle) {
  std::ifstream in(file);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) n += line.find(needle) != std::string::npos;
  return n;
}

TEST(UsbEndToEnd, WordsTravelAlsoThroughFaults) {
  for (const char* faults : {"", "bcc=3,drop=4,other=2,split=2"}) {
    std::vector<std::string> extra;
    if (*faults) extra = {"--faults", faults};
    UsbPeer sim(extra);
    ASSERT_NE(sim.announced.find("/dev/"), std::string::npos) << sim.announced;
    UsbConnection c;
    ASSERT_EQ(TavOpen(nullptr, c.data()), 0) << faults;
    uint16_t model = 0;
    ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
    EXPECT_EQ(model, 5154);
    auto out = Pattern(3000, static_cast<uint16_t>(*faults ? 11 : 3));
    std::vector<uint16_t> in(out.size());
    ASSERT_EQ(TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, out.data()), 0) << faults;
    ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, in.data()), 0) << faults;
    EXPECT_EQ(in, out) << faults;
    // A command for every unit is sent once and returns after the units' pause.
    char answer[64];
    int length = -1;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(TavSendCommand(c.data(), 0, "%FF#UWD00000900010001", answer, sizeof answer, &length), 0);
    EXPECT_GE(MsSince(t0), 950);
    EXPECT_EQ(TavClose(c.data()), 0);
  }
}

TEST(UsbEndToEnd, NoDeviceAndAnUnusableDeviceFailTheOpen) {
  fs::remove(DevicePath());
  UsbConnection c;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(TavOpen(nullptr, c.data()), -10002);
  EXPECT_GE(MsSince(t0), 400) << "five searches, 100 ms apart";
  std::ofstream(DevicePath()) << "a regular file";
  EXPECT_EQ(TavOpen(nullptr, c.data()), -10002);
  fs::remove(DevicePath());
}

TEST(UsbEndToEnd, SingleUncheckedRequestIsSentOnce) {
  const std::string log = testing::TempDir() + "/usb-plcsim-" + std::to_string(getpid()) + ".log";
  {
    UsbPeer sim({"--log", "--faults", "drop=1"}, log);
    UsbConnection c;
    ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
    EXPECT_EQ(Command(c, "%01#RDD0000000001", tavinter::kFlagSingleUnchecked), -10012);
    EXPECT_EQ(TavClose(c.data()), 0);
  }
  EXPECT_EQ(CountLines(log, "#RDD0000000001"), 1) << "exactly one frame reached the unit";
}

TEST(UsbEndToEnd, UnplugDuringAnAnswerThenPlugBackIn) {
  const std::string log = testing::TempDir() + "/usb-unplug-" + std::to_string(getpid()) + ".log";
  auto sim = std::make_unique<UsbPeer>(std::vector<std::string>{"--delay", "2000", "--log"}, log);
  UsbConnection c(5);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  auto pending = std::async(std::launch::async,
                            [&] { return Command(c, "%01#RDD0000000001", tavinter::kFlagSingleUnchecked); });
  // Unplug only once the unit has the command: on a loaded machine a fixed
  // pause could pull the device before the frame was even sent.
  auto t0 = std::chrono::steady_clock::now();
  while (CountLines(log, "#RDD0000000001") == 0 && MsSince(t0) < 15000)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(CountLines(log, "#RDD0000000001"), 1) << "the command reached the unit";
  sim.reset();  // unplugged while the unit is still working on its answer
  fs::remove(log);
  ASSERT_EQ(pending.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_EQ(pending.get(), -10010);
  sim = std::make_unique<UsbPeer>(std::vector<std::string>{});
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0) << "the same connection works";
  EXPECT_EQ(model, 5154);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(UsbEndToEnd, FramesAreLoggedWhenTheSwitchIsOn) {
  using platform::Hive;
  using platform::Registry;
  const std::string folder = testing::TempDir() + "/usb-logs-" + std::to_string(getpid());
  fs::create_directories(folder);
  ASSERT_TRUE(Registry::WriteString(Hive::CurrentUser, platform::LogSettingsKey(), "USBQP", "1"));
  ASSERT_TRUE(Registry::WriteString(Hive::CurrentUser, platform::LogSettingsKey(), "Folder", folder));
  {
    UsbPeer sim({});
    UsbConnection c;
    ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
    uint16_t model = 0;
    ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
    EXPECT_EQ(TavClose(c.data()), 0);
  }
  Registry::WriteString(Hive::CurrentUser, platform::LogSettingsKey(), "USBQP", "0");
  std::vector<fs::path> logs;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename().string().rfind("TavUSBQP_", 0) == 0) logs.push_back(e.path());
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].extension(), ".Log");
  EXPECT_GT(fs::file_size(logs[0]), 0u);
  fs::remove_all(folder);
}

}  // namespace
