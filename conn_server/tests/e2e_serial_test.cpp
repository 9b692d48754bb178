// Through the interface library and a started KELD_TAVMGR to plcsim on a
// pseudo-terminal: the serial channel with several settings and with faults.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
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
  explicit SerialPeer(std::vector<std::string> extra) : peer("plcsim", Args(extra)) {
    std::string line = peer.ReadLine();
    auto at = line.find("/dev/");
    if (at != std::string::npos) device = line.substr(at);
    setenv(("KELD_COM" + std::to_string(kCom)).c_str(), device.c_str(), 1);
  }
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

}  // namespace
