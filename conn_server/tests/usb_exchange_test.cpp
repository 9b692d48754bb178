// The USB command exchange on a scripted link: attempts, re-opens, the
// marked length prefix, answers completed across reads and answers dropped.
#include <gtest/gtest.h>

#include <algorithm>

#include "connsrv/result_codes.h"
#include "connsrv/usb_exchange.h"
#include "fake_link.h"
#include "fake_usb.h"
#include "plcframe/frame_codec.h"

using namespace connsrv;
using namespace connsrv_test;

namespace {

std::string Answer(const std::string& text) { return plcframe::CompleteFrame(text); }

struct Exchange {
  FakeClock clock;
  FakeUsb usb{clock};
  RecordingLog log;
  CServerSettings settings;
  CUsbExchange exchange{usb, clock, &log, settings};
  int Run(const std::string& text, uint16_t flags, std::string& delivered, int timeoutMs = 1000) {
    ExchangeOptions o;
    o.flags = flags;
    o.timeoutMs = timeoutMs;
    o.channelKind = 10;
    return exchange.Run(text, o, delivered);
  }
};

TEST(UsbExchange, AnswerIsCutFromItsFourthCharacterAndCompletedAcrossReads) {
  Exchange x;
  const std::string answer = Answer("%01$RD0100");
  x.usb.Bytes().replies.push_back({{5, answer.substr(0, 4)}, {5, answer.substr(4)}});
  std::string delivered;
  ASSERT_EQ(x.Run("%01#RDD0000000000", 0, delivered, 2500), kOk);
  EXPECT_EQ(delivered, answer.substr(3));
  EXPECT_EQ(x.usb.timeoutMs, 2500) << "the request's own time-out";
  EXPECT_EQ(x.usb.resets, 1) << "the read pipe is emptied before the send";
  ASSERT_EQ(x.usb.Bytes().writes.size(), 1u);
  EXPECT_EQ(x.usb.Bytes().writes[0], Answer("%01#RDD0000000000"));
}

TEST(UsbExchange, AnswersThatDoNotBelongAreDropped) {
  Exchange x;
  // A late answer to another command, and one from another station, before the right one.
  x.usb.Bytes().replies.push_back(
      {{5, Answer("%01$WD")}, {5, Answer("%02$RD0100")}, {5, Answer("%01$RD0200")}});
  std::string delivered;
  ASSERT_EQ(x.Run("%01#RDD0000000000", 0, delivered), kOk);
  EXPECT_EQ(delivered, Answer("%01$RD0200").substr(3));
}

TEST(UsbExchange, MarkedRequestGetsItsLengthInFront) {
  Exchange x;
  const std::string answer = Answer("%01$RD0100");
  x.usb.Bytes().replies.push_back({{5, answer}});
  std::string delivered;
  ASSERT_EQ(x.Run("%01#RDD0000000000", tavinter::kFlagMarked, delivered), kOk);
  const std::string cut = answer.substr(3);
  ASSERT_EQ(delivered.size(), cut.size() + 2);
  EXPECT_EQ(static_cast<unsigned char>(delivered[0]), cut.size() & 0xFF);
  EXPECT_EQ(delivered[1], 0);
  EXPECT_EQ(delivered.substr(2), cut);
  EXPECT_TRUE(x.usb.marked) << "the send is logged as marked";
  EXPECT_TRUE(std::any_of(x.log.records.begin(), x.log.records.end(),
                          [](const auto& r) { return r.first == kLogReceivedCounted; }));
}

TEST(UsbExchange, FourAttemptsWithReopensThenTheLastError) {
  Exchange x;
  std::string delivered;
  // No answer at all: four sends, the pipes closed after each attempt.
  EXPECT_EQ(x.Run("%01#RDD0000000000", 0, delivered), kErrNoAnswer);
  EXPECT_EQ(x.usb.Bytes().writes.size(), 4u);
  EXPECT_EQ(x.usb.closes, 4);
  EXPECT_EQ(x.usb.opens, 3);
  EXPECT_EQ(x.usb.cancels, 4);
  EXPECT_EQ(x.clock.slept, 0);

  // A bad code, then the right answer on the second attempt.
  Exchange y;
  std::string bad = Answer("%01$RD0100");
  bad[bad.size() - 2] = bad[bad.size() - 2] == '0' ? '1' : '0';
  y.usb.Bytes().replies.push_back({{5, bad}});
  y.usb.Bytes().replies.push_back({{5, Answer("%01$RD0100")}});
  ASSERT_EQ(y.Run("%01#RDD0000000000", 0, delivered), kOk);
  EXPECT_EQ(y.usb.Bytes().writes.size(), 2u);
}

TEST(UsbExchange, AFailedReopenWaitsASecond) {
  Exchange x;
  x.usb.openResults = {1, 1, 0};
  x.usb.Bytes().replies.push_back({});
  x.usb.Bytes().replies.push_back({{5, Answer("%01$RD0100")}});
  std::string delivered;
  // Attempt 1: no answer. Attempt 2: re-open fails, a second's pause, the
  // send's own open fails too (-10020). Attempt 3: opens, is answered.
  ASSERT_EQ(x.Run("%01#RDD0000000000", 0, delivered), kOk);
  EXPECT_EQ(x.clock.slept, 1000);
  EXPECT_EQ(x.usb.Bytes().writes.size(), 2u);
}

TEST(UsbExchange, SingleUncheckedRequestMakesOneAttempt) {
  Exchange x;
  std::string delivered;
  EXPECT_EQ(x.Run("%01#RDD0000000000", tavinter::kFlagSingleUnchecked, delivered), kErrNoAnswer);
  EXPECT_EQ(x.usb.Bytes().writes.size(), 1u);
  // Unchecked owner: an answer for another command is taken.
  Exchange y;
  y.usb.Bytes().replies.push_back({{5, Answer("%01$WD")}});
  EXPECT_EQ(y.Run("%01#RDD0000000000", tavinter::kFlagSingleUnchecked, delivered), kOk);
}

TEST(UsbExchange, UnansweredCommandsAreSentOnce) {
  Exchange x;
  x.settings.slpTimeMs = 250;
  std::string delivered;
  ASSERT_EQ(x.Run("%FF#WCSR00101", 0, delivered), kOk);
  EXPECT_EQ(x.usb.Bytes().writes.size(), 1u);
  EXPECT_EQ(x.clock.slept, 250) << "the units' pause after a broadcast";
  Exchange y;
  ASSERT_EQ(y.Run("%01#WCSR00101", tavinter::kFlagNoAnswer, delivered), kOk);
  EXPECT_EQ(y.usb.Bytes().writes.size(), 1u);
  EXPECT_EQ(y.clock.slept, 0);
}

}  // namespace
