#include <gtest/gtest.h>

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_util.h"
#include "platform/registry.h"

using platform::Hive;
using platform::Registry;

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Registry::DeleteKey(Hive::CurrentUser, "Software");
    Registry::DeleteKey(Hive::LocalMachine, "Software");
  }
};

TEST_F(RegistryTest, ValuesRoundTripAndNamesIgnoreCase) {
  const std::string key = "Software\\KELD\\Axis Configurator\\Settings";
  EXPECT_FALSE(Registry::ReadDword(Hive::CurrentUser, key, "ToolOprTimes"));
  ASSERT_TRUE(Registry::WriteDword(Hive::CurrentUser, key, "ToolOprTimes", 0xDEADBEEF));
  ASSERT_TRUE(Registry::WriteString(Hive::CurrentUser, key, "CurrentPath", "/home/a \"b\"\\c\nd"));
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, "software\\keld\\AXIS CONFIGURATOR\\settings", "tooloprtimes"),
            0xDEADBEEFu);
  EXPECT_EQ(Registry::ReadString(Hive::CurrentUser, key, "currentpath"), "/home/a \"b\"\\c\nd");
  // A value of the other type is not read as this one.
  EXPECT_FALSE(Registry::ReadString(Hive::CurrentUser, key, "ToolOprTimes"));
  EXPECT_FALSE(Registry::ReadDword(Hive::CurrentUser, key, "CurrentPath"));
  // Hives are separate.
  EXPECT_FALSE(Registry::ReadDword(Hive::LocalMachine, key, "ToolOprTimes"));
  // Overwriting keeps one value.
  ASSERT_TRUE(Registry::WriteDword(Hive::CurrentUser, key, "TOOLOPRTIMES", 7));
  EXPECT_EQ(Registry::ValueNames(Hive::CurrentUser, key).size(), 2u);
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, key, "ToolOprTimes"), 7u);
  EXPECT_TRUE(Registry::DeleteValue(Hive::CurrentUser, key, "toolopRtimes"));
  EXPECT_FALSE(Registry::DeleteValue(Hive::CurrentUser, key, "ToolOprTimes"));
  EXPECT_FALSE(Registry::ReadDword(Hive::CurrentUser, key, "ToolOprTimes"));
}

TEST_F(RegistryTest, KeysEnumerateAndDeleteRecursively) {
  ASSERT_TRUE(Registry::WriteDword(Hive::CurrentUser, "Software\\KELD\\A\\Deep\\Er", "x", 1));
  ASSERT_TRUE(Registry::CreateKey(Hive::CurrentUser, "Software\\KELD\\B"));
  ASSERT_TRUE(Registry::CreateKey(Hive::CurrentUser, "Software\\Other"));
  EXPECT_TRUE(Registry::KeyExists(Hive::CurrentUser, "Software\\KELD\\A\\Deep"));  // parents exist
  auto subs = Registry::SubKeys(Hive::CurrentUser, "Software\\KELD\\");
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_EQ(subs[0], "A");
  EXPECT_EQ(subs[1], "B");
  EXPECT_TRUE(Registry::DeleteKey(Hive::CurrentUser, "software\\keld\\a"));
  EXPECT_FALSE(Registry::KeyExists(Hive::CurrentUser, "Software\\KELD\\A\\Deep\\Er"));
  EXPECT_FALSE(Registry::KeyExists(Hive::CurrentUser, "Software\\KELD\\A"));
  EXPECT_TRUE(Registry::KeyExists(Hive::CurrentUser, "Software\\KELD\\B"));
  EXPECT_FALSE(Registry::DeleteKey(Hive::CurrentUser, "Software\\KELD\\A"));
  // A sibling whose name starts with the deleted key's name survives.
  ASSERT_TRUE(Registry::CreateKey(Hive::CurrentUser, "Software\\KELD\\Bx"));
  EXPECT_TRUE(Registry::DeleteKey(Hive::CurrentUser, "Software\\KELD\\B"));
  EXPECT_TRUE(Registry::KeyExists(Hive::CurrentUser, "Software\\KELD\\Bx"));
}

TEST_F(RegistryTest, DamagedHiveReadsEmptyAndIsKeptAside) {
  ASSERT_TRUE(Registry::WriteDword(Hive::CurrentUser, "Software\\KELD", "v", 1));
  std::string path = Registry::HivePath(Hive::CurrentUser);
  for (const char* damage : {"garbage\x01\x02", "KELDREG 1\n\"orphan\"=dword:00000001\n",
                             "KELDREG 1\n[Software]\n\"v\"=dword:12\n", "KELDREG 1\n[Software]\n\"v\"=\"open\n"}) {
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << damage;
    }
    EXPECT_FALSE(Registry::ReadDword(Hive::CurrentUser, "Software\\KELD", "v")) << damage;
    EXPECT_TRUE(Registry::SubKeys(Hive::CurrentUser, "").empty());
    ASSERT_TRUE(Registry::WriteDword(Hive::CurrentUser, "Software\\KELD", "w", 2));
    EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, "Software\\KELD", "w"), 2u);
    std::string kept;
    ASSERT_TRUE(platform::ReadWholeFile(path + ".damaged", kept));
    EXPECT_EQ(kept, damage);
  }
}

TEST_F(RegistryTest, AHiveWithWindowsLineEndsReadsTheSame) {
  ASSERT_TRUE(Registry::WriteString(Hive::CurrentUser, "Software\\KELD", "Name", "a\rb"));
  ASSERT_TRUE(Registry::WriteDword(Hive::CurrentUser, "Software\\KELD", "v", 7));
  const std::string path = Registry::HivePath(Hive::CurrentUser);
  std::string content, crlf;
  ASSERT_TRUE(platform::ReadWholeFile(path, content));
  for (char c : content) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  ASSERT_TRUE(platform::WriteFileAtomic(path, crlf));
  EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, "Software\\KELD", "v"), 7u);
  EXPECT_EQ(Registry::ReadString(Hive::CurrentUser, "Software\\KELD", "Name"), "a\rb");
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
  constexpr int kProcs = 4, kValues = 25;
  std::vector<pid_t> kids;
  for (int p = 0; p < kProcs; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool ok = true;
      for (int i = 0; i < kValues; ++i)
        ok &= Registry::WriteDword(Hive::CurrentUser, "Software\\KELD\\P" + std::to_string(p), "v" + std::to_string(i),
                                   static_cast<uint32_t>(p * 1000 + i));
      _exit(ok ? 0 : 1);
    }
    kids.push_back(pid);
  }
  for (pid_t k : kids) {
    int status = 0;
    waitpid(k, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int p = 0; p < kProcs; ++p)
    for (int i = 0; i < kValues; ++i)
      EXPECT_EQ(Registry::ReadDword(Hive::CurrentUser, "Software\\KELD\\P" + std::to_string(p), "v" + std::to_string(i)),
                static_cast<uint32_t>(p * 1000 + i));
}

}  // namespace
