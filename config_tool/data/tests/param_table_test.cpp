// Walks all 61 parameters of both families against the parameter table:
// editor rows, kinds at reset, ranges, reset values, choices and guidance.
#include <gtest/gtest.h>

#include <set>

#include "axcfg_data/le_bytes.h"
#include "axcfg_data/param_block.h"

using namespace axcfg;

namespace {

enum class G { None, List, Range, RangeBlank, Plain, Home };

struct Expected {
  int no, rowS, rowI, kind;  // kind with every value at reset (unit pulse)
  int64_t min, max, reset;   // choices: min 0, max = count-1 of family 0
  int choicesS, choicesI;
  G guide;
};

constexpr int64_t L = 1073741823;
// clang-format off
const Expected kTable[61] = {
  {0, 0, 0, 0, 0, 6, 0, 7, 7, G::List},
  {1, 1, 1, 8, 1, 65535, 1, 0, 0, G::RangeBlank},
  {2, 2, 2, 8, 1, 65535, 1, 0, 0, G::Range},
  {3, -1, 3, 0, 0, 1, 0, 2, 2, G::Plain},
  {4, 3, 4, 0, 0, 1, 0, 2, 2, G::List},
  {5, 4, 5, 0, 0, 1, 1, 2, 2, G::List},
  {6, -1, 6, 0, 0, 1, 1, 2, 2, G::Plain},
  {7, -1, 7, 0, 0, 1, 1, 2, 2, G::Plain},
  {8, 5, -1, 1, 0, 1, 0, 2, 2, G::List},
  {9, -1, 8, 0, 0, 1, 0, 2, 2, G::Plain},
  {10, -1, 9, 0, 0, 1, 0, 2, 2, G::Plain},
  {11, 6, 14, 0, 0, 1, 0, 2, 2, G::List},
  {12, 7, 15, 0, 0, 1, 0, 2, 2, G::List},
  {13, 8, 16, 0, 0, 1, 0, 2, 2, G::List},
  {14, 9, 17, 2, -L, L, L, 0, 0, G::Range},
  {15, 10, 18, 2, -L, L, -L, 0, 0, G::Range},
  {16, -1, 10, 0, 0, 2, 0, 3, 3, G::List},
  {17, -1, 11, 0, 0, 1, 0, 2, 2, G::List},
  {18, -1, 12, 0, 0, 2, 0, 3, 3, G::Plain},
  {19, -1, 13, 0, 0, 2, 2, 3, 3, G::List},
  {20, 11, 19, 0, 0, 2, 0, 3, 3, G::List},
  {21, 12, 20, 4, 0, 255, 10, 0, 0, G::RangeBlank},
  {22, 13, 21, 8, 0, 100, 0, 0, 0, G::RangeBlank},
  {23, -1, 22, 0, 0, 2, 0, 3, 3, G::List},
  {24, 14, -1, 4, 0, 32767, 10, 0, 0, G::RangeBlank},
  {25, 15, -1, 0, 0, 2, 0, 3, 3, G::List},
  {26, 16, -1, 5, 0, 5000, 5000, 0, 0, G::RangeBlank},
  {27, 17, -1, 0, 0, 2, 0, 3, 3, G::List},
  {28, 18, -1, 4, 0, 5000, 5000, 0, 0, G::RangeBlank},
  {29, -1, 23, 4, 0, 65535, 10000, 0, 0, G::Range},
  {30, -1, 24, 4, 1, 32767, 1, 0, 0, G::Range},
  {31, -1, 25, 4, 1, 32767, 1, 0, 0, G::Range},
  {32, -1, 26, 4, 0, 32767, 0, 0, 0, G::Range},
  {33, -1, 27, 4, 0, 32767000, 0, 0, 0, G::Range},
  {34, 19, 28, 0, 0, 8, 0, 9, 7, G::Home},
  {35, -1, -1, 8, 1, 0, 0, 0, 0, G::None},
  {36, 20, -1, 8, 0, 5000, 100, 0, 0, G::RangeBlank},
  {37, 21, -1, 8, 0, 10000, 100, 0, 0, G::RangeBlank},
  {38, 22, 29, 0, 0, 1, 0, 2, 2, G::List},
  {39, 23, 30, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {40, 24, 31, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {41, 25, 32, 4, 1, 32767000, 1000, 0, 0, G::Range},
  {42, 26, 33, 4, 1, 32767000, 100, 0, 0, G::Range},
  {43, 27, 34, 2, -L, L, 0, 0, 0, G::RangeBlank},
  {44, -1, 35, 4, 1, 100, 1, 0, 0, G::RangeBlank},
  {45, 28, 36, 0, 0, 1, 0, 2, 2, G::List},
  {46, 29, 37, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {47, 30, 38, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {48, 31, 39, 4, 1, 32767000, 1000, 0, 0, G::Range},
  {49, 32, 40, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {50, 33, 41, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {51, 34, 42, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {52, 39, 47, 0, 0, 2, 0, 3, 4, G::List},
  {53, 35, 43, 0, 0, 1, 0, 2, 2, G::Plain},
  {54, 36, 44, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {55, 37, 45, 4, 0, 10000, 100, 0, 0, G::RangeBlank},
  {56, 38, 46, 4, 1, 32767000, 1000, 0, 0, G::RangeBlank},
  {57, 40, 48, 0, 0, 2, 0, 3, 3, G::List},
  {58, 41, 49, 4, 1, 32767, 1, 0, 0, G::RangeBlank},
  {59, 42, 50, 4, 1, 32767, 1, 0, 0, G::RangeBlank},
  {60, 43, 51, 4, 0, 32767000, 0, 0, 0, G::RangeBlank},
};
// clang-format on

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(ParamTable, ResetRecordBytesMatchTheRecordLayout) {
  // The reset record written out field by field from the record layout.
  ParamRecord expected{};
  auto w16 = [&](int off, uint16_t v) { PutLe16(expected.data() + off, v); };
  auto w32 = [&](int off, uint32_t v) { PutLe32(expected.data() + off, v); };
  w32(4, 1); w32(8, 1); w16(14, 0x20); w16(16, 1); w16(18, 1);
  w32(24, 1073741823); w32(28, static_cast<uint32_t>(-1073741823));
  expected[37] = 10; w16(40, 1); w16(42, 0x30); w32(48, 10000); w16(54, 10);
  w16(58, 5000); w16(60, 5000); w16(68, 100); w16(70, 100); w32(72, 1000); w32(76, 100);
  w16(80, 1); w16(84, 100); w16(86, 100); w32(88, 1000); w16(98, 100); w16(102, 100);
  w16(106, 100); w16(110, 100); w16(114, 1); w16(116, 1); w16(122, 100); w16(124, 100);
  w16(132, 100); w16(134, 100); w32(136, 1000);

  CParamBlock block;
  for (int axis = 0; axis < 8; ++axis) {
    ParamRecord actual{};
    std::copy_n(block.RecordBytes(axis), kParamRecordBytes, actual.begin());
    for (size_t i = 0; i < kParamRecordBytes; ++i)
      EXPECT_EQ(actual[i], expected[i]) << "axis " << axis << " offset " << i;
  }
}

TEST(ParamTable, EveryParameterInBothFamilies) {
  for (uint32_t family : {0u, 1u}) {
    CParamBlock block;
    block.SetFamily(family);
    std::set<int> rowsSeen;
    for (const Expected& e : kTable) {
      SCOPED_TRACE("family " + std::to_string(family) + " parameter " + std::to_string(e.no));
      int row = family == 1 ? e.rowI : e.rowS;
      EXPECT_EQ(block.ParamToRow(e.no), row);
      if (row >= 0) {
        EXPECT_EQ(block.RowToParam(row), e.no);
        EXPECT_TRUE(rowsSeen.insert(row).second);
      }
      EXPECT_EQ(block.GetParamKind(e.no, 3), e.kind);
      EXPECT_EQ(static_cast<int64_t>(block.GetParamValue(e.no, 3)), e.reset);
      int choices = family == 1 ? e.choicesI : e.choicesS;
      EXPECT_EQ(block.GetChoiceCount(e.no), choices);
      ParamRange r = block.GetParamRange(e.no, 3);
      EXPECT_EQ(r.minimum, choices ? 0 : e.min);
      EXPECT_EQ(r.maximum, choices ? choices - 1 : e.max);
      if (e.no != 35) { EXPECT_TRUE(block.IsInRange(e.no, 3, e.reset)); }
      for (int i = 0; i < choices; ++i) EXPECT_FALSE(block.GetChoiceText(e.no, i).empty()) << i;
      EXPECT_TRUE(block.GetChoiceText(e.no, choices).empty());
      EXPECT_FALSE(block.GetParamName(e.no).empty());

      std::string guidance = block.GetGuidance(e.no, 3);
      switch (e.guide) {
        case G::None: EXPECT_EQ(guidance, ""); break;
        case G::Plain:
          EXPECT_FALSE(guidance.empty());
          EXPECT_EQ(guidance.find("Choose from"), std::string::npos);
          break;
        case G::List: {
          std::string list;
          for (int i = 0; i < choices; ++i) list += (i ? ",  " : "") + block.GetChoiceText(e.no, i);
          EXPECT_TRUE(EndsWith(guidance, "\r\nChoose from the followings.\r\n" + list)) << guidance;
          break;
        }
        case G::Range:
        case G::RangeBlank: {
          std::string setting = "Setting range: " + block.RangeText(e.no, 3);
          size_t at = guidance.find(setting);
          ASSERT_NE(at, std::string::npos) << guidance;
          std::string after = guidance.substr(at + setting.size(), 2);
          EXPECT_EQ(after, e.guide == G::RangeBlank ? "  " : " (") << guidance;
          EXPECT_EQ(guidance.find("%s"), std::string::npos) << guidance;
          break;
        }
        case G::Home:
          EXPECT_EQ(guidance.rfind("Set the pattern of the home return.Choose from the followings.\r\n", 0), 0u);
          break;
      }
    }
    EXPECT_EQ(static_cast<int>(rowsSeen.size()), block.GetRowCount());
    EXPECT_EQ(block.GetRowCount(), family == 1 ? 52 : 44);
    EXPECT_EQ(block.RowToParam(block.GetRowCount()), -1);
    EXPECT_EQ(block.RowToParam(-1), -1);
  }
}

TEST(ParamTable, ChoiceTextsThatDifferByFamily) {
  CParamBlock block;
  EXPECT_EQ(block.GetParamName(4), "CW/CCW direction setting");
  EXPECT_EQ(block.GetChoiceText(34, 5), "5:Phase Z method");
  EXPECT_EQ(block.GetChoiceText(34, 8), "8:Data set");
  EXPECT_EQ(block.GetChoiceText(52, 3), "");
  block.SetFamily(1);
  EXPECT_EQ(block.GetParamName(4), "Pulse output rotation direction");
  EXPECT_EQ(block.GetChoiceText(34, 5), "5:Home metod");
  EXPECT_EQ(block.GetChoiceText(34, 6), "8:Data set");
  EXPECT_EQ(block.GetChoiceText(52, 3), "3:Pulser input 4");
  EXPECT_TRUE(EndsWith(block.GetGuidance(34, 0), "5:Home metod,  8:Data set"));
  EXPECT_TRUE(EndsWith(block.GetGuidance(52, 0), "3:Pulser input 4"));
}

TEST(ParamTable, ChoiceListsInTheirOrder) {
  CParamBlock block;
  auto all = [&](int no) {
    std::string s;
    for (int i = 0; i < block.GetChoiceCount(no); ++i) s += block.GetChoiceText(no, i) + "|";
    return s;
  };
  EXPECT_EQ(all(0), "P:pulse|M:um [Min 0.1]|M:um [Min 1]|I:inch [Min 0.00001]|I:inch [Min 0.0001]|"
                    "D:degree [Min 0.1]|D:degree [Min 1]|");
  EXPECT_EQ(all(5), "A:Available|N:Not available|");
  EXPECT_EQ(all(11), "N:Not available|A:Available|");
  EXPECT_EQ(all(8), "S:Standard|R:Reverse connection|");
  EXPECT_EQ(all(19), "0:x 1|1:x 2|2:x 4|");
  EXPECT_EQ(all(20), "N:Not used|W:With mode|D:Delay mode|");
  EXPECT_EQ(all(25), "N:Not available|E:Available (Error)|W:Available (Warning)|");
  EXPECT_EQ(all(57), "0:Standard|1:Speed limit (keep pulse)|2:Speed limit (keep time)|");
  EXPECT_EQ(all(16), "0:Pulser input|1:Feedback pulse input|2:High speed counter|");
}

TEST(ParamTable, GuidanceTextsAsTheEditorShowsThem) {
  CParamBlock block;
  EXPECT_EQ(block.GetGuidance(21, 0),
            "Set the time that the auxiliary output contact is ON.\r\nSetting range: 0 - 255  (Default 10) ms");
  EXPECT_EQ(block.GetGuidance(5, 0),
            "Set whether the limit switches are used.\r\nChoose from the followings.\r\nA:Available,  N:Not available");
  EXPECT_EQ(block.GetGuidance(26, 0).find("Setting range: 0.0 - 500.0  (Default"), 
            block.GetGuidance(26, 0).find("Setting range:"));
  EXPECT_EQ(block.GetGuidance(35, 0), "");
  EXPECT_EQ(block.GetGuidance(61, 0), "");
  EXPECT_EQ(block.GetGuidance(-1, 0), "");
}
