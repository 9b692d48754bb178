// Tab-separated texts and string search.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "axview/helpers.h"

namespace {

// A buffer of exactly the size the function's contract asks for, with a
// guard zone behind it that must stay untouched.
struct GuardedBuffer {
  explicit GuardedBuffer(size_t size, const std::string& initial = {}) : bytes(size + 16, '\x5A'), size(size) {
    std::memcpy(bytes.data(), initial.c_str(), initial.size() + 1);
  }
  char* data() { return bytes.data(); }
  bool GuardIntact() const {
    for (size_t i = size; i < bytes.size(); ++i)
      if (bytes[i] != '\x5A') return false;
    return true;
  }
  std::vector<char> bytes;
  size_t size;
};

std::string GetParts(const std::string& text, int first, int last, int* result) {
  GuardedBuffer out(text.size() + 3);
  *result = GetPartsOfTabSeparatedString(text.c_str(), out.data(), first, last);
  EXPECT_TRUE(out.GuardIntact()) << "wrote past the output for \"" << text << "\"";
  return *result >= 0 ? std::string(out.data()) : std::string();
}

std::string SetParts(const std::string& line, const std::string& parts, int first, int* result) {
  GuardedBuffer buf(line.size() + parts.size() + 3, line);
  *result = SetPartsOfTabSeparatedString(buf.data(), parts.c_str(), first);
  EXPECT_TRUE(buf.GuardIntact()) << "wrote past the line for \"" << line << "\" / \"" << parts << "\"";
  return std::string(buf.data());
}

}  // namespace

TEST(DivideString, CountsTabsAndCutsAtEverySeparator) {
  char two[] = "a\tbb\tc";
  EXPECT_EQ(DivideString(two), 3);
  EXPECT_STREQ(two, "a");
  EXPECT_STREQ(two + 2, "bb");
  EXPECT_STREQ(two + 5, "c");

  char empty[] = "";
  EXPECT_EQ(DivideString(empty), 1);

  char withEnd[] = "x\ty\r\n";
  EXPECT_EQ(DivideString(withEnd), 2);  // CR and LF end a field but are not counted
  EXPECT_EQ(withEnd[3], '\0');
  EXPECT_EQ(withEnd[4], '\0');

  EXPECT_EQ(DivideString(nullptr), 0);
}

TEST(GetPartsOfTabSeparatedString, RangeAndSingleField) {
  int r;
  EXPECT_EQ(GetParts("a\tb\tc\td", 1, 2, &r), "b\tc\r\n");
  EXPECT_EQ(r, 2);
  EXPECT_EQ(GetParts("a\tb\tc\td", 1, 1, &r), "b");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(GetParts("a\tb\tc\td", 2, 0, &r), "c");  // last below first: field first alone
  EXPECT_EQ(r, 1);
  EXPECT_EQ(GetParts("a\tb\tc\td\r\n", 1, -1, &r), "b\tc\td\r\n");  // to the last field
  EXPECT_EQ(r, 3);
  EXPECT_EQ(GetParts("a\tb", 0, -1, &r), "a\tb\r\n");  // the largest output the contract allows
  EXPECT_EQ(r, 2);
  EXPECT_EQ(GetParts("", 0, 0, &r), "");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(GetParts("a\t\t", 1, 1, &r), "");  // empty fields exist
  EXPECT_EQ(r, 1);
}

TEST(GetPartsOfTabSeparatedString, RefusesBadArguments) {
  int r;
  char out[16];
  GetParts("a\tb", 2, 2, &r);
  EXPECT_EQ(r, -1);
  GetParts("a\tb", 0, 2, &r);
  EXPECT_EQ(r, -1);
  GetParts("a\tb", -1, 1, &r);
  EXPECT_EQ(r, -1);
  EXPECT_EQ(GetPartsOfTabSeparatedString(nullptr, out, 0, 0), -1);
  EXPECT_EQ(GetPartsOfTabSeparatedString("a", nullptr, 0, 0), -1);
  // A TAB after the line's end belongs to no field.
  GetParts("a\r\nb\tc", 1, 1, &r);
  EXPECT_EQ(r, -1);
}

TEST(SetPartsOfTabSeparatedString, ReplacesWithoutAddingFields) {
  int r;
  EXPECT_EQ(SetParts("1\t2\t3", "X\tY", 2, &r), "1\t2\tX\r\n");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(SetParts("1\t2\t3\r\n", "X\tY", 0, &r), "X\tY\t3\r\n");
  EXPECT_EQ(r, 2);
  EXPECT_EQ(SetParts("1\t2\t3", "X", 3, &r), "1\t2\t3\r\n");  // past the last field: nothing replaced
  EXPECT_EQ(r, 0);
  EXPECT_EQ(SetParts("\t", "xyz", 0, &r), "xyz\t\r\n");  // empty fields grow into the spare bytes
  EXPECT_EQ(r, 1);
  EXPECT_EQ(SetParts("a", "", 7, &r), "a\r\n");
  EXPECT_EQ(r, 0);
  EXPECT_EQ(SetParts("a\tb", "", 1, &r), "a\t\r\n");
  EXPECT_EQ(r, 1);
}

TEST(SetPartsOfTabSeparatedString, RefusesBadArgumentsAndLeavesLine) {
  int r;
  EXPECT_EQ(SetParts("1\t2", "X", -1, &r), "1\t2");
  EXPECT_EQ(r, -1);
  char line[] = "a";
  EXPECT_EQ(SetPartsOfTabSeparatedString(line, nullptr, 0), -1);
  EXPECT_EQ(SetPartsOfTabSeparatedString(nullptr, "x", 0), -1);
  EXPECT_STREQ(line, "a");
}

TEST(SearchPartialString, FindsFirstOccurrence) {
  int s, e;
  SearchPartialString("aab", "ab", 0, &s, &e);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(e, 2);
  SearchPartialString("Hello World", "WORLD", 0, &s, &e);
  EXPECT_EQ(s, -1);
  EXPECT_EQ(e, -1);
  SearchPartialString("Hello World", "WORLD", 1, &s, &e);
  EXPECT_EQ(s, 6);
  EXPECT_EQ(e, 10);
  SearchPartialString("abc", "abc", 0, &s, &e);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 2);
}

TEST(SearchPartialString, NoSearchForEmptyOrLongerPattern) {
  int s = 5, e = 5;
  SearchPartialString("abc", "", 0, &s, &e);
  EXPECT_EQ(s, -1);
  EXPECT_EQ(e, -1);
  s = e = 5;
  SearchPartialString("ab", "abc", 0, &s, &e);
  EXPECT_EQ(s, -1);
  EXPECT_EQ(e, -1);
  s = e = 5;
  SearchPartialString(nullptr, "a", 0, &s, &e);
  EXPECT_EQ(s, -1);
  EXPECT_EQ(e, -1);
}

TEST(InsertNumString, KeepsDigitLimitSignAndOnePoint) {
  char number[16] = "-12";
  char* end = InsertNumString(number, "3x.4.5", 4, 3, sizeof number);
  // Digits up to four in all, the first point only.
  EXPECT_STREQ(number, "-123.4");
  EXPECT_EQ(end, number + 6);

  char withPoint[16] = "1.5";
  InsertNumString(withPoint, ".7", 0, 1, sizeof withPoint);
  EXPECT_STREQ(withPoint, "17.5");

  char sign[16] = "-5";
  InsertNumString(sign, "9", 3, 0, sizeof sign);  // never in front of the sign
  EXPECT_STREQ(sign, "-95");
}

TEST(InsertNumString, NeverWritesPastTheBuffer) {
  char buf[8 + 8];
  std::memset(buf, 'Z', sizeof buf);
  std::strcpy(buf, "123");
  char* end = InsertNumString(buf, "456789012", 0, 3, 8);
  EXPECT_STREQ(buf, "1234567");
  EXPECT_EQ(end, buf + 7);
  for (size_t i = 8; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 'Z');

  char unterminated[4] = {'1', '2', '3', '4'};
  EXPECT_EQ(InsertNumString(unterminated, "5", 0, 0, 4), nullptr);
  EXPECT_EQ(InsertNumString(nullptr, "5", 0, 0, 4), nullptr);
}
