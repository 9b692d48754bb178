// Property texts of every channel kind, the log settings and window data.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "commscope/comm_property.h"
#include "commscope/log_settings.h"
#include "commscope/port_names.h"
#include "platform/comm_log.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "tavinter/request_record.h"

using namespace commscope;
using platform::Hive;
using platform::Registry;

namespace {

std::array<uint8_t, 200> Config(int kind, int port, int timeout, int baud, int data, int parity, int stop) {
  tavinter::CChannelConfig c;
  c.SetKind(static_cast<int16_t>(kind));
  c.SetPort(static_cast<int16_t>(port));
  c.SetTimeout(timeout);
  c.SetBaudIndex(static_cast<int16_t>(baud));
  c.SetDataBits(static_cast<int16_t>(data));
  c.SetParity(static_cast<int16_t>(parity));
  c.SetStopBits(static_cast<int16_t>(stop));
  return c.Bytes();
}

std::string Text(const std::array<uint8_t, 200>& c) { return PropertyText(DescribeChannel(c.data(), c.size())); }

TEST(CommProperty, SerialAndModemChannels) {
  EXPECT_EQ(Text(Config(1, 2, 5, 7, 8, 2, 1)),
            "Network type: K-net(RS232C)\nPort: COM2\nBaudrate: 115200\nData: 8\nParity: EVEN\nStop: 1\nTimeout(s): 5\n");
  EXPECT_EQ(Text(Config(6, 1, 30, 3, 7, 1, 2)),
            "Network type: Modem\nPort: COM1\nBaudrate: 9600\nData: 7\nParity: ODD\nStop: 2\nTimeout(s): 30\n");
  EXPECT_EQ(DescribeChannel(Config(7, 1, 0, 0, 8, 0, 0).data(), 200).rows[0].value, "Modem & Alarm");
  // Codes beyond the tables show their number.
  auto bad = DescribeChannel(Config(1, 3, 1, 9, 8, 4, 0).data(), 200);
  EXPECT_EQ(bad.rows[2].value, "9");
  EXPECT_EQ(bad.rows[4].value, "4");
  EXPECT_EQ(bad.rows[5].value, "2");
  EXPECT_EQ(DescribeChannel(Config(1, 3, 1, -1, 8, 3, 0).data(), 200).rows[4].value, "3");
}

TEST(CommProperty, UsbSimulationBoardsAndUnknownKinds) {
  auto usb = DescribeChannel(Config(10, 1, 3, 0, 0, 0, 0).data(), 200);
  EXPECT_EQ(usb.window, PropertyWindow::Usb);
  EXPECT_EQ(PropertyText(usb), "Network type: USB\nType: 1\nTimeout(s): 3\n");
  auto sim = DescribeChannel(Config(11, 0, 3, 0, 0, 0, 0).data(), 200);
  EXPECT_EQ(sim.window, PropertyWindow::Simulation);
  EXPECT_EQ(PropertyText(sim), "Network type: PLC-Simulation\nTimeout(s): 3\n");
  // Board fields are the low bytes of offsets 2, 8 and 12.
  EXPECT_EQ(Text(Config(2, 0x0101, 4, 0x0203, 0, 0x0A05, 0)),
            "Network type: Tavnet-H\nBoard No.: 1\nSeg No.: 3\nIRQ(INT): 5\nTimeout(s): 4\n");
  EXPECT_EQ(DescribeChannel(Config(3, 0, 0, 0, 0, 0, 0).data(), 200).rows[0].value, "Tavnet-P");
  EXPECT_EQ(DescribeChannel(Config(8, 0, 0, 0, 0, 0, 0).data(), 200).rows[0].value, "Ethernet");
  auto unknown = DescribeChannel(Config(42, 0, 0, 0, 0, 0, 0).data(), 200);
  EXPECT_EQ(unknown.window, PropertyWindow::Board);
  EXPECT_EQ(unknown.rows[0].value, "42");
  // A short image reads as zero past its end.
  uint8_t two[2] = {1, 0};
  EXPECT_EQ(DescribeChannel(two, 2).rows.back().value, "0");
}

TEST(PortNames, TheWholeTableAndItsEnds) {
  EXPECT_EQ(PortName(0), "Tavnet-h(0)");
  EXPECT_EQ(PortName(3), "Tavnet-p");
  EXPECT_EQ(PortName(4), "Ethernet(1)");
  EXPECT_EQ(PortName(67), "Ethernet(64)");
  EXPECT_EQ(PortName(68), "Com1");
  EXPECT_EQ(PortName(323), "Com256");
  EXPECT_EQ(PortName(324), "USB-QP");
  EXPECT_EQ(PortName(325), "PLC-Simulation");
  EXPECT_EQ(PortName(326), "");
  EXPECT_EQ(PortName(-1), "");
}

TEST(LogSettings, DevicesInWindowOrderWithTheSharedKeyAndDefaultFolder) {
  std::vector<int> coms;
  for (int n = 20; n >= 1; --n) coms.push_back(n);
  CLogSettings s = CLogSettings::Load(coms);
  ASSERT_EQ(s.Devices().size(), 15u + 7u);
  EXPECT_EQ(s.Devices()[0].name, "Com1");
  EXPECT_EQ(s.Devices()[0].label, "COM1");
  EXPECT_EQ(s.Devices()[14].pattern, "TavCom15_YYMMDD_HHMMSS.LOG");
  EXPECT_EQ(s.Devices()[15].name, "H0");
  EXPECT_EQ(s.Devices()[15].label, "TAVNET-H(0)");
  EXPECT_EQ(s.Devices()[19].pattern, "TavEthernetX_YYMMDD_HHMMSS.LOG");
  EXPECT_EQ(s.Devices()[20].label, "USB-QP");
  EXPECT_EQ(s.Devices().back().name, "Simulation");
  EXPECT_EQ(s.Devices().back().pattern, "TavSml_YYMMDD_HHMMSS.LOG");
  EXPECT_EQ(CLogSettings::Key(), "SOFTWARE\\KELD\\KELD_TavScope\\LogFile");
  EXPECT_EQ(s.Folder(), platform::DefaultLogFolder());

  s.Find("simulation")->on = true;
  s.Find("Com2")->on = true;
  s.SetFolder("/tmp");
  ASSERT_TRUE(s.Save());
  EXPECT_EQ(Registry::ReadString(Hive::CurrentUser, platform::LogSettingsKey(), "Simulation"), "1");
  EXPECT_EQ(Registry::ReadString(Hive::CurrentUser, platform::LogSettingsKey(), "Com3"), "0");
  EXPECT_EQ(Registry::ReadString(Hive::CurrentUser, platform::LogSettingsKey(), "Folder"), "/tmp");
  CLogSettings again = CLogSettings::Load({2});
  EXPECT_TRUE(again.Find("Com2")->on);
  EXPECT_FALSE(again.Find("H1")->on);
  EXPECT_EQ(again.Folder(), "/tmp");
  EXPECT_EQ(again.Find("Com3"), nullptr);
}

TEST(LogSettings, ARegistryThatCannotBeWrittenIsReported) {
  CLogSettings s = CLogSettings::Load({});
  // A folder where the hive file belongs: every write of the hive fails.
  std::string hive = Registry::HivePath(Hive::CurrentUser);
  platform::EnsureDir(hive.substr(0, hive.rfind('/')));
  ::unlink(hive.c_str());
  ASSERT_EQ(::mkdir(hive.c_str(), 0700), 0);
  unsigned id = 0;
  bool saved = s.Save(&id);
  ::rmdir(hive.c_str());
  EXPECT_FALSE(saved);
  EXPECT_EQ(id, kIdLogSettingsFailed);
}

TEST(WindowData, ValuesRoundTrip) {
  int v = 0;
  EXPECT_FALSE(ReadWindowData(5, &v));
  ASSERT_TRUE(WriteWindowData(5, 240));
  ASSERT_TRUE(ReadWindowData(5, &v));
  EXPECT_EQ(v, 240);
  ASSERT_TRUE(WriteWindowData(0, -20));
  ASSERT_TRUE(ReadWindowData(0, &v));
  EXPECT_EQ(v, -20);
}

}  // namespace
