// tavrequest against a started KELD_TAVMGR and plcsim's modem emulator behind
// a COM port: a dial, PLC commands through the call and refused without one,
// the modem's result read, the hang-up, a held call another program uses,
// and SIGINT cancelling a dial.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <memory>

#include "peer_process.h"
#include "shell_run.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "test_home.h"

using keldtest::PeerProcess;

namespace {

constexpr int kCom = 7;
const std::string kReadModel = "10,text=%01#UR0000002001";  // slot 0, word 2: the model code

struct Outcome {
  int exitCode = -1;
  std::string out, err;
};

class TavRequestModem : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> simArgs) {
    sim_ = std::make_unique<PeerProcess>("plcsim", simArgs);
    ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(*sim_, kCom).empty());
  }
  Outcome Request(const std::string& args) {
    const std::string err = dir_ + "/err";
    const keldtest::ShellResult r = keldtest::RunShell(keldtest::BinPath("tavrequest") + " --dest com:" +
                                                       std::to_string(kCom) + " " + args + " 2>" + err);
    return {r.exitCode, r.out, keldtest::ReadWholeFile(err)};
  }
  std::vector<std::string> Args(std::vector<std::string> words) {
    std::vector<std::string> a{"--dest", "com:" + std::to_string(kCom)};
    a.insert(a.end(), words.begin(), words.end());
    return a;
  }

  std::unique_ptr<PeerProcess> sim_;
  std::string dir_ = keldtest::FreshDir("tavrequest");
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A second program's connection to the modem line.
struct Client {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  Client() {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName("second");
    r.SetKind(tavinter::kKindModem);
    r.SetPort(kCom);
    r.SetTimeout(3);
    r.SetBaudIndex(3);
    r.SetDataBits(8);
    r.SetStopBits(1);
    r.SetInitCommand("ATE1V1");
  }
  int ReadModel(uint16_t& model) { return TavReadUnitWords(bytes.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model); }
};

}  // namespace

TEST_F(TavRequestModem, DialCommandsThroughTheCallAndHangUp) {
  Start({"--modem", "--connect-delay", "200", "--busy", "555"});
  const Outcome r = Request("--kind 6 --init ATE1V1 --name script " + kReadModel + " 30,text=ATDT555 30,text=ATDT0612345 " +
                        kReadModel + " 35 30,text=ATDT1 31,text=ATZ " + kReadModel + " 35");
  EXPECT_EQ(r.exitCode, 4) << r.err;  // some requests were refused, as they should be
  EXPECT_EQ(r.out,
            "10 -10066 \"\"\n"
            "30 -10060 \"\"\n"
            "30 0 \"\"\n"
            "10 0 \"$UR142202\\r\"\n"  // the answer with its block check code and CR
            "35 0 \"\"\n"
            "30 -10063 \"\"\n"
            "31 0 \"\"\n"
            "10 -10066 \"\"\n"
            "35 0 \"\"\n")
      << r.err;
  EXPECT_TRUE(Has(r.err, "request 30: ")) << r.err;
  EXPECT_TRUE(Has(r.err, "(-10060)")) << r.err;
  EXPECT_TRUE(Has(r.err, "(-10063)")) << r.err;

  // A dial and hang-up alone succeed; numeric results work the same way.
  const Outcome ok = Request("--kind 7 --init ATE0V0 30,text=ATDT0612345 31");
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(ok.out, "30 0 \"\"\n31 0 \"\"\n");
}

TEST_F(TavRequestModem, HeldCallServesAnotherProgramUntilTheLastClose) {
  Start({"--modem", "--connect-delay", "200"});
  PeerProcess held("tavrequest", Args({"--kind", "6", "--init", "ATE1V1", "--hold", "600", "30,text=ATDT0612345"}));
  ASSERT_EQ(held.ReadLine(60000), "30 0 \"\"");
  Client second;
  ASSERT_EQ(TavOpen(nullptr, second.bytes.data()), 0);
  uint16_t model = 0;
  ASSERT_EQ(second.ReadModel(model), 0);
  EXPECT_EQ(model, 5154);
  // SIGTERM ends the hold; the call stays while the second program is open.
  ::kill(held.Pid(), SIGTERM);
  EXPECT_EQ(held.Wait(20000), 0);
  EXPECT_EQ(second.ReadModel(model), 0);
  EXPECT_EQ(TavClose(second.bytes.data()), 0);
  // The last close hung the line up: the next program dials again.
  const Outcome again = Request("--kind 6 --init ATE1V1 " + kReadModel + " 30,text=ATDT0612345 31");
  EXPECT_EQ(again.out, "10 -10066 \"\"\n30 0 \"\"\n31 0 \"\"\n") << again.err;
}

TEST_F(TavRequestModem, SigintCancelsTheDialAndUsageErrorsExitTwo) {
  Start({"--modem", "--connect-delay", "120000"});
  PeerProcess dial("tavrequest", Args({"--kind", "6", "--init", "ATE0V1", "30,text=ATDT0612345", "35"}),
                   dir_ + "/dial-err");
  // Once the dial is under way (its fixed waits take about 8 s), SIGINT cancels it.
  for (int i = 0; i < 600 && !Has(keldtest::ReadWholeFile(dir_ + "/dial-err"), "dialling ATDT0612345"); ++i)
    usleep(50000);
  usleep(1000000);
  ::kill(dial.Pid(), SIGINT);
  EXPECT_EQ(dial.ReadLine(60000), "30 -10054 \"\"");
  EXPECT_EQ(dial.ReadLine(10000), "35 0 \"\"");
  EXPECT_EQ(dial.Wait(20000), 4);
  EXPECT_TRUE(Has(keldtest::ReadWholeFile(dir_ + "/dial-err"), "cancelling the dial"));

  for (const char* bad : {"--kind 6", "--kind 2 30", "--kind 6 1", "--kind 6 30,text=\\\\q", "--kind 6 --hold"}) {
    const Outcome u = Request(bad);
    EXPECT_EQ(u.exitCode, 2) << bad;
    EXPECT_TRUE(Has(u.err, "Usage: tavrequest")) << bad;
    EXPECT_TRUE(u.out.empty()) << bad;
  }
}

TEST_F(TavRequestModem, RequestFiveReportsARingWithTheCallerNumber) {
  Start({"--modem", "--ring-every", "1200", "--caller-id", "0612345678"});
  // Each request 35 waits a second for a result; the modem rings every 1.2 s,
  // and with mode 16 the caller number comes in the same result.
  const Outcome r = Request("--kind 6 --init ATE0V1 35,callerid,mode=16 35,callerid,mode=16 35,callerid,mode=16 "
                            "35,callerid,mode=16 35,callerid,mode=16");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  int rings = 0;
  size_t start = 0;
  for (size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = r.out.substr(start, end - start);
    if (line == "35 0 \"2 0612345678\"") ++rings;
    // A ring that came while the modem was initialised may leave its ID line alone.
    else if (start > 0 || line != "35 0 \"ID 0612345678\"") EXPECT_EQ(line, "35 0 \"\"");
  }
  EXPECT_GE(rings, 1) << r.out;
}
