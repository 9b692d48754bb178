#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/file_util.h"
#include "platform/profile.h"
#include "test_home.h"

using platform::Profile;

namespace {

std::string Write(const std::string& name, const std::string& content) {
  std::string path = keldtest::FreshDir("profile") + "/" + name;
  EXPECT_TRUE(platform::WriteFileAtomic(path, content));
  return path;
}

TEST(Profile, ReadingRules) {
  Profile p(Write("KELD_TAVCOMM.INI",
                  "; comment\r\n[TavCom1]\r\n  Retry = 3 times\r\nRETRYTIME=-12x\r\nName=\"quoted value\"\r\n"
                  "Empty=\r\nHex=0x10\r\n\r\n[Other]\r\nRetry=9\r\n[tavcom1]\r\nLate=1\r\n"));
  EXPECT_EQ(p.ReadInt("tavcom1", "retry", 5), 3);
  EXPECT_EQ(p.ReadInt("TAVCOM1", "RetryTime", 5), -12);
  EXPECT_EQ(p.ReadString("TavCom1", "name", "x"), "quoted value");
  EXPECT_EQ(p.ReadInt("TavCom1", "Empty", 5), 0);   // present but no number: 0
  EXPECT_EQ(p.ReadInt("TavCom1", "Hex", 5), 0);     // leading integer only
  EXPECT_EQ(p.ReadInt("TavCom1", "Missing", 5), 5);
  EXPECT_EQ(p.ReadInt("Nope", "Retry", 5), 5);
  EXPECT_EQ(p.ReadInt("Other", "Retry", 5), 9);
  EXPECT_EQ(p.ReadString("TavCom1", "Late", "first section wins"), "first section wins");
  EXPECT_EQ(Profile("/nonexistent/dir/x.ini").ReadInt("a", "b", 42), 42);
  EXPECT_EQ(Profile::ParseLeadingInt("  +77abc"), 77);
  EXPECT_EQ(Profile::ParseLeadingInt("99999999999"), INT32_MAX);
  EXPECT_EQ(Profile::ParseLeadingInt("-99999999999"), INT32_MIN);
  EXPECT_EQ(Profile::ParseLeadingInt("abc"), 0);
}

TEST(Profile, WritesKeepOtherLines) {
  std::string path = Write("t.ini", "; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
  Profile p(path);
  ASSERT_TRUE(p.WriteInt("a", "X", 10));       // replaces in place, case-insensitive
  ASSERT_TRUE(p.WriteString("A", "z", "new"));  // appended to the section, before the blank line
  ASSERT_TRUE(p.WriteString("C", "w", "c"));    // new section at the end
  std::string content;
  ASSERT_TRUE(platform::ReadWholeFile(path, content));
  EXPECT_EQ(content, "; keep me\r\n[A]\r\nX=10\r\nz=new\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=c\r\n");
  ASSERT_TRUE(p.DeleteKey("B", "y"));
  ASSERT_TRUE(p.DeleteSection("a"));
  EXPECT_EQ(p.Sections(), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(p.Keys("c"), (std::vector<std::string>{"w"}));
  // Writing to a file that does not exist yet creates it.
  Profile fresh(keldtest::FreshDir("profile") + "/new.ini");
  ASSERT_TRUE(fresh.WriteInt("S", "k", 4));
  EXPECT_EQ(fresh.ReadInt("s", "K", 0), 4);
}

TEST(Profile, ConcurrentWritersLoseNothing) {
  std::string path = keldtest::FreshDir("profile") + "/c.ini";
  std::vector<pid_t> kids;
  for (int p = 0; p < 4; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Profile mine(path);
      bool ok = true;
      for (int i = 0; i < 20; ++i) ok &= mine.WriteInt("S" + std::to_string(p), "k" + std::to_string(i), p * 100 + i);
      _exit(ok ? 0 : 1);
    }
    kids.push_back(pid);
  }
  for (pid_t k : kids) {
    int status = 0;
    waitpid(k, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Profile p(path);
  for (int s = 0; s < 4; ++s)
    for (int i = 0; i < 20; ++i) EXPECT_EQ(p.ReadInt("S" + std::to_string(s), "k" + std::to_string(i), -1), s * 100 + i);
}

}  // namespace
