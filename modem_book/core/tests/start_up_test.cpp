// Start-up rules: command line, language and product number of a product
// code, the language tables tried, the help folder, the English font size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "modem_book/modem_strings.h"
#include "modem_book/start_up.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "test_home.h"

using namespace modembook;
using platform::Hive;
using platform::Registry;

TEST(StartUp, CommandLineGivesWindowAndProductCode) {
  StartArguments a = ParseStartArguments({"-h1234", "-1012", "--list", "-h", "-x1"});
  ASSERT_TRUE(a.raiseWindow);
  EXPECT_EQ(*a.raiseWindow, 1234);
  ASSERT_TRUE(a.productCode);
  EXPECT_EQ(*a.productCode, 1012);
  EXPECT_EQ(a.rest, (std::vector<std::string>{"--list", "-h", "-x1"}));
  EXPECT_FALSE(ParseStartArguments({"--ports"}).productCode);
}

TEST(StartUp, LanguageAndProductNumberOfAProductCode) {
  EXPECT_EQ(LanguageOfProduct(10), 0);
  EXPECT_EQ(LanguageOfProduct(11), 1);
  EXPECT_EQ(LanguageOfProduct(2019), 9);
  EXPECT_EQ(ProductNumber(2019), 210);
  EXPECT_EQ(ProductNumber(std::nullopt), 10);
  EXPECT_EQ(ProductNumber(12), 10);

  EXPECT_EQ(ProductLanguageKey(0), "SOFTWARE\\KELD\\QXWIN GR\\");
  EXPECT_EQ(ProductLanguageKey(2), "SOFTWARE\\KELD\\QXWIN GR 2\\");
  EXPECT_EQ(ProductLanguageKey(20), "SOFTWARE\\KELD\\PANELWIN\\");
  EXPECT_EQ(ProductLanguageKey(3002), "SOFTWARE\\KELD\\QXWIN GR 2 OEM003\\");
  EXPECT_EQ(ProductLanguageKey(5), "");

  EXPECT_EQ(LanguageOfProduct(2), 1);  // no value: English
  Registry::WriteString(Hive::LocalMachine, "SOFTWARE\\KELD\\QXWIN GR 2", "Language", "Japanese");
  Registry::WriteString(Hive::LocalMachine, "SOFTWARE\\KELD\\PANELWIN OEM001", "Language", "German");
  Registry::WriteString(Hive::LocalMachine, "SOFTWARE\\KELD\\QXWIN GR", "Language", "Klingon");
  EXPECT_EQ(LanguageOfProduct(2), 0);
  EXPECT_EQ(LanguageOfProduct(1020), 7);
  EXPECT_EQ(LanguageOfProduct(std::nullopt), 1);
  EXPECT_EQ(LanguageOfProduct(7), 1);
  EXPECT_EQ(LanguageFromName("Chinese_t"), 3);
}

TEST(StartUp, LanguageTablesTriedInOrder) {
  EXPECT_EQ(LanguageTableNames(0, 110, 7),
            (std::vector<std::string>{"KELD_TavMM.Jpn001.txt", "KELD_TavMM.Deu.txt", "KELD_TavMM.Eng.txt"}));
  EXPECT_EQ(LanguageTableNames(0, 10, 1), (std::vector<std::string>{"KELD_TavMM.Jpn.txt", "KELD_TavMM.Eng.txt"}));
  EXPECT_EQ(LanguageTableNames(1, 10, 1), (std::vector<std::string>{"KELD_TavMM.Eng.txt"}));
}

TEST(StartUp, TablesLoadFromTheResourceFolderWithFallbackAndMessageName) {
  std::string missing;
  ASSERT_TRUE(LoadLanguageTable(0, 10, missing));
  EXPECT_EQ(ModemText(kIdsCaption), "ﾓﾃﾞﾑ接続");
  EXPECT_EQ(ModemText(kIdsBookFull), "最大登録件数は4096件までです｡");
  // An OEM table that does not exist falls back to the system's, then English.
  ASSERT_TRUE(LoadLanguageTable(0, 510, missing));
  EXPECT_EQ(ModemText(kIdsCaption), "Modem Connection");

  const std::string empty = keldtest::FreshDir("noresources");
  platform::Profile ini(platform::SettingsRoot() + "/KELD_TAVINTER.INI");
  ini.WriteString("FOLDERS", "RESOURCE", empty);
  EXPECT_FALSE(LoadLanguageTable(0, 10, missing));
  EXPECT_EQ(missing, "KELD_TavMM.Eng.txt");
  EXPECT_EQ(ModemText(kIdsCaption), "Modem Connection");  // the built-in texts
  ini.DeleteKey("FOLDERS", "RESOURCE");
}

TEST(StartUp, HelpFolderFallsBackToEnglishInTheCommonFolder) {
  const std::string root = keldtest::FreshDir("install");
  std::filesystem::create_directories(root + "/lang");
  std::filesystem::create_directories(root + "/help/TAVTLJPN");
  platform::Profile ini(platform::SettingsRoot() + "/KELD_TAVINTER.INI");
  ini.WriteString("FOLDERS", "RESOURCE", root + "/lang");
  ini.WriteString("FOLDERS", "COMMON", root + "/common");
  EXPECT_EQ(HelpFolderFor(0, 10), root + "/help/TAVTLJPN");
  EXPECT_EQ(HelpFolderFor(0, 110), root + "/common/English/TAVTLENG");
  EXPECT_EQ(HelpFolderFor(1, 10), root + "/common/English/TAVTLENG");
  ini.DeleteKey("FOLDERS", "RESOURCE");
  ini.DeleteKey("FOLDERS", "COMMON");
}

TEST(StartUp, EnglishFontSize) {
  EXPECT_EQ(EnglishFontTenths(8), 90);
  EXPECT_EQ(EnglishFontTenths(6), 120);
  EXPECT_EQ(EnglishFontTenths(0), 90);
}
