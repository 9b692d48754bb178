// Registry values under the application's key and the language settings.
#include <gtest/gtest.h>

#include "axview/helpers.h"
#include "platform/registry.h"

using platform::Hive;
using platform::Registry;

namespace {

const char* kKey = "KELD\\Axis Configurator";
const char* kAppPath = "Software\\KELD\\Axis Configurator";

class HelperSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAppRegistryKey(kKey);
    Registry::DeleteKey(Hive::CurrentUser, kAppPath);
    Registry::DeleteKey(Hive::LocalMachine, kAppPath);
  }
  void TearDown() override { SetAppRegistryKey(kKey); }
};

}  // namespace

TEST_F(HelperSettings, CanOpenRegistoryNamesTheKeyAndReportsWhetherItExists) {
  std::string path = "stale";
  EXPECT_EQ(CanOpenRegistory(path), 0);
  EXPECT_EQ(path, "Software\\KELD\\Axis Configurator\\");
  ASSERT_TRUE(Registry::CreateKey(Hive::CurrentUser, kAppPath));
  EXPECT_NE(CanOpenRegistory(path), 0);

  SetAppRegistryKey("");
  EXPECT_EQ(CanOpenRegistory(path), 0);
  EXPECT_EQ(path, "");
}

TEST_F(HelperSettings, ProfileIntsRoundTripPerSection) {
  EXPECT_EQ(KELDExReadProfileInt("Settings", "ToolOprTimes", 7), 7);
  EXPECT_EQ(KELDExWriteProfileInt("Settings", "ToolOprTimes", 12), 1);
  EXPECT_EQ(KELDExWriteProfileInt("", "Top", -3), 1);
  EXPECT_EQ(KELDExReadProfileInt("Settings", "ToolOprTimes", 7), 12);
  EXPECT_EQ(KELDExReadProfileInt(nullptr, "Top", 0), -3);
  EXPECT_EQ(KELDExReadProfileInt("Other", "ToolOprTimes", 5), 5);
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, std::string(kAppPath) + "\\Settings", "ToolOprTimes"), 12u);

  SetAppRegistryKey("");
  EXPECT_EQ(KELDExWriteProfileInt("Settings", "ToolOprTimes", 1), 0);
  EXPECT_EQ(KELDExReadProfileInt("Settings", "ToolOprTimes", 99), 99);
}

TEST_F(HelperSettings, LanguageValueNamesAreCaseInsensitive) {
  EXPECT_EQ(GetLanguageRegistry(), -1);
  for (auto [name, expected] : std::vector<std::pair<std::string, int>>{
           {"english", 0}, {"JAPANESE", 1}, {"Chinese", 2}, {"Klingon", -1}, {std::string(200, 'E'), -1}}) {
    Registry::WriteString(Hive::LocalMachine, kAppPath, "Language", name);
    EXPECT_EQ(GetLanguageRegistry(), expected) << name;
  }
  SetLanguageRegistry(1);
  EXPECT_EQ(Registry::ReadString(Hive::LocalMachine, kAppPath, "Language"), "Japanese");
  SetLanguageRegistry(2);
  EXPECT_EQ(Registry::ReadString(Hive::LocalMachine, kAppPath, "Language"), "English");
  EXPECT_EQ(GetLanguageRegistry(), 0);
}

TEST_F(HelperSettings, LanguageListWalksWithTheCursor) {
  DWORD cursor = 0xFFFFFFFFu;
  EXPECT_EQ(GetLanguageListRegistry(nullptr, 1), -1);
  EXPECT_EQ(GetLanguageListRegistry(&cursor, 0), -1);
  EXPECT_EQ(cursor, 0xFFFFFFFFu);
  EXPECT_EQ(IsLanguageListRegistry(0), 0);

  Registry::WriteDword(Hive::LocalMachine, kAppPath, "LangMax", 3);
  Registry::WriteString(Hive::LocalMachine, kAppPath, "Lang1", "english");
  Registry::WriteString(Hive::LocalMachine, kAppPath, "Lang2", "Chinese");  // not a list language
  Registry::WriteString(Hive::LocalMachine, kAppPath, "Lang3", "Japanese");
  EXPECT_EQ(GetLanguageListRegistry(nullptr, 1), 3);

  cursor = 0xFFFFFFFFu;
  EXPECT_EQ(GetLanguageListRegistry(&cursor, 0), 0);
  EXPECT_EQ(cursor, (3u << 16) | 1u);
  EXPECT_EQ(GetLanguageListRegistry(&cursor, 0), -1);
  EXPECT_EQ(cursor, (3u << 16) | 2u);
  EXPECT_EQ(GetLanguageListRegistry(&cursor, 0), 1);
  EXPECT_EQ(cursor, 0xFFFFFFFFu);

  EXPECT_EQ(IsLanguageListRegistry(1), 1);
  EXPECT_EQ(IsLanguageListRegistry(0), 1);
  EXPECT_EQ(IsLanguageListRegistry(2), 0);
  EXPECT_EQ(IsLanguageListRegistry(-1), 0);  // an unknown entry is not "language -1"

  Registry::WriteDword(Hive::LocalMachine, kAppPath, "LangMax", 0);
  cursor = 0xFFFFFFFFu;
  EXPECT_EQ(GetLanguageListRegistry(&cursor, 0), -1);
  EXPECT_EQ(cursor, 0xFFFFFFFFu);
}
