// Port settings through the interface library: fresh defaults, the
// last-used port, the records of channels 501..515, the port list, and
// re-initialising the registered data.
#include <gtest/gtest.h>

#include "modem_book/tel_connect_doc.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

using namespace modembook;

namespace {
platform::Profile LibrarySettings() { return platform::Profile(platform::SettingsRoot() + "/KELD_TAVINTER.INI"); }

class PortSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    auto p = LibrarySettings();
    p.DeleteSection("TAVMODEM");
    for (int id = 501; id <= 515; ++id) p.DeleteSection("CHANNEL" + std::to_string(id));
  }
};
}  // namespace

TEST_F(PortSettings, AFreshLibraryGivesTheDefaultsAndPort1) {
  CTelConnectDoc doc;
  doc.ReadPortSettings();
  EXPECT_EQ(doc.CurrentPort(), 1);
  EXPECT_EQ(doc.PortList().size(), 15u);
  for (int com = 1; com <= kPortCount; ++com) {
    const auto& p = doc.Port(com);
    EXPECT_EQ(p.dialMode, kDialTone);
    EXPECT_EQ(p.dialCommand, "AT");
    EXPECT_EQ(p.initCommand, "ATV1E0S0=1S2=43");
    EXPECT_EQ(p.plcTimeout, 10);
    EXPECT_EQ(p.lineTimeout, 60);
    EXPECT_EQ(p.DialPrefix(), "ATDT");
    EXPECT_FALSE(doc.PortModified(com));
  }
}

TEST_F(PortSettings, WritingStoresTheRecordUnderItsChannelIdAndTheCurrentPortAsLastUsed) {
  CTelConnectDoc doc;
  doc.ReadPortSettings();
  CPortModemSettings s = doc.Port(7);
  s.dialMode = kDialOther;
  s.dialCommand = "ATX3DT";
  s.initCommand = "AT&F";
  s.plcTimeout = 45;
  s.lineTimeout = 120;
  doc.SetPort(7, s);
  EXPECT_TRUE(doc.PortModified(7));
  doc.SetCurrentPort(7);
  ASSERT_EQ(doc.SaveModified(), kBookOk);
  EXPECT_FALSE(doc.PortModified(7));
  EXPECT_EQ(LibrarySettings().ReadString("CHANNEL507", "DIALCOMMAND", ""), "ATX3DT");
  EXPECT_EQ(LibrarySettings().ReadInt("TAVMODEM", "PORT", 0), 7);

  // What the library hands the dial-up is the record at its offsets.
  uint8_t record[304] = {};
  ASSERT_EQ(TavReadPortRecord(record, 507), 0);
  tavinter::CConnectionRecord r(record);
  EXPECT_EQ(r.DialMode(), 2);
  EXPECT_EQ(r.Timeout(), 45);
  EXPECT_EQ(r.LineTimeout(), 120);
  EXPECT_EQ(r.InitCommand(), "AT&F");
  EXPECT_EQ(r.Port(), 7);

  CTelConnectDoc again;
  again.ReadPortSettings();
  EXPECT_EQ(again.CurrentPort(), 7);
  EXPECT_EQ(again.Port(7), s);
  EXPECT_EQ(again.Port(7).DialPrefix(), "ATX3DT");
  EXPECT_EQ(again.Port(6).plcTimeout, 10);

  // Another port written alone leaves the last-used port as it is.
  s.dialMode = kDialPulse;
  again.SetPort(2, s);
  ASSERT_EQ(again.WritePortSettings(2), kBookOk);
  EXPECT_EQ(LibrarySettings().ReadInt("TAVMODEM", "PORT", 0), 7);
  EXPECT_EQ(LibrarySettings().ReadInt("CHANNEL502", "DIALMODE", -1), 0);
}

TEST_F(PortSettings, PortListAndOutOfRangeLastPort) {
  auto p = LibrarySettings();
  p.WriteString("TAVMODEM", "PORTS", "4, 2,99");
  p.WriteInt("TAVMODEM", "PORT", 2);
  CTelConnectDoc doc;
  doc.ReadPortSettings();
  EXPECT_EQ(doc.PortList(), (std::vector<int>{4, 2}));
  EXPECT_EQ(doc.CurrentPort(), 2);
  int ports[8] = {};
  EXPECT_EQ(TavGetModemPorts(ports, 8), 3);  // the library lists COM99 too; the book shows 1..15
  EXPECT_EQ(ports[2], 99);
  p.WriteString("TAVMODEM", "PORTS", "");
  p.WriteInt("TAVMODEM", "PORT", 16);
  CTelConnectDoc other;
  other.ReadPortSettings();
  EXPECT_EQ(other.CurrentPort(), 1);
}

TEST_F(PortSettings, ReinitialisingResetsEveryPortAndEmptiesTheBook) {
  CTelConnectDoc doc;
  doc.ReadPortSettings();
  CPortModemSettings s = doc.Port(3);
  s.initCommand = "ATZ";
  s.plcTimeout = 5;
  s.lineTimeout = 180;
  s.dialMode = kDialPulse;
  doc.SetPort(3, s);
  doc.SetCurrentPort(3);
  doc.Add(CPhoneBookEntry());
  doc.InitialiseRegisteredData();
  EXPECT_EQ(doc.CurrentPort(), 1);
  EXPECT_EQ(doc.Count(), 0u);
  EXPECT_TRUE(doc.BookModified());
  for (int com = 1; com <= kPortCount; ++com) {
    EXPECT_TRUE(doc.PortModified(com));
    EXPECT_EQ(doc.Port(com).initCommand, "ATV1E0S0=1S2=43");
    EXPECT_EQ(doc.Port(com).plcTimeout, 10);
    EXPECT_EQ(doc.Port(com).lineTimeout, 60);
  }
}

TEST(PortChoices, TimeOutListsAndCommands) {
  EXPECT_TRUE(ValidPlcTimeout(30));
  EXPECT_FALSE(ValidPlcTimeout(31));
  EXPECT_TRUE(ValidPlcTimeout(35));
  EXPECT_TRUE(ValidPlcTimeout(60));
  EXPECT_FALSE(ValidPlcTimeout(65));
  EXPECT_FALSE(ValidPlcTimeout(0));
  EXPECT_EQ(PlcTimeoutChoices().size(), 36u);
  EXPECT_TRUE(ValidLineTimeout(60));
  EXPECT_FALSE(ValidLineTimeout(65));
  EXPECT_TRUE(ValidLineTimeout(180));
  EXPECT_FALSE(ValidLineTimeout(190));
  EXPECT_EQ(LineTimeoutChoices().size(), 72u);
  EXPECT_TRUE(ValidInitCommand(std::string(39, 'A')));
  EXPECT_FALSE(ValidInitCommand(std::string(40, 'A')));
  EXPECT_FALSE(ValidDialCommand("ATDTWWWWWWW"));
  EXPECT_FALSE(ValidDialCommand("AT\x01"));
  CPortModemSettings s;
  s.dialMode = kDialPulse;
  EXPECT_EQ(s.DialPrefix(), "ATDP");
}
