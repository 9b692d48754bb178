// The one encoding of the serial fields: every allowed combination goes
// through the record and the text form unchanged, and every value just
// outside a field's range is refused without touching the record.
#include <gtest/gtest.h>

#include <array>

#include "tavinter/connection_record.h"
#include "tavinter/request_record.h"
#include "tavinter/serial_settings.h"

using namespace tavinter;

namespace {

std::vector<CSerialSettings> AllAllowed() {
  std::vector<CSerialSettings> all;
  for (int16_t baud = 0; baud < kBaudRateCount; ++baud)
    for (int16_t bits = kMinDataBits; bits <= kMaxDataBits; ++bits)
      for (int16_t parity = 0; parity < kParityCount; ++parity)
        for (int16_t stop = 1; stop <= 2; ++stop) all.push_back({baud, bits, parity, stop});
  return all;
}

TEST(SerialSettings, EveryAllowedCombinationRoundTrips) {
  const auto all = AllAllowed();
  ASSERT_EQ(all.size(), 9u * 4u * 4u * 2u);
  for (const CSerialSettings& s : all) {
    std::array<uint8_t, kConnectionRecordSize> bytes{};
    ASSERT_TRUE(WriteSerialSettings(CConnectionRecord(bytes.data()), s));
    EXPECT_EQ(ReadSerialSettings(CConnectionRecord(bytes.data())), s);
    // The open request carries the same fields in the channel configuration.
    CChannelConfig config = CConnectionRecord(bytes.data()).Config();
    EXPECT_EQ(ReadSerialSettings(config), s);

    const std::string text = SerialText(s);
    CSerialSettings back{0, 0, 0, 0};
    std::string error;
    ASSERT_TRUE(ParseSerialText(text, back, error)) << text << ": " << error;
    EXPECT_EQ(back, s) << text;
  }
  EXPECT_EQ(SerialText({3, 8, kParityOdd, 1}), "9600,8,O,1");
  EXPECT_EQ(SerialText({8, 5, kParitySpace, 2}), "230400,5,S,2");
}

TEST(SerialSettings, ValuesOutsideEachFieldAreRefused) {
  const CSerialSettings good{};
  struct Case {
    CSerialSettings s;
    SerialField field;
  };
  const Case cases[] = {
      {{-1, 8, 1, 1}, SerialField::Baud},     {{9, 8, 1, 1}, SerialField::Baud},
      {{3, 4, 1, 1}, SerialField::DataBits},  {{3, 9, 1, 1}, SerialField::DataBits},
      {{3, 8, -1, 1}, SerialField::Parity},   {{3, 8, 4, 1}, SerialField::Parity},
      {{3, 8, 1, 0}, SerialField::StopBits},  {{3, 8, 1, 3}, SerialField::StopBits},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InvalidSerialField(c.s), c.field);
    std::array<uint8_t, kConnectionRecordSize> bytes{};
    ASSERT_TRUE(WriteSerialSettings(CConnectionRecord(bytes.data()), good));
    EXPECT_FALSE(WriteSerialSettings(CConnectionRecord(bytes.data()), c.s));
    EXPECT_EQ(ReadSerialSettings(CConnectionRecord(bytes.data())), good);  // untouched
    EXPECT_EQ(SerialText(c.s), "");
  }
  EXPECT_EQ(BaudRateOfIndex(9), 0);
  EXPECT_EQ(BaudIndexOfRate(9601), -1);
}

TEST(SerialSettings, TextFormRefusesWhatItCannotEncode) {
  for (const char* bad : {"", "9601", "0x2580", "9600,4", "9600,9", "9600,8,M", "9600,8,NO", "9600,8,N,0",
                          "9600,8,N,3", "9600,8,N,1,1", "9600,65544", "9600,,N", "-9600"}) {
    CSerialSettings s;
    std::string error;
    EXPECT_FALSE(ParseSerialText(bad, s, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
    EXPECT_EQ(s, CSerialSettings{}) << bad;  // unchanged
  }
  std::string error;
  CSerialSettings s;
  ParseSerialText("9600,6", s, error);
  EXPECT_EQ(error, "");
  ParseSerialText("9600,9", s, error);
  EXPECT_EQ(error, "the data bits must be 5 to 8");
  // Fields left out keep what the caller set; letters are read in either case.
  s = {7, 8, kParityNone, 1};
  ASSERT_TRUE(ParseSerialText("19200,7,e", s, error));
  EXPECT_EQ(s, (CSerialSettings{4, 7, kParityEven, 1}));
}

}  // namespace
