// Through the interface library and a started KELD_TAVMGR to plcsim on a
// pseudo-terminal: the serial channel with several settings and with faults.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "peer_process.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

using keldtest::PeerProcess;

namespace {

constexpr int kCom = 3;
constexpr long kTables = 0x850;  // positioning tables of axis 1

struct SerialPeer {
  PeerProcess peer;
  std::string device;
  explicit SerialPeer(std::vector<std::string> extra)
      : peer("plcsim", Args(extra)), device(keldtest::RouteAnnouncedDeviceToCom(peer, kCom)) {}
  static std::vector<std::string> Args(std::vector<std::string> extra) {
    std::vector<std::string> a{"--serial"};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
};

struct SerialConnection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  SerialConnection(int baudIndex, int parity, int stopBits, int timeout = 2) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName("serial e2e");
    r.SetKind(tavinter::kKindSerial);
    r.SetPort(kCom);
    r.SetTimeout(timeout);
    r.SetBaudIndex(static_cast<int16_t>(baudIndex));
    r.SetDataBits(8);
    r.SetParity(static_cast<int16_t>(parity));
    r.SetStopBits(static_cast<int16_t>(stopBits));
    r.SetLanguage(1);
  }
  unsigned char* data() { return bytes.data(); }
};

std::vector<uint16_t> Pattern(size_t n, uint16_t seed) {
  std::vector<uint16_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint16_t>(seed + i * 13);
  return v;
}

TEST(SerialEndToEnd, WordsTravelAtSeveralSettings) {
  SerialPeer sim({});
  ASSERT_FALSE(sim.device.empty());
  const int settings[][3] = {{3, 0, 1}, {5, 2, 1}, {7, 1, 2}};
  uint16_t seed = 1;
  for (auto& s : settings) {
    SerialConnection c(s[0], s[1], s[2]);
    ASSERT_EQ(TavOpen(nullptr, c.data()), 0) << "baud index " << s[0];
    uint16_t model = 0;
    ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
    EXPECT_EQ(model, 5154);
    auto out = Pattern(700, seed++);
    std::vector<uint16_t> in(out.size());
    ASSERT_EQ(TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 700, out.data()), 0);
    ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 700, in.data()), 0);
    EXPECT_EQ(in, out);
    EXPECT_EQ(TavClose(c.data()), 0);
  }
}

TEST(SerialEndToEnd, FaultsAreRepeatedAwayAndTheWordsAreRight) {
  SerialPeer sim({"--faults", "bcc=3,nak=4,drop=7,other=2,split=2,pause=30"});
  SerialConnection c(7, 0, 1, 1);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  auto out = Pattern(3000, 100);
  std::vector<uint16_t> in(out.size());
  ASSERT_EQ(TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, out.data()), 0);
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, in.data()), 0);
  EXPECT_EQ(in, out);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(SerialEndToEnd, SilentPeerGivesNoAnswerAndBroadcastHoldsTheServer) {
  SerialPeer sim({"--station", "5"});
  SerialConnection c(7, 0, 1, 1);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  uint16_t word = 0;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), -10012);
  // One second of waiting, then three resends of one second each.
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(3500));
  EXPECT_EQ(TavReadUnitWords(c.data(), 5, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), 0);
  EXPECT_EQ(word, 5154);
  char answer[64];
  int length = -1;
  t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(TavSendCommand(c.data(), 0, "%FF#UWD00000900010001", answer, sizeof answer, &length), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(950));  // SLPTIME
  EXPECT_EQ(TavClose(c.data()), 0);
}

// plcsim goes away in the middle of a long write: that request fails with the
// link's error within its limit, the server lives on, and once plcsim is back
// behind the same device name the next request goes through.
TEST(SerialEndToEnd, PlcsimKilledDuringALongWriteFailsOnlyThatRequest) {
  char tmpl[] = "/tmp/keld-plclink-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const std::string link = std::string(tmpl) + "/plc";
  // Each frame's answer comes 150 ms late, so the 3,000 words take seconds.
  auto sim = std::make_unique<SerialPeer>(std::vector<std::string>{"--link", link, "--delay", "150"});
  ASSERT_FALSE(sim->device.empty());
  setenv(("KELD_COM" + std::to_string(kCom)).c_str(), link.c_str(), 1);

  SerialConnection keeper(7, 0, 1, 1);
  ASSERT_EQ(TavOpen(nullptr, keeper.data()), 0);
  SerialConnection writer(7, 0, 1, 1);
  ASSERT_EQ(TavOpen(nullptr, writer.data()), 0);
  auto out = Pattern(3000, 7);
  const auto t0 = std::chrono::steady_clock::now();
  auto write = std::async(std::launch::async, [&] {
    return TavWriteUnitWords(writer.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, out.data());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  ASSERT_EQ(write.wait_for(std::chrono::seconds(0)), std::future_status::timeout) << "the write ended too soon";
  ::kill(sim->peer.Pid(), SIGKILL);
  // Three attempts of a 1 s channel plus the slack is the reply limit.
  ASSERT_EQ(write.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "the write hangs";
  const int rc = write.get();
  EXPECT_TRUE(rc == -10010 || rc == -10020) << rc << ", not the link's read or write error";
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(20));

  // While plcsim is away every request says so; none hangs and the server stays.
  std::vector<uint16_t> few(10);
  EXPECT_EQ(TavReadUnitWords(keeper.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 10, few.data()), -10092);
  sim.reset();
  sim = std::make_unique<SerialPeer>(std::vector<std::string>{"--link", link});
  setenv(("KELD_COM" + std::to_string(kCom)).c_str(), link.c_str(), 1);
  ASSERT_FALSE(sim->device.empty());
  // The connections opened before the fault still work through the same server.
  EXPECT_EQ(TavReadUnitWords(keeper.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 10, few.data()), 0);
  std::vector<uint16_t> in(out.size());
  ASSERT_EQ(TavWriteUnitWords(writer.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, out.data()), 0);
  ASSERT_EQ(TavReadUnitWords(writer.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 3000, in.data()), 0);
  EXPECT_EQ(in, out);
  EXPECT_EQ(TavClose(writer.data()), 0);
  EXPECT_EQ(TavClose(keeper.data()), 0);
  sim.reset();
  std::filesystem::remove_all(tmpl);
}

}  // namespace
