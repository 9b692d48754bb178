#include <gtest/gtest.h>

#include "platform/command_line.h"

using platform::CCommandLine;

namespace {

void Declare(CCommandLine& c) {
  c.AddFlag("force");
  c.AddFlag("h,help");
  c.AddValue("o");
  c.AddValue("slot");
  c.AddValue("busy");
}

TEST(CommandLine, FlagsValuesAndPositionalInAnyOrder) {
  CCommandLine c;
  Declare(c);
  std::string error;
  ASSERT_TRUE(c.Parse({"a.axc", "--slot", "3", "-o", "out", "--force", "b", "--busy=12", "--busy", "-5"}, error))
      << error;
  EXPECT_TRUE(c.Has("force"));
  EXPECT_FALSE(c.Has("help"));
  EXPECT_EQ(c.Value("slot"), "3");
  EXPECT_EQ(c.Value("o"), "out");
  EXPECT_EQ(c.Values("busy"), (std::vector<std::string>{"12", "-5"}));  // a value may start with a dash
  EXPECT_EQ(c.Positional(), (std::vector<std::string>{"a.axc", "b"}));
  using Given = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(c.Given(), (Given{{"--slot", "3"}, {"-o", "out"}, {"--force", ""}, {"--busy", "12"}, {"--busy", "-5"}}));
  EXPECT_EQ(c.Value("nothing"), "");
}

TEST(CommandLine, RefusalsNameTheOption) {
  std::string error;
  CCommandLine unknown;
  Declare(unknown);
  EXPECT_FALSE(unknown.Parse({"x", "--bogus"}, error));
  EXPECT_EQ(error, "unknown option --bogus");
  CCommandLine missing;
  Declare(missing);
  EXPECT_FALSE(missing.Parse({"--slot"}, error));
  EXPECT_EQ(error, "--slot needs a value");
  CCommandLine shortUnknown;
  Declare(shortUnknown);
  EXPECT_FALSE(shortUnknown.Parse({"-q"}, error));
  EXPECT_EQ(error, "unknown option -q");
}

TEST(CommandLine, NumbersAreDecimalOrHexWithoutSign) {
  long long v = 0;
  EXPECT_TRUE(platform::ParseNumber("0", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(platform::ParseNumber("0x1F", v));
  EXPECT_EQ(v, 31);
  EXPECT_TRUE(platform::ParseNumber("010", v));
  EXPECT_EQ(v, 10);  // never octal
  for (const char* bad : {"", "0x", "-1", "+1", " 1", "1 ", "12a", "0x-1", "99999999999999999999"})
    EXPECT_FALSE(platform::ParseNumber(bad, v)) << bad;
}

TEST(CommandLine, HostAndPort) {
  std::string host;
  int port = 0;
  ASSERT_TRUE(platform::SplitHostPort("127.0.0.1:9600", host, port));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 9600);
  ASSERT_TRUE(platform::SplitHostPort("fe80::1:65535", host, port));
  EXPECT_EQ(host, "fe80::1");
  for (const char* bad : {"9600", ":9600", "host:", "host:0", "host:65536", "host:x"})
    EXPECT_FALSE(platform::SplitHostPort(bad, host, port)) << bad;
}

}  // namespace
