// The unit's request handshakes: download take-over and the write to FROM.
#include "unit_fixture.h"

namespace {

using namespace sim;
using simtest::UnitFixture;

class HandshakeTest : public UnitFixture {
 protected:
  // Polls the handshake word as the tool does, until it leaves `from`.
  uint16_t Await(uint16_t from, int limitMs = 5000, int* waited = nullptr) {
    int t = 0;
    uint16_t v = C().Word(addr::kHandshake);
    while (v == from && t < limitMs) {
      Wait(10);
      t += 10;
      v = C().Word(addr::kHandshake);
    }
    if (waited) *waited = t;
    return v;
  }
};

TEST_F(HandshakeTest, DownloadAcceptsAValidLayout) {
  // group A = axes 1 and 2, group B = axes 3, 4, 5, independent axes 6 and 8
  C().Write(addr::kLayout, {0x03, 0x1C, 0, 0, 0xA0});
  C().SetWord(addr::kHandshake, 0x1111);
  EXPECT_EQ(C().Word(addr::kHandshake), 0x1111);  // not at once
  EXPECT_EQ(Await(0x1111), 0x2222);
}

TEST_F(HandshakeTest, DownloadRefusesInvalidLayouts) {
  const std::vector<std::vector<uint16_t>> bad = {
      {0x0F, 0, 0, 0, 0},     // a group of four axes
      {0x03, 0x06, 0, 0, 0},  // axis 2 in two groups
      {0x01, 0, 0, 0, 0x01},  // axis 1 in a group and independent
      {0, 0, 0, 0, 0},        // no axis at all
  };
  for (const auto& layout : bad) {
    C().Write(addr::kLayout, layout);
    C().SetWord(addr::kHandshake, 0x1111);
    EXPECT_EQ(Await(0x1111), 0xCCCC) << layout[0] << " " << layout[1] << " " << layout[4];
    C().SetWord(addr::kHandshake, 0);
  }
}

class FourAxisUnit : public UnitFixture {
 protected:
  static PlcConfig Config() {
    PlcConfig c;
    c.unit.model = 5153;
    return c;
  }
  FourAxisUnit() : UnitFixture(Config()) {}
};

TEST_F(FourAxisUnit, DownloadRefusesAxesTheModelDoesNotHave) {
  EXPECT_EQ(C().Word(addr::kModelCode), 5153);
  EXPECT_EQ(C().Word(addr::kStatusConnect) & 0xFF00, 0xF000);  // axes 1-4 connected (active low)
  C().Write(addr::kLayout, {0, 0, 0, 0, 0x10});
  C().SetWord(addr::kHandshake, 0x1111);
  int t = 0;
  while (C().Word(addr::kHandshake) == 0x1111 && t < 1000) {
    Wait(10);
    t += 10;
  }
  EXPECT_EQ(C().Word(addr::kHandshake), 0xCCCC);
}

// A unit switched to a fixed download answer gives it whatever was written,
// or never answers; the FROM handshake is not affected.
class DownloadFaultUnit : public UnitFixture {
 protected:
  static PlcConfig Config(int answer) {
    PlcConfig c;
    c.faults.downloadAnswer = answer;
    return c;
  }
  explicit DownloadFaultUnit(int answer) : UnitFixture(Config(answer)) {}
};

struct FixedAnswerUnit : DownloadFaultUnit {
  FixedAnswerUnit() : DownloadFaultUnit(0x1234) {}
};
struct SilentUnit : DownloadFaultUnit {
  SilentUnit() : DownloadFaultUnit(FaultConfig::kDownloadNoAnswer) {}
};

TEST_F(FixedAnswerUnit, AnswersTheDownloadWithTheGivenWord) {
  C().Write(addr::kLayout, {0x03, 0, 0, 0, 0});
  C().SetWord(addr::kHandshake, 0x1111);
  int t = 0;
  while (C().Word(addr::kHandshake) == 0x1111 && t < 1000) {
    Wait(10);
    t += 10;
  }
  EXPECT_EQ(C().Word(addr::kHandshake), 0x1234);
}

TEST_F(SilentUnit, NeverAnswersTheDownloadButStillWritesFrom) {
  C().Write(addr::kLayout, {0x03, 0, 0, 0, 0});
  C().SetWord(addr::kHandshake, 0x1111);
  Wait(5000);
  EXPECT_EQ(C().Word(addr::kHandshake), 0x1111);
  C().SetWord(addr::kHandshake, 0x5555);
  for (int t = 0; C().Word(addr::kHandshake) == 0x5555 && t < 1000; t += 10) Wait(10);
  EXPECT_EQ(C().Word(addr::kHandshake), 0x6666);
}

TEST_F(HandshakeTest, FromWriteRunsAboutASecondThenCountsAndClears) {
  const uint16_t before = C().Word(addr::kFromWriteCount);
  EXPECT_TRUE(C().Word(addr::kStatusConnect) & 0x0008);  // no FROM write running
  C().SetWord(addr::kHandshake, 0x5555);
  EXPECT_EQ(Await(0x5555), 0x6666);
  C().SetWord(addr::kHandshake, 0xAAAA);
  Wait(20);
  EXPECT_FALSE(C().Word(addr::kStatusConnect) & 0x0008);  // status bit held while writing
  // the word belongs to the unit while it writes
  C().SetWord(addr::kHandshake, 0);
  EXPECT_EQ(C().Word(addr::kHandshake), 0xAAAA);
  int waited = 0;
  EXPECT_EQ(Await(0xAAAA, 5000, &waited), 0);
  EXPECT_GE(waited, 800);
  EXPECT_LE(waited, 1200);
  EXPECT_TRUE(C().Word(addr::kStatusConnect) & 0x0008);
  EXPECT_EQ(C().Word(addr::kFromWriteCount), before + 1);
}

TEST_F(HandshakeTest, ConfirmationWithoutAcknowledgementFails) {
  C().SetWord(addr::kHandshake, 0xAAAA);
  EXPECT_EQ(Await(0xAAAA), 0xCCCC);
  EXPECT_TRUE(C().Word(addr::kStatusConnect) & 0x0008);
  EXPECT_EQ(C().Word(addr::kFromWriteCount), 0);
}

TEST_F(HandshakeTest, ClearedRequestIsNotAnswered) {
  C().SetWord(addr::kHandshake, 0x5555);
  C().SetWord(addr::kHandshake, 0);
  Wait(500);
  EXPECT_EQ(C().Word(addr::kHandshake), 0);
}

}  // namespace
