// Listing as JSON and reading an import back: the JSON round trip keeps
// every byte of an entry but what lies behind a text's NUL; bad input is
// refused as a whole.
#include <gtest/gtest.h>

#include "modem_book/book_json.h"
#include "modem_book/phone_book_file.h"

using namespace modembook;

namespace {
CTelConnectDoc Sample() {
  CTelConnectDoc doc;
  CPhoneBookEntry a;
  a.SetTitle("大阪 \"east\"");
  a.SetPhone("06-1234");
  CPhoneBookEntry b;
  b.SetTitle("b");
  b.SetPhone("1");
  b.SetBaudIndex(12);
  b.SetParity(-1);
  std::array<uint8_t, 14> r{};
  r[0] = 0xAB;
  r[13] = 0x01;
  b.SetReserved(r);
  doc.Add(a);
  doc.Add(b);
  return doc;
}
}  // namespace

TEST(BookJson, ListsEntriesInOrderWithKeysInOrder) {
  const std::string json = BookJson(Sample());
  EXPECT_EQ(json.find("{\"version\": \"2.2015\", \"count\": 2, \"entries\": ["), 0u);
  EXPECT_NE(json.find("{\"index\": 1, \"title\": \"大阪 \\\"east\\\"\", \"phone\": \"06-1234\", \"baudIndex\": 3, "
                      "\"dataLength\": 0, \"parity\": 0, \"stopBits\": 0, \"property\": \"9600-8-1-N\", "
                      "\"reserved\": \"0000000000000000000000000000\"}"),
            std::string::npos);
  EXPECT_NE(json.find("\"index\": 2"), std::string::npos);
  EXPECT_NE(json.find("\"reserved\": \"ab" + std::string(24, '0') + "01\""), std::string::npos);
}

TEST(BookJson, ExportReadsBackToTheSameBytes) {
  CTelConnectDoc doc = Sample();
  std::vector<CPhoneBookEntry> entries;
  std::string error;
  ASSERT_TRUE(EntriesFromImport(BookJson(doc), entries, error)) << error;
  EXPECT_EQ(BookImageBytes(entries), BookImageBytes(doc.Entries()));
  // A book file image imports as it stands.
  ASSERT_TRUE(EntriesFromImport(BookImageBytes(doc.Entries()), entries, error)) << error;
  EXPECT_EQ(entries.size(), 2u);
}

TEST(BookJson, DefaultsAndRefusals) {
  std::vector<CPhoneBookEntry> entries;
  std::string error;
  ASSERT_TRUE(EntriesFromImport("{\"entries\":[{\"title\":\"t\",\"phone\":\"1\",\"index\":9,\"property\":\"x\"}]}",
                                entries, error));
  EXPECT_EQ(PropertyText(entries[0], false), "9600-8-1-N");
  entries.clear();
  const std::vector<std::string> bad = {
      "",
      "{",
      "[]",
      "{\"entries\": 1}",
      "{\"entries\":[{\"title\":\"t\",\"phone\":\"1\"}, 5]}",
      "{\"entries\":[{\"title\":\"" + std::string(41, 'a') + "\",\"phone\":\"1\"}]}",
      "{\"entries\":[{\"title\":\"\\ud83d\\ude00\",\"phone\":\"1\"}]}",
      "{\"entries\":[{\"title\":\"t\",\"phone\":\"０\"}]}",
      "{\"entries\":[{\"title\":\"t\"}]}",
      "{\"entries\":[{\"title\":\"t\",\"phone\":\"1\",\"baudIndex\":1.5}]}",
      "{\"entries\":[{\"title\":\"t\",\"phone\":\"1\",\"parity\":40000}]}",
      "{\"entries\":[{\"title\":\"t\",\"phone\":\"1\",\"reserved\":\"00\"}]}",
      "{\"entries\":[{\"title\":\"t\",\"phone\":\"1\",\"reserved\":\"zz00000000000000000000000000\"}]}",
      std::string("2.2015\0\0\x02\0\0\0\0\0\0\0", 16),
  };
  for (const auto& input : bad) {
    error.clear();
    EXPECT_FALSE(EntriesFromImport(input, entries, error)) << input;
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(entries.empty());
  }
}

TEST(BookJson, PortsListTheFifteenRecords) {
  CTelConnectDoc doc;
  doc.SetPortList({1, 2});
  const std::string json = PortsJson(doc);
  EXPECT_EQ(json.find("{\"lastPort\": 1, \"portList\": [1, 2], \"ports\": ["), 0u);
  EXPECT_NE(json.find("{\"port\": 15, \"dialMode\": 1, \"dialCommand\": \"AT\", \"initCommand\": \"ATV1E0S0=1S2=43\", "
                      "\"plcTimeout\": 10, \"lineTimeout\": 60, \"dialPrefix\": \"ATDT\"}"),
            std::string::npos);
}
