#include <gtest/gtest.h>

#include "connsrv/command_exchange.h"
#include "connsrv/result_codes.h"
#include "fake_link.h"
#include "plcframe/frame_codec.h"

using namespace connsrv;
using namespace connsrv_test;
using plcframe::CompleteFrame;

namespace {

struct ExchangeTest : ::testing::Test {
  FakeClock clock;
  FakeLink link{clock};
  RecordingLog log;
  CServerSettings settings;
  CCommandExchange exchange{link, clock, &log, settings};
  std::string text = "%01#RDD0000000001";
  std::string answer = CompleteFrame("%01$RD1234");

  int Run(uint16_t flags, std::string& delivered, int kind = kChannelSerial) {
    ExchangeOptions o;
    o.flags = flags;
    o.timeoutMs = 2000;
    o.channelKind = kind;
    exchange.BeginRequest();
    return exchange.Run(text, o, delivered);
  }
};

TEST_F(ExchangeTest, SendsTheCompletedFrameAndDeliversFromTheFourthCharacter) {
  link.replies.push_back({{10, answer}});
  std::string delivered;
  ASSERT_EQ(Run(0, delivered), kOk);
  ASSERT_EQ(link.writes.size(), 1u);
  EXPECT_EQ(link.writes[0], CompleteFrame(text));
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_EQ(log.records.front().first, kLogSent);
  EXPECT_EQ(log.records.back().first, kLogReceived);
  EXPECT_EQ(clock.slept, 0);
  // Delivery stops at 2,047 bytes.
  std::string longAnswer = CompleteFrame("%01$RD" + std::string(2041, 'A'));
  link.replies.push_back({{0, longAnswer}});
  ASSERT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(delivered.size(), kDeliverLimit);
}

TEST_F(ExchangeTest, RepeatsAtOnceOnBlockCheckErrorOfThePlc) {
  for (int i = 0; i < 3; ++i) link.replies.push_back({{0, CompleteFrame("%01!40")}});
  std::string delivered;
  EXPECT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(link.writes.size(), 3u);
  EXPECT_EQ(delivered.substr(0, 3), "!40");
  EXPECT_EQ(clock.slept, 0);
  // A good answer after one "!40" ends the repeats.
  link.writes.clear();
  link.replies.push_back({{0, CompleteFrame("%01!40")}});
  link.replies.push_back({{0, answer}});
  EXPECT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(link.writes.size(), 2u);
  EXPECT_EQ(delivered, answer.substr(3));
}

TEST_F(ExchangeTest, BadCodeIsResentThenRepeatedAfterAPause) {
  std::string bad = answer;
  bad[bad.size() - 2] ^= 1;
  // Three resends within the read (RETRY) and three attempts: all bad.
  for (int i = 0; i < 10; ++i) link.replies.push_back({{0, bad}});
  std::string delivered;
  EXPECT_EQ(Run(0, delivered), kErrBlockCheck);
  // 1 + RETRY(3) writes in the first attempt, one each in the other two (RETRY is per request).
  EXPECT_EQ(link.writes.size(), 6u);
  EXPECT_EQ(clock.slept, 2000);
  for (auto& w : link.writes) EXPECT_EQ(w, CompleteFrame(text));
  // A good answer on the first resend.
  link.writes.clear();
  link.replies = {{{0, bad}}, {{0, answer}}};
  EXPECT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(link.writes.size(), 2u);
}

TEST_F(ExchangeTest, SilentPeerTimesOutWithRetryTimeOnPlainSerial) {
  std::string delivered;
  int64_t t0 = clock.now;
  EXPECT_EQ(Run(0, delivered), kErrNoAnswer);
  // First read 2 s, then RETRY(3) resends of RETRYTIME(1 s) each; no further attempts.
  EXPECT_EQ(link.writes.size(), 4u);
  EXPECT_NEAR(static_cast<double>(clock.now - t0), 5000.0, 400.0);
  // On another channel kind the repeats keep the request's time-out.
  link.writes.clear();
  t0 = clock.now;
  EXPECT_EQ(Run(0, delivered, 6), kErrNoAnswer);
  EXPECT_NEAR(static_cast<double>(clock.now - t0), 8000.0, 500.0);
}

TEST_F(ExchangeTest, FlagsAndBroadcast) {
  std::string delivered;
  EXPECT_EQ(Run(tavinter::kFlagNoAnswer, delivered), kOk);
  EXPECT_EQ(link.writes.size(), 1u);
  link.writes.clear();
  // One attempt, any well-formed answer (here another station's) taken.
  link.replies.push_back({{0, CompleteFrame("%07$XX")}});
  EXPECT_EQ(Run(tavinter::kFlagSingleUnchecked, delivered), kOk);
  EXPECT_EQ(delivered, CompleteFrame("%07$XX").substr(3));
  link.writes.clear();
  text = "%FF#WCSR00011";
  settings.slpTimeMs = 1500;
  EXPECT_EQ(Run(0, delivered), kOk);
  EXPECT_EQ(link.writes.size(), 1u);
  EXPECT_EQ(clock.slept, 1500);
}

TEST_F(ExchangeTest, WriteFailurePurgesAndFails) {
  link.failWrites = true;
  std::string delivered;
  int before = link.purges;
  EXPECT_EQ(Run(0, delivered), kErrWrite);
  EXPECT_EQ(link.purges - before, 2);
}

}  // namespace
