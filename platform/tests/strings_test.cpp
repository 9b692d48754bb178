#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/file_util.h"
#include "platform/strings.h"
#include "test_home.h"

using platform::LanguageLoad;
using platform::StringEntry;
using platform::Strings;
using platform::StringTable;

namespace {

TEST(StringTable, ParsesEscapesAndRejectsDamage) {
  StringTable t;
  std::string error;
  ASSERT_TRUE(t.Parse("# comment\r\n129\tPort %d is in use.\\nRetry?\r\n\n7\ttab\\there \\\\ ok\n", error)) << error;
  EXPECT_EQ(t.Get(129), "Port %d is in use.\nRetry?");
  EXPECT_EQ(t.Get(7), "tab\there \\ ok");
  EXPECT_EQ(t.Get(8), "");
  for (const char* bad : {"x\ttext\n", "12 text\n", "\ttext\n", "5\tends with \\\n", "5\tbad \\q\n", "12345678901\tbig\n"}) {
    StringTable d;
    d.Set(1, "old");
    EXPECT_FALSE(d.Parse(bad, error)) << bad;
    EXPECT_NE(error.find("line 1"), std::string::npos);
    EXPECT_EQ(d.Size(), 0u);
  }
}

TEST(Strings, BuiltinMergesAndLanguageTablesLoad) {
  static const StringEntry a[] = {{1, "one"}, {2, "two"}};
  static const StringEntry b[] = {{2, "TWO"}, {3, "three"}};
  Strings::RegisterBuiltin("TestModule", a, 2);
  Strings::RegisterBuiltin("TestModule", b, 2);
  EXPECT_EQ(Strings::Get("TestModule", 1), "one");
  EXPECT_EQ(Strings::Get("TestModule", 2), "TWO");
  EXPECT_EQ(Strings::Get("TestModule", 3), "three");
  EXPECT_EQ(Strings::Get("NoSuchModule", 1), "");

  std::string dir = keldtest::FreshDir("lang");
  setenv("KELD_LANG_DIR", dir.c_str(), 1);
  std::shared_ptr<const StringTable> jpn;
  std::string error;
  EXPECT_EQ(Strings::Load("TestModule", "jpn", jpn, error), LanguageLoad::Missing);
  ASSERT_TRUE(platform::WriteFileAtomic(Strings::TablePath("TestModule", "jpn"), "1\t\xE3\x81\x84\xE3\x81\xA1\n"));
  ASSERT_EQ(Strings::Load("TestModule", "jpn", jpn, error), LanguageLoad::Ok) << error;
  Strings::SetActive("TestModule", jpn);
  EXPECT_EQ(Strings::Get("TestModule", 1), "\xE3\x81\x84\xE3\x81\xA1");
  EXPECT_EQ(Strings::Get("TestModule", 3), "");  // no fall-back into another language
  Strings::SetActive("TestModule", nullptr);
  EXPECT_EQ(Strings::Get("TestModule", 3), "three");

  ASSERT_TRUE(platform::WriteFileAtomic(Strings::TablePath("TestModule", "chs"), "oops\n"));
  EXPECT_EQ(Strings::Load("TestModule", "chs", jpn, error), LanguageLoad::Damaged);
  EXPECT_NE(error.find("TestModule.chs.txt"), std::string::npos);
  unsetenv("KELD_LANG_DIR");
}

}  // namespace
