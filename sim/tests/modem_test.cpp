// The modem emulator in front of the PLC, driven on a hand-held clock.
#include <gtest/gtest.h>

#include "plcframe/frame_codec.h"
#include "sim/modem_emulator.h"
#include "sim/sim_plc.h"

namespace {

using namespace sim;

class ModemTest : public ::testing::Test {
 protected:
  ModemTest() {
    config.connectDelayMs = 800;
    config.busyNumbers = {"03-555-0100"};
    config.noAnswerNumbers = {"0355500200"};
  }
  CModemEmulator& Modem() {
    if (!modem)
      modem = std::make_unique<CModemEmulator>(config, clock, [this](std::string_view f) { return plc.Handle(f).parts; });
    return *modem;
  }
  // Types text; returns the modem's immediate output.
  std::string Type(const std::string& text) {
    std::string out;
    for (const auto& part : Modem().Receive(text)) out += part.bytes;
    return out;
  }
  // Lets time pass in small steps, collecting what the modem reports.
  std::string WaitFor(int ms) {
    std::string out;
    for (int t = 0; t < ms; t += 10) {
      clock.Advance(10);
      out += Modem().Poll();
    }
    return out;
  }
  std::string Connect() {
    Type("ATE0\r");
    Type("ATD 123\r");
    return WaitFor(1000);
  }

  CManualClock clock;
  PlcConfig plcConfig;
  CSimPlc plc{plcConfig, clock};
  ModemConfig config;
  std::unique_ptr<CModemEmulator> modem;
};

TEST_F(ModemTest, CommandsAnswerOkOrError) {
  EXPECT_EQ(Type("AT\r"), "AT\r\r\nOK\r\n");  // echo on by default
  EXPECT_EQ(Type("ATE0\r"), "ATE0\r\r\nOK\r\n");
  EXPECT_EQ(Type("at&fe0 q0 x4 s0=0\r"), "\r\nOK\r\n");
  EXPECT_EQ(Type("ATY\r"), "\r\nERROR\r\n");
  EXPECT_EQ(Type("ATE2\r"), "\r\nERROR\r\n");
  EXPECT_EQ(Type("ATS300=1\r"), "\r\nERROR\r\n");
  EXPECT_EQ(Type("ATS7=45S7?\r"), "\r\n045\r\n\r\nOK\r\n");
  EXPECT_EQ(Type("hello\r"), "");  // not a command line
  EXPECT_EQ(Type("ATX\x08" "E0\r"), "\r\nOK\r\n");  // backspace edits the line
  EXPECT_EQ(Type("ATO\r"), "\r\nERROR\r\n");  // nothing to go back to
  EXPECT_FALSE(Modem().Connected());
}

TEST_F(ModemTest, NumericResultMode) {
  EXPECT_EQ(Type("ATE0V0\r"), "ATE0V0\r0\r");
  EXPECT_EQ(Type("ATQ\r"), "0\r");
  EXPECT_EQ(Type("ATX1?\r"), "4\r");
  EXPECT_EQ(Type("ATD5550100\r"), "");
  EXPECT_EQ(WaitFor(1000), "1\r");  // CONNECT
}

TEST_F(ModemTest, DialConnectsAfterTheDelayAndCarriesFrames) {
  Type("ATE0\r");
  EXPECT_EQ(Type("ATDT 0-123\r"), "");
  EXPECT_EQ(WaitFor(700), "");
  EXPECT_EQ(WaitFor(200), "\r\nCONNECT\r\n");
  EXPECT_TRUE(Modem().Online());
  const std::string frame = plcframe::CompleteFrame("%01#UR0000002001");
  // a frame may arrive in pieces
  EXPECT_EQ(Type(frame.substr(0, 5)), "");
  EXPECT_EQ(Type(frame.substr(5)), plcframe::CompleteFrame("%01$UR1422"));
  // "AT" on line is data, not a command
  EXPECT_EQ(Type("AT\r"), "");
}

TEST_F(ModemTest, BusyAndNoAnswer) {
  Type("ATE0\r");
  Type("ATD035550100\r");
  EXPECT_EQ(WaitFor(1000), "\r\nBUSY\r\n");
  EXPECT_FALSE(Modem().Connected());
  Type("ATD03 555 00200\r");
  EXPECT_EQ(WaitFor(1000), "\r\nNO ANSWER\r\n");
  // a character while dialling aborts the dial
  Type("ATD42\r");
  EXPECT_EQ(Type("\r"), "\r\nNO CARRIER\r\n");
  EXPECT_EQ(WaitFor(1000), "");
  EXPECT_FALSE(Modem().Connected());
  EXPECT_EQ(Type("ATD\r"), "\r\nERROR\r\n");
}

TEST_F(ModemTest, EscapeNeedsGuardTimeThenHangUp) {
  ASSERT_EQ(Connect(), "\r\nCONNECT\r\n");
  // "+++" right after data is data
  Type("x");
  Type("+++");
  EXPECT_EQ(WaitFor(1500), "");
  EXPECT_TRUE(Modem().Online());
  // with a second of silence before and after: command mode, still connected
  Type("+");
  WaitFor(100);
  Type("+");
  WaitFor(100);
  Type("+");
  EXPECT_EQ(WaitFor(1100), "\r\nOK\r\n");
  EXPECT_FALSE(Modem().Online());
  EXPECT_TRUE(Modem().Connected());
  EXPECT_EQ(Type("ATD1\r"), "\r\nERROR\r\n");  // a call is up
  EXPECT_EQ(Type("ATO\r"), "\r\nCONNECT\r\n");
  EXPECT_TRUE(Modem().Online());
  WaitFor(1100);
  Type("+++");
  EXPECT_EQ(WaitFor(1100), "\r\nOK\r\n");
  EXPECT_EQ(Type("ATH0\r"), "\r\nOK\r\n");
  EXPECT_FALSE(Modem().Connected());
}

TEST_F(ModemTest, DataAfterTheEscapeCancelsIt) {
  Connect();
  WaitFor(1100);
  Type("+++");
  WaitFor(300);
  Type("%");
  EXPECT_EQ(WaitFor(1500), "");
  EXPECT_TRUE(Modem().Online());
}

TEST_F(ModemTest, EscapeCharacterFromS2) {
  Type("ATE0S2=35\r");  // '#'
  ASSERT_EQ(WaitFor(0), "");
  Type("ATD 7\r");
  ASSERT_EQ(WaitFor(1000), "\r\nCONNECT\r\n");
  WaitFor(1100);
  Type("+++");
  EXPECT_EQ(WaitFor(1100), "");
  WaitFor(1100);
  Type("###");
  EXPECT_EQ(WaitFor(1100), "\r\nOK\r\n");
  // 128 and above switch the escape off
  Type("ATS2=200O\r");
  WaitFor(1100);
  Type("###");
  Type("+++");
  EXPECT_EQ(WaitFor(1100), "");
}

TEST_F(ModemTest, FarEndHangsUpAfterItsTimeOrWhenAsked) {
  config.carrierLossAfterMs = 3000;
  ASSERT_EQ(Connect(), "\r\nCONNECT\r\n");  // 200 ms ago
  EXPECT_EQ(WaitFor(2700), "");
  EXPECT_EQ(Modem().NextDeadline(), clock.NowMs() + 100);
  EXPECT_EQ(WaitFor(200), "\r\nNO CARRIER\r\n");
  EXPECT_FALSE(Modem().Connected());
  // back in command mode: commands are answered, nothing to go back on line to
  EXPECT_EQ(Type("ATO\r"), "\r\nERROR\r\n");
  EXPECT_EQ(Modem().DropCarrier(), "");
  // also a call held in command mode after the escape is dropped
  Type("ATD1\r");
  ASSERT_EQ(WaitFor(1000), "\r\nCONNECT\r\n");
  WaitFor(1100);
  Type("+++");
  EXPECT_EQ(WaitFor(1100), "\r\nOK\r\n");
  EXPECT_EQ(Modem().DropCarrier(), "\r\nNO CARRIER\r\n");
  EXPECT_FALSE(Modem().Connected());
  EXPECT_EQ(WaitFor(3000), "");  // the dropped call's time has no effect
  // numeric results: 3
  Type("ATV0D1\r");
  ASSERT_EQ(WaitFor(1000), "1\r");
  EXPECT_EQ(Modem().DropCarrier(), "3\r");
}

TEST_F(ModemTest, NoDialtone) {
  config.noDialtone = true;
  Type("ATE0\r");
  Type("ATD0612345\r");
  EXPECT_EQ(WaitFor(1000), "\r\nNO DIALTONE\r\n");
  EXPECT_FALSE(Modem().Connected());
  Type("ATV0D0612345\r");
  EXPECT_EQ(WaitFor(1000), "6\r");
}

TEST_F(ModemTest, IncomingCallRingsWithCallerNumberAndIsAnswered) {
  config.ringEveryMs = 1000;
  config.callerId = "0612345";
  config.carrierLossAfterMs = 5000;
  EXPECT_EQ(Type("ATA\r"), "ATA\r\r\nNO CARRIER\r\n");  // nothing rings yet
  EXPECT_EQ(WaitFor(1000), "\r\nRING\r\n\r\nID 0612345\r\n");
  EXPECT_EQ(Type("ATE0V0\r"), "ATE0V0\r0\r");
  EXPECT_EQ(WaitFor(1000), "2\rID 0612345\r");
  // ATA answers the ringing call after the connect delay; no rings during it
  EXPECT_EQ(Type("ATA\r"), "");
  EXPECT_EQ(WaitFor(800), "1\r");
  EXPECT_TRUE(Modem().Online());
  EXPECT_EQ(WaitFor(4000), "");
  // the caller hangs up; S0=2: the next call is answered by the modem
  // itself on its second ring
  EXPECT_EQ(WaitFor(1000), "3\r");
  EXPECT_EQ(Type("ATS0=2\r"), "0\r");
  EXPECT_EQ(WaitFor(1000), "2\rID 0612345\r");
  EXPECT_FALSE(Modem().Connected());
  EXPECT_EQ(WaitFor(1000), "2\rID 0612345\r");
  EXPECT_EQ(WaitFor(800), "1\r");
  EXPECT_TRUE(Modem().Online());
}

TEST_F(ModemTest, LogOfCommandLinesResultsAndEscape) {
  std::vector<std::string> log;
  Modem().SetLog([&log](const std::string& line) { log.push_back(line); });
  Connect();
  WaitFor(1100);
  Type("+++");
  WaitFor(1100);
  Type("ATQ1H0\r");
  const std::vector<std::string> expected{"line \"ATE0\"", "result OK", "line \"ATD 123\"", "result CONNECT",
                                          "escape +++: command mode, call kept", "result OK",
                                          "line \"ATQ1H0\"", "result OK (quiet)"};
  EXPECT_EQ(log, expected);
}

}  // namespace
