#include <gtest/gtest.h>

#include <fstream>

#include "axcfg_unit/tool_timer_settings.h"
#include "axcfg_unit/value_input.h"
#include "test_home.h"

using namespace axcfg;

namespace {

ToolTimerSettings LoadWith(const std::string& monitor, const std::string& watch) {
  const std::string path = keldtest::FreshDir("timer") + "/ToolTimerIntVal.Dat";
  std::ofstream(path) << "[ToolOprTimerInterVal]\nMonitorTimerInterval=" << monitor
                      << "\nWatchTimerInterval=" << watch << "\n";
  return LoadToolTimerSettings(path);
}

}  // namespace

TEST(ToolTimerSettingsTest, MissingOrUnusableValuesGiveTheDefaultsAndThePauseIsCapped) {
  const auto missing = LoadToolTimerSettings(keldtest::FreshDir("none") + "/ToolTimerIntVal.Dat");
  EXPECT_EQ(missing.monitorMs, 200);
  EXPECT_EQ(missing.watchMs, 50);

  const auto negative = LoadWith("-1", "-1");  // an endless pause otherwise
  EXPECT_EQ(negative.monitorMs, 200);
  EXPECT_EQ(negative.watchMs, 50);
  const auto zero = LoadWith("0", "0");
  EXPECT_EQ(zero.monitorMs, 200);
  EXPECT_EQ(zero.watchMs, 50);

  const auto second = LoadWith("1000", "1000");
  EXPECT_EQ(second.monitorMs, 1000);
  EXPECT_EQ(second.watchMs, 500);  // the unit could stop an axis between two writes

  // Kept as 16-bit signed: 70000 reads as 4464, 40000 as a negative number.
  const auto wrapped = LoadWith("70000", "40000");
  EXPECT_EQ(wrapped.monitorMs, 4464);
  EXPECT_EQ(wrapped.watchMs, 50);
  const auto fine = LoadWith("150", "20");
  EXPECT_EQ(fine.monitorMs, 150);
  EXPECT_EQ(fine.watchMs, 20);
}

TEST(ValueInputTest, RulesFollowTheKindsUnit) {
  EXPECT_EQ(PositionKindOfUnit(0x0000), 1);
  EXPECT_EQ(PositionKindOfUnit(0x0301), 7);
  EXPECT_EQ(PositionKindOfUnit(0x0102), 0);

  const auto origin = ValueInputRules(2, "2 axis", true);
  EXPECT_EQ(origin.title, "Coordinate origin - 2 axis");
  EXPECT_EQ(origin.prompt, "Input the coordinate origin value (unit:um  Min. unit 0.1 um) to be changed.");
  EXPECT_EQ(origin.decimals, 1);
  EXPECT_EQ(origin.RangeText(), "Range:-214748364.8 - 214748364.7");
  EXPECT_EQ(ValueInputRules(4, "1 axis").title, "Current value update - 1 axis");
  EXPECT_EQ(ValueInputRules(4, "1 axis").decimals, 5);

  const auto speed = ValueInputRules(104, "3 axis [A]");
  EXPECT_EQ(speed.title, "Input JOG target speed - 3 axis [A]");
  EXPECT_EQ(speed.decimals, 3);
  EXPECT_EQ(speed.RangeText(), "Range:0.001 - 32767.000");
  EXPECT_EQ(ValueInputRules(101, "1 axis").RangeText(), "Range:1 - 32767000");

  const auto table = ValueInputRules(kValueTeachTable, "1 axis");
  EXPECT_EQ(table.title, "Input Table No. - 1 axis");
  EXPECT_EQ(table.RangeText(), "Range:1 - 600");
  EXPECT_EQ(ValueInputRules(kValueStartingTable, "1 axis").maximum, 600);
  const auto rate = ValueInputRules(kValueSpeedRate, "");
  EXPECT_EQ(rate.title, "Input speed rate");
  EXPECT_EQ(rate.prompt, "Input the speed rate (unit:%) to change.");
  EXPECT_EQ(rate.RangeText(), "Range:0 - 65535");
}

TEST(ValueInputTest, ParseGivesTheThreeMessages) {
  const auto position = ValueInputRules(2, "1 axis");
  int64_t value = 99;
  EXPECT_EQ(ParseValueInput("   ", position, value), ValueInputCheck::kEmpty);
  EXPECT_EQ(ParseValueInput("1.25", position, value), ValueInputCheck::kNotANumber);
  EXPECT_EQ(ParseValueInput("abc", position, value), ValueInputCheck::kNotANumber);
  EXPECT_EQ(ParseValueInput("214748364.8", position, value), ValueInputCheck::kOutOfRange);
  EXPECT_EQ(value, 99);
  EXPECT_EQ(ParseValueInput(" -12.5 ", position, value), ValueInputCheck::kOk);
  EXPECT_EQ(value, -125);

  // Without a range a table No. of 70000 would be cut into a word.
  EXPECT_EQ(ParseValueInput("70000", ValueInputRules(kValueStartingTable, "1 axis"), value),
            ValueInputCheck::kOutOfRange);
  EXPECT_EQ(ParseValueInput("0", ValueInputRules(kValueTeachTable, "1 axis"), value), ValueInputCheck::kOutOfRange);
  EXPECT_EQ(ParseValueInput("65536", ValueInputRules(kValueSpeedRate, ""), value), ValueInputCheck::kOutOfRange);

  EXPECT_EQ(ValueInputMessage(ValueInputCheck::kEmpty), "Input any value.");
  EXPECT_EQ(ValueInputMessage(ValueInputCheck::kNotANumber), "Input a value correctly.");
  EXPECT_EQ(ValueInputMessage(ValueInputCheck::kOutOfRange), "The input value is out of range.\nInput the correct value.");
  EXPECT_EQ(ValueInputMessage(ValueInputCheck::kOk), "");
}
