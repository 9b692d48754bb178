// KELD_TavModem --dial against a started KELD_TAVMGR and plcsim's modem
// emulator behind a COM port: the call carries another program's requests,
// the modem's refusals come back as exit code 4, the hang-up waits for
// the other program to let go, and a far end hanging up ends a held call.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>

#include "peer_process.h"
#include "shell_run.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "test_home.h"

using keldtest::PeerProcess;

namespace {

constexpr int kCom = 6;

using Outcome = keldtest::ShellResult;

Outcome Shell(const std::string& command) { return keldtest::RunShell(command); }

class ModemDial : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, kCom).empty());
    ASSERT_EQ(Modem("--add --title Plant --phone 0612345").exitCode, 0);
    ASSERT_EQ(Modem("--add --title Busy --phone 555").exitCode, 0);
    ASSERT_EQ(Modem("--set-port " + std::to_string(kCom) + " --dial-mode tone --init-command ATE1V1").exitCode, 0);
  }
  Outcome Modem(const std::string& args) {
    return Shell(keldtest::BinPath("KELD_TavModem") + " " + args + " --book " + book + " 2>" + dir + "/err");
  }
  std::string Err() { return keldtest::ReadWholeFile(dir + "/err"); }
  std::vector<std::string> DialArgs(const std::string& index) {
    return {"--dial", index, "--port", std::to_string(kCom), "--book", book};
  }

  PeerProcess sim{"plcsim", {"--modem", "--connect-delay", "200", "--busy", "555"}};
  std::string dir = keldtest::FreshDir("dial");
  std::string book = dir + "/book.dat";
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(ModemDial, ConnectHoldAndHangUp) {
  const Outcome r = Modem("--dial 1 --port " + std::to_string(kCom) + " --hold 1");
  EXPECT_EQ(r.exitCode, 0) << Err();
  EXPECT_EQ(r.out, "Initialize for Modem\nATE1V1\nRing up\nATDT0612345\nRing off\n");
  // A refused dial: exit 4 with the library's text and the code.
  const Outcome busy = Modem("--dial 2 --port " + std::to_string(kCom) + " --hold 1");
  EXPECT_EQ(busy.exitCode, 4);
  EXPECT_TRUE(Has(Err(), "(-10060)")) << Err();
  EXPECT_TRUE(Has(busy.out, "ERROR"));
  EXPECT_EQ(Modem("--dial 9").exitCode, 2);
}

TEST_F(ModemDial, AnotherProgramUsesTheCallAndDelaysTheHangUp) {
  const std::string axcfg = keldtest::BinPath("axcfg") + " read-words 0x0004 1 --dest com:" + std::to_string(kCom);
  EXPECT_EQ(Shell(axcfg + " 2>/dev/null").exitCode, 4);  // no call yet: -10066

  PeerProcess dial("KELD_TavModem", DialArgs("1"));
  std::string line;
  for (int i = 0; i < 6 && line != "ATDT0612345"; ++i) line = dial.ReadLine(30000);
  ASSERT_EQ(line, "ATDT0612345");
  // The dial returns after its fixed waits; axcfg then reads through the call.
  Outcome words;
  for (int i = 0; i < 40; ++i) {
    words = Shell(axcfg + " 2>/dev/null");
    if (words.exitCode == 0) break;
    usleep(500000);
  }
  ASSERT_EQ(words.exitCode, 0);
  EXPECT_EQ(words.out, "0x4 0x1422\n");  // the unit's model code, 5154

  // While another program holds the line the hang-up waits for it.
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> other{};
  tavinter::CConnectionRecord r(other.data());
  r.SetName("holder");
  r.SetKind(tavinter::kKindSerial);
  r.SetPort(kCom);
  r.SetTimeout(3);
  ASSERT_EQ(TavOpen(nullptr, other.data()), 0);
  ::kill(dial.Pid(), SIGTERM);
  EXPECT_EQ(dial.ReadLine(10000), "Ring off");
  EXPECT_TRUE(Has(dial.ReadLine(10000), "Waiting for other applications"));
  EXPECT_EQ(dial.Wait(3000), -1);  // still waiting
  EXPECT_EQ(TavClose(other.data()), 0);
  EXPECT_EQ(dial.Wait(60000), 0);
}

TEST_F(ModemDial, FarEndHangingUpEndsTheHeldCall) {
  PeerProcess dial("KELD_TavModem", DialArgs("1"));
  std::string line;
  for (int i = 0; i < 6 && line != "ATDT0612345"; ++i) line = dial.ReadLine(30000);
  ASSERT_EQ(line, "ATDT0612345");
  // The call is up once another program reads through it.
  const std::string axcfg = keldtest::BinPath("axcfg") + " read-words 0x0004 1 --dest com:" + std::to_string(kCom);
  bool up = false;
  for (int i = 0; i < 40 && !up; ++i) {
    up = Shell(axcfg + " 2>/dev/null").exitCode == 0;
    if (!up) usleep(500000);
  }
  ASSERT_TRUE(up);
  // The far end hangs up: the server's tick ends the call, the supervision
  // notices it within its second, and the program ends as after a hang-up.
  ::kill(sim.Pid(), SIGUSR1);
  EXPECT_EQ(dial.ReadLine(10000), "Ring off");
  EXPECT_EQ(dial.Wait(10000), 0) << Err();
}
