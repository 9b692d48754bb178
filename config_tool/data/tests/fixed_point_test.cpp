#include <gtest/gtest.h>

#include <limits>

#include "axcfg_data/fixed_point.h"

using namespace axcfg;

TEST(FormatFixed, PlacesThePointAndTheSign) {
  EXPECT_EQ(FormatFixed(3, 5), "0.005");
  EXPECT_EQ(FormatFixed(3, -5), "-0.005");
  EXPECT_EQ(FormatFixed(1, 1073741823), "107374182.3");
  EXPECT_EQ(FormatFixed(0, 1073741823), "1073741823");
  EXPECT_EQ(FormatFixed(0, -1073741823), "-1073741823");
  EXPECT_EQ(FormatFixed(1, 5000), "500.0");
  EXPECT_EQ(FormatFixed(5, 100000), "1.00000");
  EXPECT_EQ(FormatFixed(4, 1), "0.0001");
  EXPECT_EQ(FormatFixed(2, 0), "0.00");
  EXPECT_EQ(FormatFixed(1, -10), "-1.0");
  EXPECT_EQ(FormatFixed(3, std::numeric_limits<int64_t>::min()), "-9223372036854775.808");
}

TEST(ParseFixed, ScalesToTheLeastUnit) {
  int64_t v = 0;
  EXPECT_TRUE(ParseFixed("12.5", 3, v));
  EXPECT_EQ(v, 12500);
  EXPECT_TRUE(ParseFixed("1.2340", 3, v));
  EXPECT_EQ(v, 1234);
  EXPECT_TRUE(ParseFixed("0.001", 3, v));
  EXPECT_EQ(v, 1);
  EXPECT_TRUE(ParseFixed("-0.005", 3, v));
  EXPECT_EQ(v, -5);
  EXPECT_TRUE(ParseFixed("107374182.3", 1, v));
  EXPECT_EQ(v, 1073741823);
  EXPECT_TRUE(ParseFixed("12.", 2, v));
  EXPECT_EQ(v, 1200);
  EXPECT_TRUE(ParseFixed(".5", 1, v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(ParseFixed(" 7 ", 0, v));
  EXPECT_EQ(v, 7);
  EXPECT_TRUE(ParseFixed("5.000", 0, v));
  EXPECT_EQ(v, 5);
}

TEST(ParseFixed, RejectsWhatIsNotSuchANumberAndKeepsTheValue) {
  for (const char* bad : {"1.2345", "", "-", ".", "abc", "1e3", "1.2.3", "12a", "1,5", "--1", "0x10", "1.-5"}) {
    int64_t v = 42;
    EXPECT_FALSE(ParseFixed(bad, 3, v)) << bad;
    EXPECT_EQ(v, 42) << bad;
  }
  int64_t v = 0;
  EXPECT_FALSE(ParseFixed("1.5", 0, v));
  EXPECT_FALSE(ParseFixed("99999999999999999999", 0, v));
  EXPECT_FALSE(ParseFixed("9223372036854775807", 1, v));  // too large once scaled
  EXPECT_TRUE(ParseFixed("-9223372036854775.808", 3, v));
  EXPECT_EQ(v, std::numeric_limits<int64_t>::min());
}

TEST(FixedPoint, FormatAndParseRoundTrip) {
  const int64_t values[] = {0, 1, -1, 9, 10, 99999, -123456789, 1073741823, -1073741823, 32767000,
                            std::numeric_limits<int64_t>::max()};
  for (int decimals = 0; decimals <= 5; ++decimals) {
    for (int64_t value : values) {
      int64_t back = 0;
      ASSERT_TRUE(ParseFixed(FormatFixed(decimals, value), decimals, back)) << decimals << " " << value;
      EXPECT_EQ(back, value);
    }
  }
}

TEST(ParseInteger, BoundsAndGarbage) {
  int64_t v = 0;
  EXPECT_TRUE(ParseInteger("-2147483648", INT32_MIN, INT32_MAX, v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(ParseInteger("2147483648", INT32_MIN, INT32_MAX, v));
  EXPECT_FALSE(ParseInteger("1.0", INT32_MIN, INT32_MAX, v));
  EXPECT_FALSE(ParseInteger("", INT32_MIN, INT32_MAX, v));
  EXPECT_TRUE(ParseInteger("+12", 0, 100, v));
  EXPECT_EQ(v, 12);
}
