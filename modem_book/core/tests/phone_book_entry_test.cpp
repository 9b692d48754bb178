// Entry bytes, text limits and property texts.
#include <gtest/gtest.h>

#include <cstring>

#include "modem_book/phone_book_entry.h"

using namespace modembook;

TEST(PhoneBookEntry, NewEntryIsZeroButTheBaudIndexAndShows9600_8_1_N) {
  CPhoneBookEntry e;
  CPhoneBookEntry::Bytes expected{};
  expected[74] = 3;
  EXPECT_EQ(e.Raw(), expected);
  EXPECT_EQ(PropertyText(e, false), "9600-8-1-N");
  EXPECT_EQ(PropertyText(e, true), "  9600-8-1-N");
}

TEST(PhoneBookEntry, FieldsLandAtTheirOffsetsLittleEndian) {
  CPhoneBookEntry e;
  ASSERT_TRUE(e.SetTitle("大阪"));
  ASSERT_TRUE(e.SetPhone("06-1234"));
  e.SetBaudIndex(7);
  e.SetDataLength(1);
  e.SetParity(2);
  e.SetStopBits(1);
  std::array<uint8_t, 14> reserved{};
  reserved[13] = 0xAB;
  e.SetReserved(reserved);
  const auto& b = e.Raw();
  const uint8_t title[] = {0x91, 0xE5, 0x8D, 0xE3, 0};  // Shift_JIS of the title
  EXPECT_EQ(std::memcmp(b.data(), title, sizeof title), 0);
  EXPECT_EQ(std::memcmp(b.data() + 42, "06-1234", 8), 0);
  EXPECT_EQ(b[74], 7);
  EXPECT_EQ(b[76], 1);
  EXPECT_EQ(b[78], 2);
  EXPECT_EQ(b[80], 1);
  EXPECT_EQ(b[95], 0xAB);
  EXPECT_EQ(PropertyText(e, false), "115200-7-2-E");
  EXPECT_EQ(PropertyText(e, true), "115200-7-2-E");
  // Negative values are signed 16-bit.
  e.SetParity(-2);
  EXPECT_EQ(e.Raw()[78], 0xFE);
  EXPECT_EQ(e.Raw()[79], 0xFF);
  EXPECT_EQ(e.Parity(), -2);
}

TEST(PhoneBookEntry, ValuesOutsideTheTablesGiveEmptyTextsAndAreKept) {
  CPhoneBookEntry e;
  e.SetBaudIndex(8);
  EXPECT_EQ(PropertyText(e, false), "-8-1-N");
  e.SetBaudIndex(-1);
  e.SetParity(3);
  EXPECT_EQ(PropertyText(e, false), "-8-1-");
  EXPECT_EQ(e.BaudIndex(), -1);
  EXPECT_EQ(e.Parity(), 3);
}

TEST(PhoneBookEntry, TitleLimitIsFortyShiftJisBytesWithoutSplittingOrSubstituting) {
  CPhoneBookEntry e;
  EXPECT_TRUE(e.SetTitle(std::string(40, 'a')));
  EXPECT_FALSE(e.SetTitle(std::string(41, 'a')));
  EXPECT_EQ(e.Title(), std::string(40, 'a'));  // the refused text changed nothing
  std::string kanji;
  for (int i = 0; i < 20; ++i) kanji += "漢";
  EXPECT_TRUE(e.SetTitle(kanji));
  EXPECT_FALSE(e.SetTitle(kanji + "a"));
  std::string kana;  // half-width katakana take one byte each
  for (int i = 0; i < 40; ++i) kana += "ｱ";
  EXPECT_TRUE(e.SetTitle(kana));
  EXPECT_FALSE(e.SetTitle("plant \xF0\x9F\x98\x80"));  // no Shift_JIS form: refused, not stored as '?'
  EXPECT_FALSE(e.SetTitle("한국"));
  EXPECT_FALSE(e.SetTitle(std::string("a\0b", 3)));
}

TEST(PhoneBookEntry, PhoneTakesThirtyPrintableAsciiCharacters) {
  CPhoneBookEntry e;
  EXPECT_TRUE(e.SetPhone(std::string(30, '9')));
  EXPECT_FALSE(e.SetPhone(std::string(31, '9')));
  EXPECT_FALSE(e.SetPhone("０６"));
  EXPECT_FALSE(e.SetPhone("06\r1"));
  EXPECT_TRUE(e.SetPhone("P,W 0-6#*"));
}

TEST(PhoneBookEntry, FieldsWithoutNulAreReadWithinTheirWidthAndBytesSurviveUntilEdited) {
  uint8_t raw[96];
  std::memset(raw, 'T', 42);
  std::memset(raw + 42, '5', 32);
  std::memset(raw + 74, 0x7F, 22);
  CPhoneBookEntry e = CPhoneBookEntry::FromBytes(raw);
  EXPECT_EQ(e.Title(), std::string(42, 'T'));
  EXPECT_EQ(e.Phone(), std::string(32, '5'));
  EXPECT_EQ(std::memcmp(e.Raw().data(), raw, 96), 0);
  // Setting the same text keeps the field's bytes; a new text rewrites it.
  uint8_t junk[96] = {'a', 'b', 0, 'z', 'z'};
  CPhoneBookEntry j = CPhoneBookEntry::FromBytes(junk);
  ASSERT_TRUE(j.SetTitle("ab"));
  EXPECT_EQ(j.Raw()[3], 'z');
  ASSERT_TRUE(j.SetTitle("abc"));
  EXPECT_EQ(j.Raw()[3], 0);
}

TEST(PhoneBookEntry, BaudRatesByIndexAndRate) {
  EXPECT_EQ(BaudIndexOfRate(1200), 0);
  EXPECT_EQ(BaudIndexOfRate(115200), 7);
  EXPECT_EQ(BaudIndexOfRate(9601), -1);
  EXPECT_EQ(BaudRateText(7), "115200");
  EXPECT_EQ(BaudRateText(8), "");
}
