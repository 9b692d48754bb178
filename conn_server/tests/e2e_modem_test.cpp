// Through the interface library and a started KELD_TAVMGR to plcsim's modem
// emulator on a pseudo-terminal: the modem kinds dial, carry PLC commands
// only while the call is up, hang up on request and when the last client
// closes, and report the modem's refusals.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "peer_process.h"
#include "tavinter/connection_record.h"
#include "tavinter/dial_cancel.h"
#include "tavinter/tavinter.h"

using keldtest::PeerProcess;

namespace {

constexpr int kCom = 4;
constexpr int kNoCall = -10066;

struct ModemPeer {
  PeerProcess peer;
  std::string device;
  explicit ModemPeer(std::vector<std::string> extra) : peer("plcsim", Args(extra)) {
    std::string line = peer.ReadLine();
    auto at = line.find("/dev/");
    if (at != std::string::npos) device = line.substr(at);
    setenv(("KELD_COM" + std::to_string(kCom)).c_str(), device.c_str(), 1);
  }
  static std::vector<std::string> Args(std::vector<std::string> extra) {
    std::vector<std::string> a{"--modem", "--connect-delay", "300", "--busy", "555", "--no-answer", "666"};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
};

struct ModemConnection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  ModemConnection(const std::string& name, const std::string& init, const std::string& closing = "") {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName(name);
    r.SetKind(tavinter::kKindModem);
    r.SetPort(kCom);
    r.SetTimeout(3);
    r.SetBaudIndex(7);
    r.SetDataBits(8);
    r.SetStopBits(1);
    r.SetLanguage(1);
    r.SetInitCommand(init);
    r.SetSecondCommand(closing);
    r.SetLineTimeout(30);
  }
  unsigned char* data() { return bytes.data(); }
  int ReadModel(uint16_t& model) { return TavReadUnitWords(data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model); }
};

TEST(ModemEndToEnd, DialCarriesCommandsAndHangsUp) {
  ModemPeer sim({});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection book("phone book", "ATE1V1", "ATZ");
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  uint16_t model = 0;
  EXPECT_EQ(book.ReadModel(model), kNoCall);
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  // A second program uses the same call.
  ModemConnection tool("tool", "ATE1V1");
  ASSERT_EQ(TavOpen(nullptr, tool.data()), 0);
  ASSERT_EQ(tool.ReadModel(model), 0);
  EXPECT_EQ(model, 5154);
  const std::vector<uint16_t> out{1, 2, 3, 0xBEEF};
  std::vector<uint16_t> in(out.size());
  ASSERT_EQ(TavWriteUnitWords(tool.data(), 1, TAV_MEMORY_UNIT, 0, 0x850, 4, out.data()), 0);
  ASSERT_EQ(TavReadUnitWords(book.data(), 1, TAV_MEMORY_UNIT, 0, 0x850, 4, in.data()), 0);
  EXPECT_EQ(in, out);
  // Only the caller hangs up, and a second dial is refused while the call is up.
  EXPECT_EQ(TavDial(tool.data(), "ATDT1"), -10063);
  EXPECT_EQ(TavHangUp(nullptr, "tool", tool.data()), -10064);
  EXPECT_EQ(TavLineInUse(1, "phone book"), 1);
  EXPECT_EQ(TavHangUp(nullptr, "phone book", book.data()), 0);
  EXPECT_EQ(TavLineInUse(1, "phone book"), 0);
  EXPECT_EQ(tool.ReadModel(model), kNoCall);
  EXPECT_EQ(TavClose(tool.data()), 0);

  // Dialled again, the call goes down with the last client's close.
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  EXPECT_EQ(book.ReadModel(model), 0);
  EXPECT_EQ(TavClose(book.data()), 0);
  ModemConnection again("again", "ATE1V1");
  ASSERT_EQ(TavOpen(nullptr, again.data()), 0);
  EXPECT_EQ(again.ReadModel(model), kNoCall);
  ASSERT_EQ(TavDial(again.data(), "ATDT0612345"), 0) << "the modem was left on line";
  EXPECT_EQ(TavHangUp(nullptr, "again", again.data()), 0);
  EXPECT_EQ(TavClose(again.data()), 0);
}

TEST(ModemEndToEnd, RefusalsOfTheModemAndNumericResults) {
  ModemPeer sim({});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection numeric("numeric", "ATE1V0");
  ASSERT_EQ(TavOpen(nullptr, numeric.data()), 0);
  EXPECT_EQ(TavDial(numeric.data(), "ATDT555"), -10060);
  EXPECT_EQ(TavDial(numeric.data(), "ATDT666"), -10060);
  ASSERT_EQ(TavDial(numeric.data(), "ATDT0612345"), 0);
  uint16_t model = 0;
  EXPECT_EQ(numeric.ReadModel(model), 0);
  EXPECT_EQ(TavHangUp(nullptr, "numeric", numeric.data()), 0);
  EXPECT_EQ(TavClose(numeric.data()), 0);

  // An initialisation the modem refuses fails the open.
  ModemConnection wrong("wrong", "ATX99Q7");
  EXPECT_EQ(TavOpen(nullptr, wrong.data()), -10068);
}

TEST(ModemEndToEnd, DialLimitAndCancelStopTheModem) {
  ModemPeer sim({"--connect-delay", "120000"});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection slow("slow", "ATE0V1");
  tavinter::CConnectionRecord(slow.data()).SetLineTimeout(2);
  ASSERT_EQ(TavOpen(nullptr, slow.data()), 0);
  EXPECT_EQ(TavDial(slow.data(), "ATDT0612345"), -10060);

  EXPECT_EQ(TavClose(slow.data()), 0);

  // The dial limit is the channel's: a fresh open brings a longer one.
  ModemConnection patient("patient", "ATE0V1");
  ASSERT_EQ(TavOpen(nullptr, patient.data()), 0);
  const int handle = tavinter::CConnectionRecord(patient.data()).ClientHandle();
  std::thread cancel([handle] {
    std::this_thread::sleep_for(std::chrono::seconds(9));
    EXPECT_EQ(TavCancelDial(kCom, handle), 0);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(TavDial(patient.data(), "ATDT0612345"), -10054);
  cancel.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40));
  // The stopped dial left the modem in command mode: no call, no PLC.
  uint16_t model = 0;
  EXPECT_EQ(patient.ReadModel(model), kNoCall);
  EXPECT_EQ(TavClose(patient.data()), 0);
}

}  // namespace
