#include <gtest/gtest.h>

#include "platform/cp932.h"

using namespace platform;

TEST(Cp932, ConvertsAndCountsInCodePageBytes) {
  const std::string kana = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";  // three full-width katakana
  const std::string half = "\xEF\xBE\x83";                          // one half-width katakana
  EXPECT_EQ(Cp932FromUtf8(kana), "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(Utf8FromCp932("\x83\x65\x83\x58\x83\x67"), kana);
  EXPECT_EQ(Cp932FromUtf8(half), "\xC3");
  EXPECT_EQ(Cp932Length("abc" + kana + half), 3u + 6u + 1u);
  EXPECT_EQ(Cp932FromUtf8("plain"), "plain");
  // A prefix never splits a character and respects the byte limit.
  EXPECT_EQ(Cp932Prefix("ab" + kana, 5), 2u + 3u);  // "ab" and one katakana: 4 bytes; two would be 6
  EXPECT_EQ(Cp932Prefix("ab" + kana, 1), 1u);
  EXPECT_EQ(Cp932Prefix(kana + half, 7), kana.size() + half.size());
  // A character without a code page 932 form counts as two bytes.
  EXPECT_EQ(Cp932Length("\xF0\x9F\x98\x80"), 2u);
  EXPECT_EQ(Cp932Length("a\xE9"), 3u);  // a stray byte counts as one two-byte character
  EXPECT_EQ(Cp932Prefix("abc", 10), 3u);
  // Bytes that are not code page 932 do not crash and come back as replacement characters.
  EXPECT_FALSE(Utf8FromCp932("\x81").empty());
}

TEST(Cp932, FindsTheFirstCharacterItCannotHold) {
  EXPECT_EQ(platform::FirstCharNotInCp932("Start pos 123"), "");
  EXPECT_EQ(platform::FirstCharNotInCp932("日本語ｶﾅ テスト"), "");
  EXPECT_EQ(platform::FirstCharNotInCp932("Start pos ünïcode 日本"), "ü");
  EXPECT_EQ(platform::FirstCharNotInCp932("日本 é"), "é");
  EXPECT_EQ(platform::FirstCharNotInCp932("emoji 😀"), "😀");
}
