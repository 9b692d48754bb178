// Installation defaults reach a user's settings folder once, and a file the
// user already has is never replaced.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/settings_seed.h"
#include "test_home.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class SettingsSeed : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* saved = std::getenv("KELD_HOME");
    saved_ = saved ? saved : "";
    home_ = keldtest::FreshDir("seed");
    setenv("KELD_HOME", home_.c_str(), 1);
    defaults_ = keldtest::FreshDir("seed-defaults");
    Write(defaults_ + "/KELD_TAVCOMM.INI", "[INTERVAL]\nRETRY=7\n");
  }
  void TearDown() override { setenv("KELD_HOME", saved_.c_str(), 1); }
  std::string Target() const { return platform::SettingsRoot() + "/KELD_TAVCOMM.INI"; }
  std::string saved_, home_, defaults_;
};

TEST_F(SettingsSeed, TheFirstStartCopiesTheDefaultsAndLaterStartsKeepTheUsersFile) {
  ASSERT_FALSE(std::filesystem::exists(Target())) << "a fresh home has no settings file yet";
  EXPECT_TRUE(platform::SeedSettingsFile("KELD_TAVCOMM.INI", defaults_));
  EXPECT_EQ(Read(Target()), "[INTERVAL]\nRETRY=7\n");
  EXPECT_EQ(platform::Profile(Target()).ReadInt("INTERVAL", "RETRY", 0), 7);

  // The user changes the file; the installation's defaults change too.
  Write(Target(), "[INTERVAL]\nRETRY=9\n");
  Write(defaults_ + "/KELD_TAVCOMM.INI", "[INTERVAL]\nRETRY=1\n");
  EXPECT_FALSE(platform::SeedSettingsFile("KELD_TAVCOMM.INI", defaults_));
  EXPECT_EQ(Read(Target()), "[INTERVAL]\nRETRY=9\n") << "a user's file is never replaced";

  // Even an empty file of the user's stays.
  Write(Target(), "");
  EXPECT_FALSE(platform::SeedSettingsFile("KELD_TAVCOMM.INI", defaults_));
  EXPECT_EQ(Read(Target()), "");
}

TEST_F(SettingsSeed, NothingIsMadeWithoutAnInstalledDefaultOrFromAPath) {
  EXPECT_FALSE(platform::SeedSettingsFile("KELD_TAVCOMM.INI", defaults_ + "/missing"));
  EXPECT_FALSE(std::filesystem::exists(Target()));
  EXPECT_FALSE(platform::SeedSettingsFile("../KELD_TAVCOMM.INI", defaults_));
  EXPECT_FALSE(platform::SeedSettingsFile("", defaults_));
}

TEST_F(SettingsSeed, TheBuildTreeCarriesTheInstalledDefaults) {
  // Tests run from <build>/tests, programs from <prefix>/bin: both find
  // <prefix>/share/keld/defaults, which holds the servers' settings file
  // with the values the servers use when a key is missing.
  const std::string installed = platform::DefaultsDir() + "/KELD_TAVCOMM.INI";
  ASSERT_TRUE(std::filesystem::exists(installed)) << installed;
  platform::Profile ini(installed);
  EXPECT_EQ(ini.ReadInt("INTERVAL", "RETRY", -1), 3);
  EXPECT_EQ(ini.ReadInt("INTERVAL", "RETRYTIME", -1), 1);
  EXPECT_EQ(ini.ReadInt("INTERVAL", "UNITCHK", -1), 1);
  EXPECT_EQ(ini.ReadInt("SLEEP0FF", "SLPTIME", -1), 1000);
  EXPECT_EQ(ini.ReadInt("ETHERNETRETRY", "RETRY", -1), 5);
  EXPECT_TRUE(platform::SeedSettingsFile("KELD_TAVCOMM.INI"));
  EXPECT_EQ(Read(Target()), Read(installed));
}

}  // namespace
