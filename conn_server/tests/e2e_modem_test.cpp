// Through the interface library and a started KELD_TAVMGR to plcsim's modem
// emulator on a pseudo-terminal: the modem kinds dial, carry PLC commands
// only while the call is up, hang up on request and when the last client
// closes, and report the modem's refusals; a far end hanging up ends the
// call between requests and during one; an incoming call rings with its
// caller's number.
#include <gtest/gtest.h>
#include <signal.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "peer_process.h"
#include "tavinter/connection_record.h"
#include "tavinter/dial_cancel.h"
#include "tavinter/request_record.h"
#include "tavinter/tavinter.h"

using keldtest::PeerProcess;

namespace {

constexpr int kCom = 4;
constexpr int kNoCall = -10066;
constexpr int kForcedOff = -10517;

using Clock = std::chrono::steady_clock;

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
  // Request 35: one modem result, with the caller's number asked for and
  // read on to it. The code text, or "" when nothing came.
  std::string ModemResult() {
    tavinter::CRequestRecord request;
    request.SetMode(16);
    std::vector<uint8_t> rec(request.Bytes().begin(), request.Bytes().end());
    rec[52] = 1;
    unsigned char answer[300] = {};
    int length = 0;
    if (TavRequest(data(), tavinter::kRequestModemResult, rec.data(), answer, sizeof answer, &length) != 0) return "?";
    return std::string(reinterpret_cast<char*>(answer), strnlen(reinterpret_cast<char*>(answer), length));
  }
};

// Waits up to limitMs for the call of the named connection to be reported
// gone; the time it took, or -1.
int64_t MsUntilLineDown(const char* name, int limitMs) {
  const auto start = Clock::now();
  while (Clock::now() - start < std::chrono::milliseconds(limitMs)) {
    if (TavLineInUse(1, name) == 0)
      return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

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

TEST(ModemEndToEnd, NoDialtone) {
  ModemPeer sim({"--no-dialtone"});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection book("book", "ATE1V1");
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  EXPECT_EQ(TavDial(book.data(), "ATDT0612345"), -10060);
  uint16_t model = 0;
  EXPECT_EQ(book.ReadModel(model), kNoCall);
  EXPECT_EQ(TavClose(book.data()), 0);
}

TEST(ModemEndToEnd, FarEndHangsUpBetweenRequests) {
  ModemPeer sim({});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection book("KELD_TavModem 4", "ATE0V1");
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  uint16_t model = 0;
  EXPECT_EQ(book.ReadModel(model), 0);
  ASSERT_EQ(TavLineInUse(1, "KELD_TavModem 4"), 1);
  // The server's tick (once a second) sees the modem's NO CARRIER; the
  // bound leaves room for a loaded machine.
  ::kill(sim.peer.Pid(), SIGUSR1);
  const int64_t ms = MsUntilLineDown("KELD_TavModem 4", 10000);
  EXPECT_GE(ms, 0);
  EXPECT_LT(ms, 4000);
  EXPECT_EQ(book.ReadModel(model), kNoCall);
  // The owner's hang-up finds the line already down; a new call works.
  EXPECT_EQ(TavHangUp(nullptr, "KELD_TavModem 4", book.data()), -10064);
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  EXPECT_EQ(book.ReadModel(model), 0);
  EXPECT_EQ(TavHangUp(nullptr, "KELD_TavModem 4", book.data()), 0);
  EXPECT_EQ(TavClose(book.data()), 0);
}

TEST(ModemEndToEnd, FarEndHangsUpDuringARequest) {
  // No answer ever comes; the far end hangs up about two seconds after the
  // dial returns (its fixed waits take about five seconds after CONNECT).
  ModemPeer sim({"--drop", "1", "--carrier-loss-after", "7000"});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection book("KELD_TavModem 4", "ATE0V1");
  tavinter::CConnectionRecord(book.data()).SetTimeout(20);
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  const auto start = Clock::now();
  uint16_t model = 0;
  // Without the watch the request would wait out 20 s and repeat its frame.
  EXPECT_EQ(book.ReadModel(model), kNoCall);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(TavLineInUse(1, "KELD_TavModem 4"), 0);
  EXPECT_EQ(TavClose(book.data()), 0);
}

TEST(ModemEndToEnd, IncomingCallRingsWithTheCallerNumberAndIsAnswered) {
  ModemPeer sim({"--ring-every", "1500", "--caller-id", "0612345678"});
  ASSERT_FALSE(sim.device.empty());
  // S0=1: the modem answers on the first ring.
  ModemConnection book("book", "ATE0V1S0=1");
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  std::string result;
  for (int i = 0; i < 10 && result.empty(); ++i) result = book.ModemResult();
  EXPECT_EQ(result, "2 0612345678");
  for (int i = 0; i < 10 && (result.empty() || result.starts_with("2")); ++i) result = book.ModemResult();
  EXPECT_EQ(result, "10");  // CONNECT: the call is this client's
  EXPECT_EQ(book.ModemResult(), "");  // nothing more to read during a call
  uint16_t model = 0;
  EXPECT_EQ(book.ReadModel(model), 0);
  EXPECT_EQ(model, 5154);
  EXPECT_EQ(TavHangUp(nullptr, "book", book.data()), 0);
  EXPECT_EQ(book.ReadModel(model), kNoCall);
  EXPECT_EQ(TavClose(book.data()), 0);
}

TEST(ModemEndToEnd, OtherProgramsDelayTheHangUpOrAreForcedOff) {
  ModemPeer sim({});
  ASSERT_FALSE(sim.device.empty());
  const char* name = "KELD_TavModem 4";
  ModemConnection book(name, "ATE0V1");
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  ModemConnection first("AxisCfg", "ATE0V1");
  ASSERT_EQ(TavOpen(nullptr, first.data()), 0);
  EXPECT_EQ(TavOthersReleased(name, name), 0);
  EXPECT_EQ(TavClose(first.data()), 0);
  EXPECT_EQ(TavOthersReleased(name, name), 1);

  ModemConnection second("axcfg", "ATE0V1");
  ASSERT_EQ(TavOpen(nullptr, second.data()), 0);
  uint16_t model = 0;
  ASSERT_EQ(second.ReadModel(model), 0);
  EXPECT_EQ(TavPollOthersReleased(name, name), 0);
  ASSERT_EQ(TavForceOthersOff(name), 0);
  EXPECT_EQ(TavPollOthersReleased(name, name), 1);
  EXPECT_EQ(second.ReadModel(model), kForcedOff);
  EXPECT_EQ(book.ReadModel(model), 0);  // the owner goes on
  EXPECT_EQ(TavHangUp(nullptr, name, book.data()), 0);
  ASSERT_EQ(TavHangUpDone(name), 0);
  EXPECT_EQ(second.ReadModel(model), kNoCall);  // back, without a call
  EXPECT_EQ(TavClose(second.data()), 0);
  EXPECT_EQ(TavClose(book.data()), 0);
}

TEST(ModemEndToEnd, PlcFaultsDuringACallStillGiveTheRightWords) {
  ModemPeer sim({"--nak", "3", "--drop", "5"});
  ASSERT_FALSE(sim.device.empty());
  ModemConnection book("book", "ATE0V1");
  tavinter::CConnectionRecord(book.data()).SetTimeout(1);
  ASSERT_EQ(TavOpen(nullptr, book.data()), 0);
  ASSERT_EQ(TavDial(book.data(), "ATDT0612345"), 0);
  for (uint16_t round = 0; round < 4; ++round) {
    const std::vector<uint16_t> out{round, static_cast<uint16_t>(0x1000 + round), 0xBEEF, static_cast<uint16_t>(~round)};
    std::vector<uint16_t> in(out.size());
    ASSERT_EQ(TavWriteUnitWords(book.data(), 1, TAV_MEMORY_UNIT, 0, 0x850, 4, out.data()), 0) << round;
    ASSERT_EQ(TavReadUnitWords(book.data(), 1, TAV_MEMORY_UNIT, 0, 0x850, 4, in.data()), 0) << round;
    EXPECT_EQ(in, out) << round;
  }
  EXPECT_EQ(TavHangUp(nullptr, "book", book.data()), 0);
  EXPECT_EQ(TavClose(book.data()), 0);
}

}  // namespace
