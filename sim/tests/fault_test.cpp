// Fault injection switches of the simulated PLC.
#include "unit_fixture.h"

namespace {

using namespace sim;
using simtest::CFrameClient;

class FaultTest : public ::testing::Test {
 protected:
  CManualClock clock;
  std::unique_ptr<CSimPlc> Make(const std::string& list) {
    PlcConfig config;
    std::string error;
    EXPECT_TRUE(ParseFaultList(list, config.faults, error)) << error;
    return std::make_unique<CSimPlc>(config, clock);
  }
  static std::string Good() { return plcframe::CompleteFrame("%01$UR1422"); }
  static std::string Frame() { return plcframe::CompleteFrame("%01#UR0000002001"); }
};

TEST_F(FaultTest, CorruptBlockCheckCodeEveryNth) {
  auto plc = Make("bcc=3");
  for (int i = 1; i <= 6; ++i) {
    const auto parts = plc->Handle(Frame()).parts;
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(plcframe::CheckFrameCode(parts[0].bytes), i % 3 != 0) << i;
    EXPECT_EQ(parts[0].bytes.substr(0, 10), Good().substr(0, 10));
  }
}

TEST_F(FaultTest, NakEveryNthFrameWithoutCarryingItOut) {
  auto plc = Make("nak=2");
  CFrameClient c(*plc);
  EXPECT_EQ(c.Send("#UW00000B00010001"), plcframe::CompleteFrame("%01$UW"));
  EXPECT_EQ(c.Send("#UW00000B00010002"), plcframe::CompleteFrame("%01!40"));
  EXPECT_EQ(c.Send("#UR00000B0001"), plcframe::CompleteFrame("%01$UR0001"));
  // frames for other stations do not count
  plc->Handle(plcframe::CompleteFrame("%09#UR0000002001"));
  EXPECT_EQ(c.Send("#UR00000B0001"), plcframe::CompleteFrame("%01!40"));
}

TEST_F(FaultTest, DropEveryNthAnswerAfterCarryingItOut) {
  auto plc = Make("drop=2");
  CFrameClient c(*plc);
  EXPECT_EQ(c.Send("#UW00000B00010001"), plcframe::CompleteFrame("%01$UW"));
  EXPECT_EQ(c.Send("#UW00000B00010005"), "");
  EXPECT_EQ(c.Send("#UR00000B0001"), plcframe::CompleteFrame("%01$UR0005"));
}

TEST_F(FaultTest, AnswerForAnotherStationFirst) {
  auto plc = Make("other=1");
  const auto parts = plc->Handle(Frame()).parts;
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].bytes, plcframe::CompleteFrame("%02$UR1422"));
  EXPECT_EQ(parts[1].bytes, Good());
}

TEST_F(FaultTest, SplitAndDelay) {
  auto plc = Make("split=2,pause=70,delay=30");
  auto whole = plc->Handle(Frame()).parts;
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].pauseMs, 30);
  auto split = plc->Handle(Frame()).parts;
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0].pauseMs, 30);
  EXPECT_EQ(split[1].pauseMs, 70);
  EXPECT_EQ(split[0].bytes + split[1].bytes, Good());
  EXPECT_FALSE(split[0].bytes.empty());
  EXPECT_FALSE(split[1].bytes.empty());
}

TEST_F(FaultTest, ListErrors) {
  FaultConfig f;
  std::string error;
  EXPECT_FALSE(ParseFaultList("bcc=x", f, error));
  EXPECT_FALSE(ParseFaultList("loud=1", f, error));
  EXPECT_NE(error.find("loud"), std::string::npos);
  EXPECT_FALSE(ParseFaultList("drop", f, error));
  EXPECT_FALSE(f.Any());
  EXPECT_TRUE(ParseFaultList("drop=4,,delay=5", f, error));
  EXPECT_EQ(f.dropEvery, 4);
  EXPECT_EQ(f.delayMs, 5);
}

TEST_F(FaultTest, DownloadAnswerSwitch) {
  FaultConfig f;
  std::string error;
  EXPECT_EQ(f.downloadAnswer, FaultConfig::kDownloadAsUnit);
  for (const char* bad : {"download", "download=", "download=12345", "download=xyz", "download=-1", "download=0x"})
    EXPECT_FALSE(ParseFaultList(bad, f, error)) << bad;
  EXPECT_FALSE(f.Any());
  ASSERT_TRUE(ParseFaultList("download=CCCC", f, error));
  EXPECT_EQ(f.downloadAnswer, 0xCCCC);
  EXPECT_TRUE(f.Any());
  ASSERT_TRUE(ParseFaultList("download=0x1234,drop=2", f, error));
  EXPECT_EQ(f.downloadAnswer, 0x1234);
  ASSERT_TRUE(ParseFaultList("download=none", f, error));
  EXPECT_EQ(f.downloadAnswer, FaultConfig::kDownloadNoAnswer);
}

}  // namespace
