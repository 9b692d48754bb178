// The PLC command responder as a peer sees it: framing, station matching,
// the UR/UW commands and their error answers.
#include <gtest/gtest.h>

#include "frame_client.h"
#include "sim/unit_addresses.h"

namespace {

using simtest::CFrameClient;
using namespace sim;

class ResponderTest : public ::testing::Test {
 protected:
  CManualClock clock;
  PlcConfig config;
  std::unique_ptr<CSimPlc> plc = std::make_unique<CSimPlc>(config, clock);
  CFrameClient client{*plc};

  std::string Error(const std::string& station, int code) {
    return plcframe::CompleteFrame("%" + station + "!" + std::to_string(code));
  }
};

TEST_F(ResponderTest, ReadsIdentificationWordsWithTheirCode) {
  // model code 5154 = 0x1422 at word 2; versions at words 5 and 6
  EXPECT_EQ(client.Send("#UR0000002001"), plcframe::CompleteFrame("%01$UR1422"));
  EXPECT_EQ(client.Read(addr::kFirmwareVersion, 2), (std::vector<uint16_t>{0x0105, 0x0100}));
  // texts: two characters a word, the first in the high byte
  const auto brand = client.Read(addr::BrandName(7), 8);
  ASSERT_EQ(brand.size(), 8u);
  EXPECT_EQ(brand[0], ('K' << 8) | 'E');
  EXPECT_EQ(brand[3], ('I' << 8) | 'M');
  EXPECT_EQ(brand[7], (' ' << 8) | ' ');
}

TEST_F(ResponderTest, WrittenWordsReadBackAcrossAFullSizeFrame) {
  std::vector<uint16_t> words(500);
  for (size_t i = 0; i < words.size(); ++i) words[i] = static_cast<uint16_t>(i * 257 + 1);
  const uint32_t base = addr::Table(2, 10);
  client.Write(base, words);
  EXPECT_EQ(client.Read(base, 500), words);
  // 32-bit values are two words, low word first
  client.SetLong(addr::CoordinateOrigin(1), -2);
  EXPECT_EQ(client.Read(addr::CoordinateOrigin(1), 2), (std::vector<uint16_t>{0xFFFE, 0xFFFF}));
}

TEST_F(ResponderTest, StationMatching) {
  // "EE" is the PLC on the link: answered with the same characters
  EXPECT_EQ(plc->Handle(plcframe::CompleteFrame("%EE#UR0000002001")).parts.at(0).bytes,
            plcframe::CompleteFrame("%EE$UR1422"));
  // another station: no answer, and the command is not carried out
  EXPECT_TRUE(plc->Handle(plcframe::CompleteFrame("%02#UW00000B00010007")).parts.empty());
  EXPECT_NE(client.Word(addr::kLayout), 7);
  // broadcast: carried out, never answered
  EXPECT_TRUE(plc->Handle(plcframe::CompleteFrame("%FF#UW00000B00010007")).parts.empty());
  EXPECT_EQ(client.Word(addr::kLayout), 7);
  EXPECT_TRUE(plc->Handle(plcframe::CompleteFrame("%FF#XX")).parts.empty());
}

TEST_F(ResponderTest, BlockCheckCode) {
  std::string frame = plcframe::CompleteFrame("%01#UR0000002001");
  EXPECT_EQ(client.SendFrame(frame.substr(0, frame.size() - 3) + "**\r"), plcframe::CompleteFrame("%01$UR1422"));
  frame[frame.size() - 2] = frame[frame.size() - 2] == '0' ? '1' : '0';
  EXPECT_EQ(client.SendFrame(frame), Error("01", 40));
  // lower-case code digits are not the code
  std::string lower = plcframe::CompleteFrame("%01#UR0000028001");  // code 0B
  ASSERT_EQ(lower.substr(lower.size() - 3, 2), "0B");
  lower[lower.size() - 2] = 'b';
  EXPECT_EQ(client.SendFrame(lower), Error("01", 40));
  // a bad code on a write leaves memory alone
  std::string write = plcframe::CompleteFrame("%01#UW00000B00010003");
  write[write.size() - 2] ^= 1;
  client.SendFrame(write);
  EXPECT_NE(client.Word(addr::kLayout), 3);
  // a bad code for another station is not answered
  std::string other = plcframe::CompleteFrame("%07#UR0000002001");
  other[other.size() - 2] ^= 1;
  EXPECT_EQ(client.SendFrame(other), "");
}

TEST_F(ResponderTest, ErrorAnswers) {
  EXPECT_EQ(client.Send("#RD00000"), Error("01", 42));
  EXPECT_EQ(client.Send("#U"), Error("01", 41));
  EXPECT_EQ(client.Send("#UR0000002000"), Error("01", 41));   // count 0
  EXPECT_EQ(client.Send("#UR00000021F5"), Error("01", 41));   // count 501
  EXPECT_EQ(client.Send("#UR000000a001"), Error("01", 41));   // lower-case address
  EXPECT_EQ(client.Send("#UR0X00000001"), Error("01", 41));   // slot not decimal
  EXPECT_EQ(client.Send("#UR0000000001F"), Error("01", 41));  // one character too many
  EXPECT_EQ(client.Send("#UW00000B0002000F"), Error("01", 41));  // data shorter than the count
  EXPECT_EQ(client.Send("#UW00000B0001000F0"), Error("01", 41));
  EXPECT_EQ(client.Send("#UW00000B000100G0"), Error("01", 41));
  EXPECT_EQ(client.Send("#UR0100000001"), Error("01", 60));   // no unit in slot 1
  EXPECT_EQ(client.Send("#UR2900000001"), Error("01", 60));
  // the last word of memory is readable, one beyond is not
  EXPECT_EQ(client.Read(addr::kMemoryWords - 1, 1).size(), 1u);
  EXPECT_EQ(client.Send("#UR0017FFF002"), Error("01", 61));
  EXPECT_EQ(client.Send("#UR00FFFFF1F4"), Error("01", 61));
}

TEST_F(ResponderTest, MalformedFramesGetFormatError) {
  const std::string own = Error("01", 41);
  EXPECT_EQ(client.SendFrame("%01#UR0000002001"), own);             // no CR
  EXPECT_EQ(client.SendFrame("\r"), own);
  EXPECT_EQ(client.SendFrame("%0\r"), own);
  EXPECT_EQ(client.SendFrame("X01#UR000000200100\r"), own);         // no start character
  EXPECT_EQ(client.SendFrame("%A1#UR000000200100\r"), own);         // station not readable
  EXPECT_EQ(client.SendFrame("%01#UR00\r000020001**\r"), own);       // CR inside
  EXPECT_EQ(client.SendFrame(std::string("%01#UR\0\0**\r", 11)), own);
  // a continuation without a command before it
  EXPECT_EQ(client.SendFrame(plcframe::CompleteFrame("%0100000020001")), own);
}

TEST_F(ResponderTest, ContinuedFramesRunAsOneCommand) {
  // a write of 3 words sent in three frames
  const std::string first = plcframe::CompleteFrame("%01#UW00000B00030001&");
  ASSERT_EQ(first.substr(first.size() - 2), "&\r");
  auto r1 = plc->Handle(first);
  ASSERT_EQ(r1.parts.size(), 1u);
  EXPECT_TRUE(r1.continuation);
  EXPECT_EQ(r1.parts[0].bytes.substr(0, 4), "%01&");
  EXPECT_TRUE(plcframe::CheckFrameCode(r1.parts[0].bytes));
  EXPECT_TRUE(plc->Handle(plcframe::CompleteFrame("%010002&")).continuation);
  EXPECT_EQ(client.SendFrame(plcframe::CompleteFrame("%010003")), plcframe::CompleteFrame("%01$UW"));
  EXPECT_EQ(client.Read(addr::kLayout, 3), (std::vector<uint16_t>{1, 2, 3}));
  // a new command abandons an unfinished one
  plc->Handle(plcframe::CompleteFrame("%01#UW00000B00010009&"));
  EXPECT_EQ(client.Word(addr::kLayout), 1);
  EXPECT_EQ(client.SendFrame(plcframe::CompleteFrame("%010009")), Error("01", 41));
}

TEST_F(ResponderTest, OverlongContinuationIsRefused) {
  std::string chunk(1000, '0');
  plc->Handle(plcframe::CompleteFrame("%01#UW00000B0001&"));
  std::string last;
  for (int i = 0; i < 10; ++i) last = client.SendFrame(plcframe::CompleteFrame("%01" + chunk + "&"));
  EXPECT_EQ(last, Error("01", 41));
}

}  // namespace
