#include <gtest/gtest.h>

#include "connsrv/answer_reader.h"
#include "connsrv/result_codes.h"
#include "fake_link.h"
#include "plcframe/frame_codec.h"

using namespace connsrv;
using namespace connsrv_test;
using plcframe::CompleteFrame;

namespace {

struct ReaderTest : ::testing::Test {
  FakeClock clock;
  FakeLink link{clock};
  RecordingLog log;
  CAnswerReader reader{link, clock, &log};
  std::string sent = CompleteFrame("%01#RDD0000000001");

  int ReadReply(Reply reply, std::string& answer, AnswerReadOptions o = {}) {
    link.replies.push_back(std::move(reply));
    link.Write(sent.data(), sent.size());
    return reader.Read(sent, o, answer);
  }
};

TEST_F(ReaderTest, HuntsStartReplacesNulAndLogs) {
  std::string answer;
  std::string good = CompleteFrame("%01$RD1234");
  // A NUL changes the code's input, so check with "**" in place of the code.
  std::string starred = std::string("%01$RD1") + '\0' + "34**\r";
  ASSERT_EQ(ReadReply({{5, "noise"}, {5, starred.substr(0, 4)}, {50, starred.substr(4)}}, answer), kOk);
  EXPECT_EQ(answer, "%01$RD1 34**\r");
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_EQ(log.records[0], std::make_pair(uint8_t(kLogDiscarded), std::string("noise")));
  EXPECT_EQ(log.records[1].first, kLogReceived);
  ASSERT_EQ(ReadReply({{0, "xx" + good}}, answer), kOk);
  EXPECT_EQ(answer, good);
}

TEST_F(ReaderTest, TimeOutsCountFromTheLastByte) {
  std::string answer;
  AnswerReadOptions o;
  o.timeoutMs = 1000;
  int64_t t0 = clock.now;
  EXPECT_EQ(ReadReply({}, answer, o), kErrNoAnswer);
  EXPECT_GE(clock.now - t0, 1000);
  EXPECT_LT(clock.now - t0, 1200);
  // Bytes every 800 ms keep the read alive past the time-out; then it stops incomplete.
  t0 = clock.now;
  EXPECT_EQ(ReadReply({{800, "%01"}, {800, "$RD"}, {800, "12"}}, answer, o), kErrIncomplete);
  EXPECT_GE(clock.now - t0, 3400);
  // Only noise before the time-out: bytes came, so incomplete.
  EXPECT_EQ(ReadReply({{10, "zz"}}, answer, o), kErrIncomplete);
}

TEST_F(ReaderTest, ChecksCodeOwnerAndLength) {
  std::string answer;
  std::string bad = CompleteFrame("%01$RD1234");
  bad[bad.size() - 2] ^= 1;
  EXPECT_EQ(ReadReply({{0, bad}}, answer), kErrBlockCheck);
  AnswerReadOptions unchecked;
  unchecked.check = false;
  EXPECT_EQ(ReadReply({{0, bad}}, answer, unchecked), kOk);
  // Another station's answer and an echo of another command are skipped.
  std::string other = CompleteFrame("%02$RD1111"), wrongCmd = CompleteFrame("%01$WD"), mine = CompleteFrame("%01$RD2222");
  ASSERT_EQ(ReadReply({{0, other + wrongCmd}, {20, mine}}, answer), kOk);
  EXPECT_EQ(answer, mine);
  // An error answer of the right station belongs whatever its code.
  ASSERT_EQ(ReadReply({{0, CompleteFrame("%01!41")}}, answer), kOk);
  // Skipping everything until the time-out gives no answer; but the start of
  // the right answer behind a skipped one, then silence, is an incomplete one.
  EXPECT_EQ(ReadReply({{0, other}}, answer), kErrNoAnswer);
  EXPECT_EQ(ReadReply({{0, other + "%01$RD00"}}, answer), kErrIncomplete);
  // With the owner check off any well-formed answer is taken.
  AnswerReadOptions any;
  any.checkOwner = false;
  EXPECT_EQ(ReadReply({{0, other}}, answer, any), kOk);
  AnswerReadOptions small;
  small.capacity = 8;
  EXPECT_EQ(ReadReply({{0, "%01$RD12345678"}}, answer, small), kErrTooLong);
  link.failReads = true;
  EXPECT_EQ(ReadReply({{0, mine}}, answer), kErrRead);
}

TEST(AnswerOwner, ExtendedCommandsCompareSixCharacters) {
  std::string sent = CompleteFrame("%05#EXRDAB0001");
  EXPECT_TRUE(CAnswerReader::Belongs(sent, CompleteFrame("%05$EXRDAB99")));
  EXPECT_FALSE(CAnswerReader::Belongs(sent, CompleteFrame("%05$EXRDAC99")));
  EXPECT_FALSE(CAnswerReader::Belongs(sent, CompleteFrame("%06$EXRDAB99")));
  EXPECT_FALSE(CAnswerReader::Belongs(sent, "%05#EX"));
  EXPECT_FALSE(CAnswerReader::Belongs(sent, "%0"));
  EXPECT_TRUE(CAnswerReader::Belongs(sent, CompleteFrame("%05!42")));
}

}  // namespace
