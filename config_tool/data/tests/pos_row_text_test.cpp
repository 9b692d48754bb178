// Row texts of single axes and 2- and 3-axis groups, their parsing back, and
// the column set the grid and the CSV export share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/pos_row_text.h"

using namespace axcfg;

namespace {

const uint32_t kSingle3 = MakeSingleAxisEntry(2);
const uint32_t kGroupA25 = MakeGroupEntry(1, 0x12);     // axes 2 and 5
const uint32_t kGroupB137 = MakeGroupEntry(2, 0x45);    // axes 1, 3 and 7

std::vector<int> Columns(uint32_t entry, bool withJump = false) {
  ColumnSet set = GetColumnSet(entry, withJump);
  return std::vector<int>(set.columns.begin(), set.columns.begin() + set.count);
}

}  // namespace

TEST(RowText, DefaultRowOfASingleAxis) {
  CPosData row;
  CParamBlock params;
  EXPECT_EQ(BuildRowText(row, params, kSingle3), "E\tI\t0\tL\t100\t100\t1000\t0\t0\t\r\n");
}

TEST(RowText, SingleAxisFieldsAndDecimals) {
  CParamBlock params;
  ASSERT_TRUE(params.SetParam(0, 2, 1));  // axis 3 in um [Min 0.1]
  CPosData row;
  row.SetControlMethod(2, kCtrlJog);
  row.SetPositionMode(2, kPosAbsolute);
  row.SetMoveAmount(2, -12345);
  row.SetAccelPattern(2, 1);
  row.SetAccelTime(2, 250);
  row.SetDecelTime(2, 10000);
  row.SetTargetSpeed(2, 32767000);
  row.SetDwellTime(2, 32767);
  row.SetAuxCode(2, 40000);
  row.SetComment(2, "first move");
  const std::string text = BuildRowText(row, params, kSingle3);
  EXPECT_EQ(text, "J\tA\t-1234.5\tS\t250\t10000\t32767000\t32767\t40000\tfirst move\r\n");

  CPosData back;
  ASSERT_TRUE(ParseRowText(back, params, kSingle3, text));
  EXPECT_EQ(back.Element(2), row.Element(2));
  for (int a = 0; a < 8; ++a)
    if (a != 2) { EXPECT_EQ(back.Element(a), PosElement()) << a; }

  ASSERT_TRUE(params.SetParam(0, 2, 3));  // inch: speeds with 3 decimals
  EXPECT_EQ(RowSpeedDecimals(params, kSingle3), 3);
  ASSERT_TRUE(ParseRowText(back, params, kSingle3, "E\tI\t0.00001\tL\t0\t0\t0.001\t0\t0\t"));
  EXPECT_EQ(back.GetTargetSpeed(2), 1);
  EXPECT_EQ(back.GetMoveAmount(2), 1);
  EXPECT_EQ(BuildRowText(back, params, kSingle3), "E\tI\t0.00001\tL\t0\t0\t0.001\t0\t0\t\r\n");
}

TEST(RowText, ChoiceLetters) {
  EXPECT_EQ(ControlMethodLetter(0), 'E');
  EXPECT_EQ(ControlMethodLetter(1), 'P');
  EXPECT_EQ(ControlMethodLetter(2), 'C');
  EXPECT_EQ(ControlMethodLetter(3), 'J');
  EXPECT_EQ(ControlMethodLetter(200), 'J');
  EXPECT_EQ(ControlMethodOfText("P"), 1);
  EXPECT_EQ(ControlMethodOfText("C: Continuation"), 2);
  EXPECT_EQ(ControlMethodOfText("E"), 0);
  EXPECT_EQ(ControlMethodOfText("x"), 3);
  EXPECT_EQ(ControlMethodOfText(""), 3);
  EXPECT_EQ(PositionModeLetter(1), 'A');
  EXPECT_EQ(PositionModeLetter(7), 'I');
  EXPECT_EQ(AccelPatternLetter(1), 'S');
  EXPECT_EQ(AccelPatternLetter(2), 'L');
  EXPECT_EQ(InterpPatternLetter(0x33), '0');
  EXPECT_EQ(InterpPatternOfText("Z"), 0);
}

TEST(RowText, TwoAxisGroupWithEveryPattern) {
  CParamBlock params;
  ASSERT_TRUE(params.SetParam(0, 1, 1));  // first axis of the group decides: 0.1 um
  ASSERT_TRUE(params.SetParam(0, 4, 3));  // the second axis's unit is not used
  const std::pair<char, uint8_t> patterns[] = {{'0', 0x00}, {'1', 0x01}, {'S', 0x10}, {'T', 0x11}, {'U', 0x20}};
  for (auto [letter, code] : patterns) {
    CPosData row;
    std::string text = std::string("C\t") + letter + "\tA\t10.5\t-0.1\t20.0\t3.3\tS\t1\t2\t500.0\t3\t4\tarc\r\n";
    ASSERT_TRUE(ParseRowText(row, params, kGroupA25, text)) << letter;
    for (int a : {1, 4}) {
      EXPECT_EQ(row.GetControlMethod(a), kCtrlContinue);
      EXPECT_EQ(row.GetInterpPattern(a), code) << letter;
      EXPECT_TRUE(IsInterpPatternAllowed(code, 2));
      EXPECT_EQ(row.GetPositionMode(a), kPosAbsolute);
      EXPECT_EQ(row.GetAccelPattern(a), 1);
      EXPECT_EQ(row.GetAccelTime(a), 1);
      EXPECT_EQ(row.GetDecelTime(a), 2);
      EXPECT_EQ(row.GetTargetSpeed(a), 500);  // speed decimals 0 for um
      EXPECT_EQ(row.GetDwellTime(a), 3);
      EXPECT_EQ(row.GetAuxCode(a), 4);
      EXPECT_EQ(row.GetComment(a), "arc");
    }
    EXPECT_EQ(row.GetMoveAmount(1), 105);
    EXPECT_EQ(row.GetAuxPoint(1), -1);
    EXPECT_EQ(row.GetMoveAmount(4), 200);
    EXPECT_EQ(row.GetAuxPoint(4), 33);
    EXPECT_EQ(row.Element(0), PosElement());
    EXPECT_EQ(BuildRowText(row, params, kGroupA25),
              std::string("C\t") + letter + "\tA\t10.5\t-0.1\t20.0\t3.3\tS\t1\t2\t500\t3\t4\tarc\r\n");
  }
}

TEST(RowText, ThreeAxisGroupWithEveryPattern) {
  CParamBlock params;
  const std::pair<char, uint8_t> patterns[] = {{'0', 0x00}, {'1', 0x01}, {'A', 0x50}, {'B', 0x51},
                                               {'C', 0x52}, {'D', 0x53}, {'E', 0x54}, {'F', 0x55},
                                               {'L', 0x60}, {'M', 0x61}, {'N', 0x62}};
  for (auto [letter, code] : patterns) {
    CPosData row;
    row.SetControlMethod(0, kCtrlPass);
    row.SetInterpPattern(0, code);
    row.SetMoveAmount(0, 1);
    row.SetAuxPoint(0, 2);
    row.SetMoveAmount(2, 3);
    row.SetAuxPoint(2, 4);
    row.SetMoveAmount(6, 5);
    row.SetAuxPoint(6, -6);
    row.SetComment(0, "spiral");
    const std::string text = BuildRowText(row, params, kGroupB137);
    EXPECT_EQ(text, std::string("P\t") + letter + "\tI\t1\t2\t3\t4\t5\t-6\tL\t100\t100\t1000\t0\t0\tspiral\r\n");
    EXPECT_TRUE(IsInterpPatternAllowed(code, 3));
    CPosData back;
    ASSERT_TRUE(ParseRowText(back, params, kGroupB137, text));
    EXPECT_EQ(back.GetInterpPattern(6), code);
    EXPECT_EQ(back.GetControlMethod(2), kCtrlPass);
    EXPECT_EQ(back.GetComment(6), "spiral");
    EXPECT_EQ(back.GetAuxPoint(6), -6);
    EXPECT_EQ(BuildRowText(back, params, kGroupB137), text);
  }
  EXPECT_FALSE(IsInterpPatternAllowed(0x10, 3));
  EXPECT_FALSE(IsInterpPatternAllowed(0x50, 2));
}

TEST(RowText, RowWideFieldsAreReadFromTheLowestMember) {
  CParamBlock params;
  CPosData row;
  row.SetControlMethod(4, kCtrlPass);  // only the second member differs
  row.SetTargetSpeed(4, 7);
  EXPECT_EQ(BuildRowText(row, params, kGroupA25).substr(0, 2), "E\t");
  row.SetControlMethod(1, kCtrlContinue);
  EXPECT_EQ(BuildRowText(row, params, kGroupA25).substr(0, 2), "C\t");
}

TEST(RowText, GroupEntryWithOneAxisIsASingleAxisRow) {
  CParamBlock params;
  CPosData row;
  row.SetControlMethod(2, kCtrlJog);
  EXPECT_EQ(BuildRowText(row, params, 0x01010004), "J\tI\t0\tL\t100\t100\t1000\t0\t0\t\r\n");
}

TEST(RowText, MalformedTextStopsAtTheBadFieldAndKeepsWhatCameBefore) {
  CParamBlock params;
  CPosData row;
  // The movement amount parses, the acceleration time does not.
  EXPECT_FALSE(ParseRowText(row, params, kSingle3, "P\tA\t77\tS\tfast\t1\t1\t1\t1\tx"));
  EXPECT_EQ(row.GetControlMethod(2), kCtrlPass);
  EXPECT_EQ(row.GetMoveAmount(2), 77);
  EXPECT_EQ(row.GetAccelPattern(2), 1);
  EXPECT_EQ(row.GetAccelTime(2), 100);
  EXPECT_EQ(row.GetComment(2), "");

  CPosData untouched;
  EXPECT_FALSE(ParseRowText(untouched, params, kSingle3, "E\tI"));   // too few fields
  EXPECT_FALSE(ParseRowText(untouched, params, kSingle3, "E\tI\t1.5\tL\t1\t1\t1\t1\t1\t"));  // decimals of pulse
  EXPECT_FALSE(ParseRowText(untouched, params, kSingle3, "E\tI\t0\tL\t99999999999\t1\t1\t1\t1\t"));
  EXPECT_FALSE(ParseRowText(untouched, params, kSingle3, "E\tI\t99999999999999999999\tL\t1\t1\t1\t1\t1\t"));
  EXPECT_EQ(untouched.GetMoveAmount(2), 0);
  EXPECT_EQ(untouched.GetAccelTime(2), 100);

  EXPECT_FALSE(ParseRowText(untouched, params, MakeGroupEntry(1, 0x0F), "E"));  // 4 axes
  EXPECT_FALSE(ParseRowText(untouched, params, 0, "E"));                        // no axis
  EXPECT_EQ(BuildRowText(untouched, params, MakeGroupEntry(1, 0x0F)), "");
  EXPECT_EQ(untouched, CPosData());
}

TEST(RowText, CommentsKeepTheirLengthButNotLineBreaks) {
  CParamBlock params;
  CPosData row;
  const std::string longComment(150, 'c');
  ASSERT_TRUE(ParseRowText(row, params, kSingle3, "E\tI\t0\tL\t1\t1\t1\t1\t1\t" + longComment + "\r\n"));
  EXPECT_EQ(row.GetComment(2), longComment);  // the data check reports it, editing keeps it
  ASSERT_TRUE(ParseRowText(row, params, kSingle3, "E\tI\t0\tL\t1\t1\t1\t1\t1\tline one\r\nline two"));
  EXPECT_EQ(row.GetComment(2), "line one");
  ASSERT_TRUE(ParseRowText(row, params, kSingle3, "E\tI\t0\tL\t1\t1\t1\t1\t1\tcell\textra"));
  EXPECT_EQ(row.GetComment(2), "cell");
  EXPECT_FALSE(row.SetComment(2, std::string(kMaxStoredCommentBytes + 10, 'x')));
  EXPECT_EQ(row.GetComment(2).size(), kMaxStoredCommentBytes);
  std::string japanese;
  for (int i = 0; i < 30000; ++i) japanese += "\xE3\x81\x82";  // 3 bytes each
  row.SetComment(2, "a" + japanese);
  EXPECT_LE(row.GetComment(2).size(), kMaxStoredCommentBytes);
  EXPECT_EQ((row.GetComment(2).size() - 1) % 3, 0u);  // never cut inside a character
}

TEST(RowCells, ChoiceCellsShowTheirFullText) {
  CParamBlock params;
  ASSERT_TRUE(params.SetParam(0, 1, 1));
  CPosData row;
  row.SetMoveAmount(1, 12345);
  row.SetInterpPattern(1, 0x20);
  row.SetPositionMode(1, kPosAbsolute);
  EXPECT_EQ(RowCellText(row, params, kGroupA25, kColControlMethod), "E: End");
  EXPECT_EQ(RowCellText(row, params, kGroupA25, kColInterpPattern), "U: Circular (Pass point)");
  EXPECT_EQ(RowCellText(row, params, kGroupA25, kColPositionMode), "A: Absolute");
  EXPECT_EQ(RowCellText(row, params, kGroupA25, kColAccelPattern), "L: Linear");
  EXPECT_EQ(RowCellText(row, params, kGroupA25, 7), "1234.5");
  row.SetInterpPattern(1, 0x20);
  EXPECT_EQ(RowCellText(row, params, MakeGroupEntry(1, 0x32), kColInterpPattern), "U");  // not a 3-axis pattern
  row.SetControlMethod(1, 9);
  EXPECT_EQ(RowCellText(row, params, kGroupA25, kColControlMethod), "J: JOG positioning control");
}

TEST(Columns, ColumnSetsOfSingleAxesAndGroups) {
  EXPECT_EQ(Columns(kGroupA25), (std::vector<int>{1, 3, 4, 7, 8, 13, 14, 21, 22, 23, 25, 26, 27, 28}));
  EXPECT_EQ(Columns(kSingle3), (std::vector<int>{1, 4, 9, 21, 22, 23, 24, 26, 27, 28}));
  EXPECT_EQ(Columns(kSingle3, true), (std::vector<int>{1, 2, 4, 9, 21, 22, 23, 24, 26, 27, 28}));
  EXPECT_EQ(Columns(kGroupB137).size(), 16u);
  EXPECT_TRUE(Columns(MakeGroupEntry(1, 0x0F)).empty());
  EXPECT_EQ(ColumnAxis(19), 7);
  EXPECT_EQ(ColumnAxis(20), 7);
  EXPECT_TRUE(IsAuxPointColumn(20));
  EXPECT_EQ(ColumnAxis(21), -1);
}

TEST(Columns, SheetNames) {
  EXPECT_EQ(GetSheetName(kSingle3), "3Axis");
  EXPECT_EQ(GetSheetName(kGroupA25), "[A] 2,5Axis");
  EXPECT_EQ(GetSheetName(kGroupB137), "[B] 1,3,7Axis");
  EXPECT_EQ(GetSheetName(0x01010004), "3Axis");
  EXPECT_EQ(GetSheetName(0), "");
}

TEST(Columns, TitlesAndChoices) {
  EXPECT_EQ(GetColumnTitle(9, kSingle3), "X axis(3) movement amount");
  EXPECT_EQ(GetColumnTitle(7, kGroupA25), "X axis(2) movement amount");
  EXPECT_EQ(GetColumnTitle(14, kGroupA25), "Y axis(5) auxiliary point");
  EXPECT_EQ(GetColumnTitle(17, kGroupB137), "Z axis(7) movement amount");
  EXPECT_EQ(GetColumnTitle(1, kSingle3), "Pattern");
  EXPECT_EQ(GetColumnTitle(25, kGroupA25), "Interpolation Speed");
  EXPECT_EQ(GetColumnTitle(2, kSingle3), "Jump No.");
  EXPECT_EQ(GetColumnTitle(29, kSingle3), "");
  EXPECT_EQ(GetColumnChoices(1, kSingle3).size(), 4u);
  EXPECT_EQ(GetColumnChoices(1, kSingle3).back(), "J: JOG positioning control");
  EXPECT_EQ(GetColumnChoices(1, kGroupA25).size(), 3u);
  EXPECT_EQ(GetColumnChoices(3, kGroupA25).size(), 5u);
  EXPECT_EQ(GetColumnChoices(3, kGroupB137).size(), 11u);
  EXPECT_EQ(GetColumnChoices(4, kSingle3).front(), "I: Increment");
  EXPECT_TRUE(GetColumnChoices(22, kSingle3).empty());
}
