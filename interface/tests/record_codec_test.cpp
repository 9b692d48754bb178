// The request record, the channel configuration and the connection record
// are byte images shared with the server; these tests pin their offsets.
#include <gtest/gtest.h>

#include <array>

#include "tavinter/connection_record.h"
#include "tavinter/request_record.h"

using namespace tavinter;

TEST(RequestRecord, FieldsLandAtTheirOffsetsLittleEndian) {
  CRequestRecord r;
  r.SetClientHandle(0x1234);
  r.SetStation(99);
  r.SetRoute(0xBEEF);
  r.SetFlags(0x1021);
  r.SetTimeout(0x01020304);
  r.SetDataLength(700);
  r.SetAnswerLength(-1);
  r.SetMode(16);
  ASSERT_TRUE(r.SetCommandText("%01#RCSX0000"));
  const auto& b = r.Bytes();
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[1], 0x12);
  EXPECT_EQ(b[6], 99);
  EXPECT_EQ(b[24], 0xEF);
  EXPECT_EQ(b[25], 0xBE);
  EXPECT_EQ(b[26], 0x21);
  EXPECT_EQ(b[27], 0x10);
  EXPECT_EQ(b[28], 0x04);
  EXPECT_EQ(b[31], 0x01);
  EXPECT_EQ(b[32], 700 & 0xFF);
  EXPECT_EQ(b[40], 0xFF);
  EXPECT_EQ(b[41], 0xFF);
  EXPECT_EQ(b[50], 16);
  EXPECT_EQ(b[53], '%');
  EXPECT_EQ(b[53 + 12], 0);

  CRequestRecord back;
  ASSERT_TRUE(back.Parse(b.data(), b.size()));
  EXPECT_EQ(back.ClientHandle(), 0x1234);
  EXPECT_EQ(back.Route(), 0xBEEF);
  EXPECT_EQ(back.Flags(), 0x1021);
  EXPECT_EQ(back.Timeout(), 0x01020304);
  EXPECT_EQ(back.AnswerLength(), -1);
  EXPECT_EQ(back.CommandText(), "%01#RCSX0000");
}

TEST(RequestRecord, OpenRequestCarriesNameValueAndConfiguration) {
  CRequestRecord r;
  r.SetClientName(std::string(100, 'N'));  // cut to 79 characters and a NUL
  r.SetOpenValue(7);
  CChannelConfig c;
  c.SetKind(kKindSerial);
  c.SetPort(3);
  c.SetTimeout(5);
  c.SetStationPause(250);
  r.SetChannelConfig(c);
  EXPECT_EQ(r.ClientName(), std::string(79, 'N'));
  EXPECT_EQ(r.Bytes()[81], 0);
  EXPECT_EQ(r.Bytes()[82], 7);
  EXPECT_EQ(r.Bytes()[104], kKindSerial);
  EXPECT_EQ(r.Bytes()[106], 3);
  EXPECT_EQ(r.Bytes()[104 + 142], 250);
  CChannelConfig back = r.ChannelConfig();
  EXPECT_EQ(back.Kind(), kKindSerial);
  EXPECT_EQ(back.StationPause(), 250);
}

TEST(RequestRecord, WrongSizesAndOverlongTextsAreRefused) {
  std::vector<uint8_t> bytes(kRequestRecordSize + 1, 0x41);
  CRequestRecord r;
  EXPECT_FALSE(r.Parse(bytes.data(), bytes.size()));
  EXPECT_FALSE(r.Parse(bytes.data(), kRequestRecordSize - 1));
  EXPECT_FALSE(r.Parse(nullptr, kRequestRecordSize));
  EXPECT_EQ(r.ClientHandle(), 0);  // a refused parse leaves nothing behind

  EXPECT_TRUE(r.SetCommandText(std::string(kMaxCommandText, 'A')));
  EXPECT_EQ(r.CommandText().size(), kMaxCommandText);
  EXPECT_FALSE(r.SetCommandText(std::string(kMaxCommandText + 1, 'B')));
  EXPECT_EQ(r.CommandText(), std::string(kMaxCommandText, 'A'));

  // A received record without any NUL in its text area still gives at most 2,048 characters.
  std::vector<uint8_t> noNul(kRequestRecordSize, 'C');
  ASSERT_TRUE(r.Parse(noNul.data(), noNul.size()));
  EXPECT_EQ(r.CommandText().size(), kMaxCommandText);
  EXPECT_EQ(r.ClientName().size(), CRequestRecord::kClientNameWidth);
}

TEST(RequestRecord, RawBytesAreLimitedToTheRecord) {
  std::vector<uint8_t> bytes(kRequestRecordSize, 0);
  PutI16(bytes.data(), bytes.size(), CRequestRecord::kDataLength, static_cast<int16_t>(0xFFFF));
  CRequestRecord r;
  ASSERT_TRUE(r.Parse(bytes.data(), bytes.size()));
  EXPECT_EQ(r.CommandBytes().size(), kRequestRecordSize - CRequestRecord::kCommandText);
}

TEST(RequestRecord, MonitorRegistrationsUseTwoListsOfSixFrames) {
  CRequestRecord r;
  ASSERT_TRUE(r.SetDataRegistration(0, "%01#MDD0000000001"));
  ASSERT_TRUE(r.SetDataRegistration(5, "%01#MDD0000500005"));
  ASSERT_TRUE(r.SetContactRegistration(0, "%01#MCR0000"));
  EXPECT_FALSE(r.SetDataRegistration(6, "x"));
  EXPECT_FALSE(r.SetContactRegistration(0, std::string(120, 'x')));  // no room for the NUL
  EXPECT_EQ(r.Bytes()[53 + 5 * 120], '%');
  EXPECT_EQ(r.Bytes()[773], '%');
  EXPECT_EQ(r.DataRegistration(5), "%01#MDD0000500005");
  EXPECT_EQ(r.ContactRegistration(0), "%01#MCR0000");
  EXPECT_EQ(r.DataRegistration(1), "");
}

TEST(ConnectionRecord, ChannelPartIsTheOpenRequestsConfiguration) {
  std::array<uint8_t, kConnectionRecordSize> bytes{};
  CConnectionRecord r(bytes.data());
  r.SetKind(kKindModem);
  r.SetPort(4);
  r.SetTimeout(10);
  r.SetBaudIndex(3);
  r.SetDataBits(8);
  r.SetParity(2);
  r.SetStopBits(1);
  r.SetInitCommand("ATV1E0S0=1S2=43");
  r.SetSecondCommand("ATH0");
  r.SetLineTimeout(60);
  EXPECT_EQ(bytes[104], 6);
  EXPECT_EQ(bytes[106], 4);
  EXPECT_EQ(bytes[108], 10);
  EXPECT_EQ(bytes[116], 2);
  EXPECT_EQ(bytes[120], 'A');
  EXPECT_EQ(bytes[160], 'A');
  EXPECT_EQ(bytes[224], 60);
  CChannelConfig c = r.Config();
  EXPECT_EQ(c.Kind(), kKindModem);
  EXPECT_EQ(c.Parity(), 2);
  EXPECT_EQ(c.Text1(), "ATV1E0S0=1S2=43");
  EXPECT_EQ(c.Text2(), "ATH0");
  EXPECT_EQ(c.DialLimit(), 60);
}

TEST(ConnectionRecord, PortNumberFollowsKindAndTransportPort) {
  EXPECT_EQ(PortNumberOf(kKindSerial, 1), 69);
  EXPECT_EQ(PortNumberOf(kKindSerial, 2), 70);
  EXPECT_EQ(PortNumberOf(kKindSerial, 256), 324);
  EXPECT_EQ(PortNumberOf(kKindSerial, 257), 0);
  EXPECT_EQ(PortNumberOf(kKindSerial, 0), 0);
  EXPECT_EQ(PortNumberOf(kKindModem, 3), 71);
  EXPECT_EQ(PortNumberOf(kKindEthernet, 1), 5);
  EXPECT_EQ(PortNumberOf(kKindEthernetListen, 64), 68);
  EXPECT_EQ(PortNumberOf(kKindEthernet8, 65), 0);
  EXPECT_EQ(PortNumberOf(kKindBoardH, 2), 3);
  EXPECT_EQ(PortNumberOf(kKindBoardP, 0), 4);
  EXPECT_EQ(PortNumberOf(kKindUsb, 0), 325);
  EXPECT_EQ(PortNumberOf(kKindSimulation, 0), 326);
  EXPECT_EQ(PortNumberOf(0, 1), 0);
  EXPECT_EQ(PortNumberOf(kKindNone, 1), 0);
}
