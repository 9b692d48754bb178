#include <gtest/gtest.h>

#include <filesystem>

#include "connsrv/channel_table.h"
#include "connsrv/client_list.h"
#include "connsrv/command_line.h"
#include "connsrv/log_settings.h"
#include "connsrv/server_settings.h"
#include "platform/file_util.h"
#include "platform/registry.h"
#include "platform/settings_seed.h"
#include "test_home.h"

using namespace connsrv;

TEST(ServerConfig, CommandLine) {
  auto c = ParseCommandLine("-70 -1");
  EXPECT_EQ(c.port, 70);
  EXPECT_EQ(c.language, -1);
  c = ParseCommandLine("");
  EXPECT_EQ(c.port, 1);
  EXPECT_EQ(c.language, 0);
  c = ParseCommandLine("-326 -0");
  EXPECT_EQ(c.port, 326);
  EXPECT_EQ(c.language, 0);
  c = ParseCommandLine("-5");
  EXPECT_EQ(c.port, 5);
  EXPECT_EQ(c.language, 0);
}

TEST(ServerConfig, PortNames) {
  auto n = NamesForPort(70);
  EXPECT_EQ(n.channel, "TavCom2");
  EXPECT_EQ(n.display, "Com2");
  EXPECT_EQ(n.logPrefix, "TavCom2_");
  EXPECT_EQ(NamesForPort(1).channel, "TavH0");
  EXPECT_EQ(NamesForPort(4).display, "P");
  EXPECT_EQ(NamesForPort(7).logPrefix, "TavEthernet3_");
  EXPECT_EQ(NamesForPort(7).display, "Ethernet");
  EXPECT_EQ(NamesForPort(324).channel, "TavCom256");
  EXPECT_EQ(NamesForPort(325).logPrefix, "TavUSBQP_");
  EXPECT_EQ(NamesForPort(326).display, "Simulation");
  EXPECT_EQ(NamesForPort(0).channel, "");
  EXPECT_EQ(NamesForPort(327).channel, "");
  EXPECT_STREQ(ChannelTableEntry(15), "TavH0");
  EXPECT_STREQ(ChannelTableEntry(21), "TavSml");
  EXPECT_STREQ(DisplayTableEntry(19), "Ethernet");
}

TEST(ServerConfig, SettingsDefaultsAndFile) {
  auto d = CServerSettings::Load("/nonexistent/KELD_TAVCOMM.INI");
  EXPECT_EQ(d.ethernetRetry, 5);
  EXPECT_EQ(d.afterCloseMs, 0);
  EXPECT_EQ(d.dispTime, 0);
  EXPECT_EQ(d.unitChk, 1);
  EXPECT_EQ(d.retry, 3);
  EXPECT_EQ(d.retryTime, 1);
  EXPECT_EQ(d.slpTimeMs, 1000);
  std::string path = keldtest::FreshDir("ini") + "/KELD_TAVCOMM.INI";
  ASSERT_TRUE(platform::WriteFileAtomic(
      path, "[EthernetRetry]\nAfterClose=2\n[INTERVAL]\nRETRY=1\n[SLEEPOFF]\nSLPTIME=5\n[SLEEP0FF]\nSLPTIME=250\n"));
  auto s = CServerSettings::Load(path);
  EXPECT_EQ(s.afterCloseMs, 2000);
  EXPECT_EQ(s.retry, 1);
  EXPECT_EQ(s.slpTimeMs, 250);  // the section is spelled with a zero

  // The installed file users start from states the same values.
  ASSERT_TRUE(std::filesystem::exists(platform::DefaultsDir() + "/KELD_TAVCOMM.INI"));
  auto installed = CServerSettings::Load(platform::DefaultsDir() + "/KELD_TAVCOMM.INI");
  EXPECT_EQ(installed.ethernetRetry, d.ethernetRetry);
  EXPECT_EQ(installed.afterCloseMs, d.afterCloseMs);
  EXPECT_EQ(installed.dispTime, d.dispTime);
  EXPECT_EQ(installed.unitChk, d.unitChk);
  EXPECT_EQ(installed.retry, d.retry);
  EXPECT_EQ(installed.retryTime, d.retryTime);
  EXPECT_EQ(installed.slpTimeMs, d.slpTimeMs);
}

TEST(ServerConfig, ClientListKeepsOrderAndLimit) {
  CClientList list;
  for (int i = 0; i < 512; ++i) ASSERT_TRUE(list.Add(static_cast<int16_t>(i + 1), "c"));
  EXPECT_FALSE(list.Add(1000, "513th"));
  EXPECT_FALSE(list.Add(5, "again"));
  EXPECT_TRUE(list.Remove(2));
  EXPECT_FALSE(list.Remove(2));
  EXPECT_EQ(list.Clients()[1].handle, 3);
  EXPECT_TRUE(list.Add(1000, std::string(200, 'n')));
  EXPECT_EQ(list.Clients().back().name.size(), 79u);
}

TEST(ServerConfig, LogNamesFollowTheSwitch) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 6;
  t.tm_hour = 17;
  t.tm_min = 5;
  t.tm_sec = 12;
  EXPECT_EQ(FormLogFileName(71, t), "TavCom3_261206_170512.Log");
  CLogState state(70);
  state.Refresh(1000000);
  EXPECT_EQ(state.FileName(), "");
  using platform::Hive;
  ASSERT_TRUE(platform::Registry::WriteString(Hive::CurrentUser, LogSettingsKey(), "Com2", "1"));
  state.Refresh(1000000);
  std::string first = state.FileName();
  EXPECT_EQ(first.rfind("TavCom2_", 0), 0u);
  EXPECT_EQ(state.Folder(), DefaultLogFolder());
  state.Refresh(1000100);
  EXPECT_EQ(state.FileName(), first);  // kept while on
  ASSERT_TRUE(platform::Registry::WriteString(Hive::CurrentUser, LogSettingsKey(), "Com2", "0"));
  state.Refresh(1000200);
  EXPECT_EQ(state.FileName(), "");
  EXPECT_EQ(state.Folder(), "");
  ASSERT_TRUE(platform::Registry::WriteString(Hive::CurrentUser, LogSettingsKey(), "Com2", "1"));
  ASSERT_TRUE(platform::Registry::WriteString(Hive::CurrentUser, LogSettingsKey(), "Folder", "/tmp/logs"));
  state.Refresh(1000300);
  EXPECT_NE(state.FileName(), first);  // a new file with a later stamp
  EXPECT_EQ(state.Folder(), "/tmp/logs");
}
