#include <gtest/gtest.h>

#include "plcframe/frame_codec.h"

using namespace plcframe;

TEST(FrameCodec, CompletesFramesWithCodeAndContinuation) {
  // '%' ^ '0' ^ '1' ^ '#' ^ 'R' ^ 'C' ^ 'S' ^ 'X' ^ '0' ^ '0' ^ '0' ^ '1'
  std::string text = "%01#RCSX0001";
  uint8_t x = BlockCheck(text);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", x);
  EXPECT_EQ(CompleteFrame(text), text + hex + "\r");
  EXPECT_EQ(BlockCheck("%01#"), '%' ^ '0' ^ '1' ^ '#');
  // The "&" of a continued frame is left out of the code and follows it.
  std::string cont = "%01#WDD00000000010000&";
  std::string data = cont.substr(0, cont.size() - 1);
  std::snprintf(hex, sizeof hex, "%02X", BlockCheck(data));
  EXPECT_EQ(CompleteFrame(cont), data + hex + "&\r");
  EXPECT_TRUE(CheckFrameCode(CompleteFrame(cont)));
  // Upper-case digits: a code with letters is written in upper case.
  EXPECT_EQ(CompleteFrame("%EE#RT").substr(6, 2), [] {
    char h[3];
    std::snprintf(h, sizeof h, "%02X", BlockCheck("%EE#RT"));
    return std::string(h);
  }());
}

TEST(FrameCodec, ChecksAnswerCodes) {
  std::string answer = CompleteFrame("%01$RC1");
  EXPECT_TRUE(CheckFrameCode(answer));
  EXPECT_TRUE(CheckFrameCode("%01$RC1**\r"));
  std::string bad = answer;
  bad[bad.size() - 2] = bad[bad.size() - 2] == '0' ? '1' : '0';
  EXPECT_FALSE(CheckFrameCode(bad));
  EXPECT_FALSE(CheckFrameCode("%01$\r"));  // too short to hold a code
  EXPECT_FALSE(CheckFrameCode(""));
  EXPECT_FALSE(CheckFrameCode("\r"));
  FrameParts parts;
  ASSERT_TRUE(SplitFrame("%01$RC1**&\r", parts));
  EXPECT_TRUE(parts.continued);
  EXPECT_EQ(parts.data, "%01$RC1");
  EXPECT_EQ(StationText(0), "EE");
  EXPECT_EQ(StationText(7), "07");
  EXPECT_EQ(StationText(99), "99");
  EXPECT_EQ(StationText(255), "FF");
}
