// tavrequest's command line: request words with their options, the refusals
// a script gets before anything is sent, the connection record the line
// makes, and the escaping of answers and command texts.
#include <gtest/gtest.h>

#include <array>

#include "request_line.h"
#include "tavinter/connection_record.h"

using namespace tavrequest;

namespace {

bool Parses(const std::vector<std::string>& args, RequestLine& line, std::string& error) {
  return ParseRequestLine(args, line, error);
}

}  // namespace

TEST(RequestLine, RequestWordsAndTheirOptions) {
  RequestWord s;
  std::string error;
  ASSERT_TRUE(ParseRequestWord("30,text=ATDT0612345", s, error)) << error;
  EXPECT_EQ(s.code, 30);
  EXPECT_EQ(s.text, "ATDT0612345");
  ASSERT_TRUE(ParseRequestWord("35,callerid,mode=16,flags=0x0004", s, error)) << error;
  EXPECT_EQ(s.code, 35);
  EXPECT_TRUE(s.callerId);
  EXPECT_EQ(s.mode, 16);
  EXPECT_EQ(s.flags, 4);
  EXPECT_TRUE(s.text.empty());
  // An escaped comma stays in the text; an escaped backslash before a comma
  // does not protect it.
  ASSERT_TRUE(ParseRequestWord("51,text=A\\,B\\r\\x41", s, error)) << error;
  EXPECT_EQ(s.text, "A,B\rA");
  ASSERT_TRUE(ParseRequestWord("51,text=A\\\\,mode=3", s, error)) << error;
  EXPECT_EQ(s.text, "A\\");
  EXPECT_EQ(s.mode, 3);

  for (const char* bad : {"", "1", "999", "0", "-30", "abc", "32768", "30,text=a\\", "30,text=\\x0",
                          "30,text=\\x00", "30,text=\\q", "30,speed=3", "30,mode=-1", "30,mode=32768",
                          "30,flags=0x10000", "30,callerid=1", "30,text"}) {
    error.clear();
    EXPECT_FALSE(ParseRequestWord(bad, s, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  std::string long_text(2049, 'A');
  EXPECT_FALSE(ParseRequestWord("10,text=" + long_text, s, error));
  EXPECT_TRUE(ParseRequestWord("10,text=" + long_text.substr(1), s, error));
}

TEST(RequestLine, CommandLineRefusalsAndTheRecordItMakes) {
  RequestLine line;
  std::string error;
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--kind", "6", "30"},
           {"--dest", "tcp:host:80", "--kind", "6", "30"},
           {"--dest", "com:0", "--kind", "6", "30"},
           {"--dest", "com:257", "--kind", "6", "30"},
           {"--dest", "com:x", "--kind", "6", "30"},
           {"--dest", "com:3", "30"},
           {"--dest", "com:3", "--kind", "5", "30"},
           {"--dest", "com:3", "--kind", "6", "--init", std::string(40, 'A'), "30"},
           {"--dest", "com:3", "--kind", "6", "--init", "AT\xC3\xA9", "30"},
           {"--dest", "com:3", "--kind", "6", "--name", "", "30"},
           {"--dest", "com:3", "--kind", "6", "--hold", "-1", "30"},
           {"--dest", "com:3", "--kind", "6", "--hold", "86401", "30"},
           {"--dest", "com:3", "--kind", "6"},
           {"--dest", "com:3", "--kind", "6", "--frob", "30"},
           {"--dest", "com:3", "--kind", "6", "30", "1"},
       }) {
    error.clear();
    EXPECT_FALSE(Parses(bad, line, error)) << ::testing::PrintToString(bad);
    EXPECT_FALSE(error.empty());
  }
  ASSERT_TRUE(Parses({"--dest", "com:3,115200,8,E,2", "--kind", "7", "--init", std::string(39, 'B'), "--name",
                      "script", "--hold", "5", "30,text=ATDT1", "31"},
                     line, error))
      << error;
  EXPECT_EQ(line.requests.size(), 2u);
  EXPECT_EQ(line.holdSeconds, 5);
  std::array<uint8_t, tavinter::kConnectionRecordSize> bytes;
  bytes.fill(0xAA);
  ASSERT_TRUE(FillConnectionRecord(line, bytes.data(), error)) << error;
  tavinter::CConnectionRecord r(bytes.data());
  EXPECT_EQ(r.ClientHandle(), 0);
  EXPECT_EQ(r.Name(), "script");
  EXPECT_EQ(r.Kind(), 7);
  EXPECT_EQ(r.Port(), 3);
  EXPECT_EQ(r.BaudIndex(), 7);
  EXPECT_EQ(r.Parity(), 2);
  EXPECT_EQ(r.StopBits(), 2);
  EXPECT_EQ(r.InitCommand(), std::string(39, 'B'));
  EXPECT_GT(r.LineTimeout(), 0);

  // Wrong line settings are found when the record is made.
  ASSERT_TRUE(Parses({"--dest", "com:3,9601", "--kind", "1", "10"}, line, error));
  EXPECT_FALSE(FillConnectionRecord(line, bytes.data(), error));
  // Holding alone (no request) keeps a connection open for others.
  EXPECT_TRUE(Parses({"--dest", "com:3", "--kind", "6", "--hold", "2"}, line, error)) << error;
}

TEST(RequestLine, EscapingRoundTripsEveryByteButNul) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string escaped = EscapeBytes(reinterpret_cast<const uint8_t*>(all.data()), all.size());
  for (unsigned char c : escaped) EXPECT_TRUE(c >= 0x20 && c < 0x7F);
  EXPECT_NE(escaped.find(','), std::string::npos);  // commas print as they are
  std::string back, error;
  ASSERT_TRUE(UnescapeText(escaped, back, error)) << error;
  EXPECT_EQ(back, all);
  const uint8_t answer[] = {'2', ' ', '0', '6', '\r', '\n', 0x00, 0x81, '"'};
  EXPECT_EQ(EscapeBytes(answer, sizeof answer), "2 06\\r\\n\\x00\\x81\\\"");
}
