// Unit memory frames: splitting, the command texts and the reading of answers.
#include <gtest/gtest.h>

#include "tavinter/result_codes.h"
#include "unit_frames.h"

using namespace tavinter;

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
}  // namespace

TEST(UnitFrames, TransfersSplitIntoAscendingFramesOfAtMost500Words) {
  struct Case {
    long count;
    std::vector<long> pieces;
  };
  for (const Case& c : {Case{1, {1}}, Case{500, {500}}, Case{501, {500, 1}},
                        Case{9600, std::vector<long>(19, 500)}}) {
    std::vector<long> expected = c.pieces;
    if (c.count == 9600) expected.push_back(100);
    auto pieces = SplitTransfer(0x100, c.count);
    ASSERT_EQ(pieces.size(), expected.size()) << c.count;
    long address = 0x100;
    for (size_t i = 0; i < pieces.size(); ++i) {
      EXPECT_EQ(pieces[i].address, address);
      EXPECT_EQ(pieces[i].count, expected[i]);
      address += pieces[i].count;
    }
  }
  EXPECT_TRUE(SplitTransfer(0, 0).empty());
}

TEST(UnitFrames, TransferArgumentsAreChecked) {
  EXPECT_EQ(CheckTransfer(1, 0, 0, 1), 0);
  EXPECT_EQ(CheckTransfer(0, 28, 0xFFFFF, 1), 0);
  EXPECT_EQ(CheckTransfer(100, 0, 0, 1), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(CheckTransfer(-1, 0, 0, 1), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(CheckTransfer(1, 29, 0, 1), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(CheckTransfer(1, 0, 0, 0), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(CheckTransfer(1, 0, -5, 1), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(CheckTransfer(1, 0, 0xFFFFF, 2), TAV_E_BAD_ARGUMENT);  // would run past five hex digits
  EXPECT_EQ(CheckTransfer(1, 0, 0x100000, 1), TAV_E_BAD_ARGUMENT);
}

TEST(UnitFrames, CommandTexts) {
  EXPECT_EQ(BuildReadFrame(1, 0, 0x80, 1), "%01#UR0000080001");
  EXPECT_EQ(BuildReadFrame(0, 28, 0xABCDE, 500), "%EE#UR28ABCDE1F4");
  uint16_t words[] = {0x5555, 0x00AB};
  EXPECT_EQ(BuildWriteFrame(12, 3, 0x81, 2, words), "%12#UW03000810025555" "00AB");
  EXPECT_EQ(StationText(99), "99");
}

TEST(UnitFrames, ReadAnswers) {
  uint16_t w[2] = {0, 0};
  EXPECT_EQ(ParseReadAnswer(Bytes("$UR12ABffFF3C\r"), 2, w), 0);
  EXPECT_EQ(w[0], 0x12AB);
  EXPECT_EQ(w[1], 0xFFFF);
  EXPECT_EQ(ParseReadAnswer(Bytes("$UR0001BEEF**"), 2, w), 0);  // "**" instead of a check code
  EXPECT_EQ(ParseReadAnswer(Bytes(std::string("$UR00010002**\r") + '\0'), 2, w), 0);
  EXPECT_EQ(w[1], 0x0002);
}

TEST(UnitFrames, MalformedReadAnswersChangeNothing) {
  uint16_t w[2] = {0x1111, 0x2222};
  for (const char* bad : {"$UR0001", "$UR000100", "$UR00010002XYZ\r", "$UR0001000G**\r", "$UW0001000200\r",
                          "", "%01$UR00010002**\r", "$UR00010002003\r"}) {
    EXPECT_EQ(ParseReadAnswer(Bytes(bad), 2, w), TAV_E_BAD_ANSWER) << bad;
  }
  EXPECT_EQ(w[0], 0x1111);
  EXPECT_EQ(w[1], 0x2222);
}

TEST(UnitFrames, ErrorAnswersGiveTheirCode) {
  uint16_t w[1];
  EXPECT_EQ(ParseReadAnswer(Bytes("!61**\r"), 1, w), -11061);
  EXPECT_EQ(ParseWriteAnswer(Bytes("!40\r")), -11040);
  EXPECT_EQ(ParseWriteAnswer(Bytes("!6")), TAV_E_BAD_ANSWER);
  EXPECT_EQ(ParseWriteAnswer(Bytes("!AB**\r")), TAV_E_BAD_ANSWER);
  EXPECT_EQ(ParseWriteAnswer(Bytes("$UW**\r")), 0);
  EXPECT_EQ(ParseWriteAnswer(Bytes("$UR**\r")), TAV_E_BAD_ANSWER);
}
