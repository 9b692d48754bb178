// The watch for a modem's "NO CARRIER" during a call: line judging across
// reads, and a PLC exchange on the watched link that ends at once when the
// far end hangs up, instead of waiting out its time-out and repeating.
#include <gtest/gtest.h>

#include "connsrv/carrier_watch.h"
#include "connsrv/command_exchange.h"
#include "connsrv/result_codes.h"
#include "plcframe/frame_codec.h"
#include "scripted_modem.h"

using namespace connsrv;
using connsrv_test::FakeClock;
using connsrv_test::Reply;
using connsrv_test::ScriptedModem;

TEST(CarrierWatch, JudgesWholeLinesOnly) {
  CCarrierWatch w;
  w.Start(false);
  EXPECT_FALSE(w.Feed("%01$RC1**\r\n"));
  EXPECT_FALSE(w.Feed("\r\nNO CAR"));
  EXPECT_TRUE(w.Feed("RIER\r\n"));
  EXPECT_TRUE(w.Feed("%01$RC1**\r"));  // stays lost until a new call
  w.Start(false);
  EXPECT_FALSE(w.Lost());
  // a long line that merely contains the words, and "3" in verbose mode
  EXPECT_FALSE(w.Feed("%01$RD NO CARRIER 0000000000000000000000000000\r"));
  EXPECT_FALSE(w.Feed("\r3\r"));
  EXPECT_TRUE(w.Feed(" no carrier \n"));
  w.Start(true);
  EXPECT_FALSE(w.Feed("%01$RC1**\r"));
  EXPECT_TRUE(w.Feed("3\r"));
}

namespace {

struct WatchedCall {
  FakeClock clock;
  ScriptedModem modem{clock};
  CCarrierWatchLink line{modem, nullptr};
  CServerSettings settings;
  CCommandExchange exchange{line, clock, nullptr, settings};
  std::string text = "%01#RDD0000000001";

  WatchedCall() { line.Watch().Start(false); }
  int Run(std::string& delivered) {
    ExchangeOptions o;
    o.timeoutMs = 3000;
    exchange.BeginRequest();
    return exchange.Run(text, o, delivered);
  }
  int FramesSent() const {
    int n = 0;
    for (const auto& s : modem.sent) n += s.bytes == plcframe::CompleteFrame(text);
    return n;
  }
};

}  // namespace

TEST(CarrierWatchLink, ExchangeEndsAtOnceWhenTheFarEndHangsUp) {
  WatchedCall c;
  // The frame goes out, and instead of an answer the modem reports the loss.
  c.modem.onLine = [](const std::string&) { return Reply{{200, "\r\nNO CARRIER\r\n"}}; };
  const int64_t start = c.clock.now;
  std::string delivered;
  EXPECT_EQ(c.Run(delivered), kErrRead);
  EXPECT_LT(c.clock.now - start, 1000);
  EXPECT_EQ(c.FramesSent(), 1);  // no repeats into the dead line
  EXPECT_TRUE(c.line.Look());
  // Later requests are refused without a byte sent.
  EXPECT_EQ(c.Run(delivered), kErrWrite);
  EXPECT_EQ(c.FramesSent(), 1);
}

TEST(CarrierWatchLink, LossWaitingBeforeTheRequestIsNotPurgedAway) {
  WatchedCall c;
  c.modem.Push(0, "\r\nNO CARRIER\r\n");
  std::string delivered;
  EXPECT_EQ(c.Run(delivered), kErrWrite);
  EXPECT_EQ(c.FramesSent(), 0);
  EXPECT_TRUE(c.line.Watch().Lost());
}

TEST(CarrierWatchLink, AnswerBeforeTheLossIsDeliveredAndCallsGoOn) {
  WatchedCall c;
  const std::string answer = plcframe::CompleteFrame("%01$RD1234");
  c.modem.onLine = [&](const std::string&) { return Reply{{50, answer + "\r\nNO CARRIER\r\n"}}; };
  std::string delivered;
  EXPECT_EQ(c.Run(delivered), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_TRUE(c.line.Look());
  // A new call starts with a clear watch.
  c.line.Watch().Start(false);
  c.modem.onLine = [&](const std::string&) { return Reply{{50, answer}}; };
  EXPECT_EQ(c.Run(delivered), kOk);
  EXPECT_FALSE(c.line.Look());
}
