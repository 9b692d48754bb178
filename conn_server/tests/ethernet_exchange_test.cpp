#include <gtest/gtest.h>

#include "connsrv/connect_wait.h"
#include "connsrv/ethernet_exchange.h"
#include "connsrv/result_codes.h"
#include "fake_link.h"
#include "plcframe/frame_codec.h"
#include "tavinter/request_record.h"

using namespace connsrv;
using namespace connsrv_test;

namespace {

// A connected socket whose peer answers from a script. Bytes left from an
// earlier exchange wait in front of every new answer until drained.
class ScriptedSocket : public IEthernetSocket, public IByteLink {
 public:
  explicit ScriptedSocket(FakeClock& clock) : link(clock) {}
  IByteLink& Bytes() override { return *this; }
  bool Connected() const override { return connected; }
  std::string Drain() override { return std::exchange(stale, std::string()); }
  void Drop() override {
    connected = false;
    ++drops;
  }
  int Restore() override {
    ++restores;
    if (restoreResult == kOk) connected = true;
    peerGone = false;
    return restoreResult;
  }
  void Purge() override {}
  bool Write(const char* bytes, size_t length) override {
    if (failWrites) return false;
    return link.Write(bytes, length);
  }
  int Read(char* buffer, size_t capacity, int waitMs) override {
    if (!connected || peerGone) return -1;
    if (!stale.empty()) {
      size_t n = std::min(capacity, stale.size());
      std::copy(stale.begin(), stale.begin() + n, buffer);
      stale.erase(0, n);
      return static_cast<int>(n);
    }
    return link.Read(buffer, capacity, waitMs);
  }

  FakeLink link;
  std::string stale;
  bool connected = true;
  bool failWrites = false;
  bool peerGone = false;
  int restoreResult = kOk;
  int drops = 0;
  int restores = 0;
};

struct EthernetExchangeTest : ::testing::Test {
  FakeClock clock;
  ScriptedSocket socket{clock};
  RecordingLog log;
  CServerSettings settings;
  CEthernetExchange exchange{clock, &log, settings};
  EthernetFraming framing;
  std::string text = "%01#RDD0000000001";
  std::string answer = plcframe::CompleteFrame("%01$RD1234");

  int Run(uint16_t flags, std::string& delivered, const std::string& command = "") {
    ExchangeOptions o;
    o.flags = flags;
    o.timeoutMs = 2000;
    return exchange.Run(socket, command.empty() ? text : command, o, framing, delivered);
  }
};

TEST_F(EthernetExchangeTest, DeliversFromTheFourthCharacterAndLogsTheSendKind) {
  socket.link.replies.push_back({{5, answer}});
  socket.link.replies.push_back({{5, answer}});
  socket.link.replies.push_back({{5, answer}});
  std::string delivered;
  ASSERT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_EQ(socket.link.writes.at(0), plcframe::CompleteFrame(text));
  EXPECT_EQ(log.records.front().first, kLogSent);
  log.records.clear();
  ASSERT_EQ(Run(tavinter::kFlagMarked, delivered), kOk);
  EXPECT_EQ(log.records.front().first, kLogSentMarked);
  log.records.clear();
  ASSERT_EQ(Run(0x0004, delivered), kOk);
  EXPECT_EQ(log.records.front().first, kLogSentEthernet4);
}

TEST_F(EthernetExchangeTest, AStaleAnswerIsDrainedBeforeTheSend) {
  // The late answer of a timed-out command: same station and command, other words.
  socket.stale = plcframe::CompleteFrame("%01$RD9999");
  socket.link.replies.push_back({{5, answer}});
  std::string delivered;
  ASSERT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  ASSERT_FALSE(log.records.empty());
  EXPECT_EQ(log.records.front(), std::make_pair(uint8_t{kLogDiscarded}, plcframe::CompleteFrame("%01$RD9999")));
}

TEST_F(EthernetExchangeTest, ThreeAttemptsUnlessRetriesAreOffOrTheRequestIsSingle) {
  std::string delivered;
  EXPECT_EQ(Run(0, delivered), kErrEthernetNoAnswer);
  EXPECT_EQ(socket.link.writes.size(), 3u);

  settings.ethernetRetry = 0;
  socket.link.writes.clear();
  EXPECT_EQ(Run(0, delivered), kErrEthernetNoAnswer);
  EXPECT_EQ(socket.link.writes.size(), 1u);

  settings.ethernetRetry = 5;
  socket.link.writes.clear();
  // A single unchecked request: one send, every byte in the code, any well-formed answer taken.
  socket.link.replies.push_back({{5, plcframe::CompleteFrame("%05$XX77")}});
  ASSERT_EQ(Run(tavinter::kFlagSingleUnchecked, delivered, text + "*"), kOk);
  EXPECT_EQ(socket.link.writes.size(), 1u);
  EXPECT_EQ(socket.link.writes[0], plcframe::CompleteFrame(text + "*"));
  EXPECT_EQ(delivered, "$XX77" + plcframe::CompleteFrame("%05$XX77").substr(8));
}

TEST_F(EthernetExchangeTest, ADamagedFrameReportedByThePlcIsSentAgain) {
  const std::string nak = plcframe::CompleteFrame("%01!40");
  socket.link.replies = {{{5, nak}}, {{5, nak}}, {{5, answer}}};
  std::string delivered;
  ASSERT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_EQ(socket.link.writes.size(), 3u);
  // Without retries the PLC's refusal is the answer.
  settings.ethernetRetry = 0;
  socket.link.writes.clear();
  socket.link.replies = {{{5, nak}}, {{5, answer}}};
  ASSERT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered, nak.substr(3));
  EXPECT_EQ(socket.link.writes.size(), 1u);
}

TEST_F(EthernetExchangeTest, ReaderFailuresMapToEthernetCodes) {
  std::string delivered;
  socket.link.replies = {{{5, "%01$RD1234ZZ\r"}}, {{5, "%01$RD1234ZZ\r"}}, {{5, "%01$RD1234ZZ\r"}}};
  EXPECT_EQ(Run(0, delivered), kErrEthernetBlockCheck);
  socket.link.replies = {{{5, "%01$RD12"}}, {{5, "%01$RD12"}}, {{5, "%01$RD12"}}};
  EXPECT_EQ(Run(0, delivered), kErrEthernetIncomplete);
  std::string endless(3000, 'A');
  socket.link.replies = {{{5, "%" + endless}}, {{5, "%" + endless}}, {{5, "%" + endless}}};
  EXPECT_EQ(Run(0, delivered), kErrTooLong);
  socket.failWrites = true;
  EXPECT_EQ(Run(0, delivered), kErrEthernetSend);
  EXPECT_GT(socket.drops, 0);
}

TEST_F(EthernetExchangeTest, ADroppedSocketIsRestoredBetweenAttempts) {
  // The peer resets the link during the first attempt; the second reconnects and succeeds.
  socket.peerGone = true;
  socket.link.replies = {{{5, answer}}, {{5, answer}}};
  std::string delivered;
  EXPECT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_GE(socket.drops, 1);
  EXPECT_EQ(socket.restores, 1);
  EXPECT_EQ(socket.link.writes.size(), 2u);
}

TEST_F(EthernetExchangeTest, AClosedListeningLinkAnswersMissingInsteadOfReconnecting) {
  socket.connected = false;
  socket.restoreResult = kErrEthernetMissing;
  std::string delivered;
  EXPECT_EQ(Run(0, delivered), kErrEthernetMissing);
  EXPECT_EQ(socket.restores, 1);
  EXPECT_TRUE(socket.link.writes.empty());
}

TEST_F(EthernetExchangeTest, BroadcastsAndNoAnswerRequestsAreSentOnceAndSucceed) {
  std::string delivered;
  ASSERT_EQ(Run(0, delivered, "%FF#WCSR00011"), kOk);
  EXPECT_EQ(socket.link.writes.size(), 1u);
  EXPECT_EQ(clock.slept, settings.slpTimeMs);
  socket.link.writes.clear();
  ASSERT_EQ(Run(tavinter::kFlagNoAnswer, delivered), kOk);
  EXPECT_EQ(socket.link.writes.size(), 1u);
}

TEST_F(EthernetExchangeTest, HeaderLinksStripTheHeaderAndRefuseBareAnswers) {
  framing.header = true;
  framing.sourceStation = 2;
  framing.route.station = 1;
  const std::string sent = CEthernetFrame::CompleteText(text, false);
  socket.link.replies.push_back({{5, CEthernetFrame::Header(answer.size(), false, 1, EthernetRoute{}) + answer}});
  std::string delivered;
  ASSERT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_EQ(socket.link.writes.at(0), CEthernetFrame::Header(sent.size(), false, 2, framing.route) + sent);

  settings.ethernetRetry = 0;
  socket.link.replies.push_back({{5, answer}});
  EXPECT_EQ(Run(0, delivered), kErrEthernetReceive);
  EXPECT_FALSE(socket.Connected());  // the stream is given up
}

// ---- connect wait ---------------------------------------------------------------

struct PendingConnect : IConnectTry {
  FakeClock& clock;
  int pendingTries;  // tries that do not complete
  int result = 0;
  int tries = 0;
  explicit PendingConnect(FakeClock& c, int pending) : clock(c), pendingTries(pending) {}
  int Try(int waitMs) override {
    ++tries;
    if (tries <= pendingTries) {
      clock.now += waitMs;
      return 1;
    }
    return result;
  }
};

struct Watch : IConnectWatch {
  FakeClock* clock = nullptr;
  int begun = 0, waiting = 0, ended = 0;
  int64_t cancelAtMs = -1;  // the user cancels once the clock reaches this
  int64_t waitingSinceMs = -1;
  std::string address;
  void Begin() override { ++begun; }
  void Waiting(const std::string& a, int64_t elapsedMs) override {
    ++waiting;
    address = a;
    waitingSinceMs = elapsedMs;
  }
  bool Cancelled() override { return cancelAtMs >= 0 && clock && clock->now >= cancelAtMs; }
  void Ended() override { ++ended; }
};

TEST(ConnectWait, LimitZeroMeansThreeMinutes) {
  FakeClock clock;
  PendingConnect never(clock, 1 << 30);
  const int64_t start = clock.now;
  EXPECT_EQ(WaitForConnect(never, clock, 0, false, "10.0.0.1", nullptr), kErrEthernetAccept);
  EXPECT_GE(clock.now - start, 180000);
  EXPECT_LT(clock.now - start, 182000);

  PendingConnect again(clock, 1 << 30);
  const int64_t start2 = clock.now;
  EXPECT_EQ(WaitForConnect(again, clock, 5, false, "10.0.0.1", nullptr), kErrEthernetAccept);
  EXPECT_LT(clock.now - start2, 7000);
}

TEST(ConnectWait, TheWatchHearsOfTheFirstRetryAndCanCancel) {
  FakeClock clock;
  // 100 ms slices: 12 pending tries outlast the first second.
  PendingConnect slow(clock, 12);
  Watch watch;
  EXPECT_EQ(WaitForConnect(slow, clock, 60, false, "plc1:9600", &watch), kOk);
  EXPECT_EQ(watch.begun, 1);
  EXPECT_EQ(watch.waiting, 1);
  EXPECT_EQ(watch.address, "plc1:9600");
  EXPECT_GE(watch.waitingSinceMs, 1000);  // published at the first retry, not before
  EXPECT_LT(watch.waitingSinceMs, 1200);
  EXPECT_EQ(watch.ended, 1);

  // A cancel ends a connect that never completes within 100 ms, in the
  // middle of a try's second as well as before the wait is published.
  for (const int64_t cancelAt : {2450, 300}) {
    PendingConnect never(clock, 1 << 30);
    Watch cancel;
    cancel.clock = &clock;
    const int64_t start = clock.now;
    cancel.cancelAtMs = start + cancelAt;
    EXPECT_EQ(WaitForConnect(never, clock, 60, false, "plc1", &cancel), kErrEthernetAccept);
    EXPECT_LE(clock.now - start - cancelAt, 100) << cancelAt;
    EXPECT_EQ(cancel.waiting, cancelAt > 1000 ? 1 : 0);
    EXPECT_EQ(cancel.ended, cancel.waiting);
  }

  PendingConnect atOnce(clock, 0);
  Watch quiet;
  EXPECT_EQ(WaitForConnect(atOnce, clock, 60, false, "plc1", &quiet), kOk);
  EXPECT_EQ(quiet.waiting, 0);  // no window for a connect that completes at once
}

TEST(ConnectWait, OneTryAndRefusalsEndAtOnce) {
  FakeClock clock;
  PendingConnect slow(clock, 12);
  const int64_t start = clock.now;
  EXPECT_EQ(WaitForConnect(slow, clock, 60, true, "x", nullptr), kErrEthernetAccept);
  EXPECT_LE(clock.now - start, 1000);  // the first try's second, no retry
  EXPECT_LE(slow.tries, 10);
  PendingConnect refused(clock, 0);
  refused.result = -1;
  EXPECT_EQ(WaitForConnect(refused, clock, 60, false, "x", nullptr), kErrEthernetAccept);
  EXPECT_EQ(refused.tries, 1);
}

}  // namespace
