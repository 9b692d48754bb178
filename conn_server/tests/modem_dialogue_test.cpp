// The modem dialogue against a scripted modem on a fake clock: result
// judging, initialisation, dialling, hang-up and the reads for clients.
#include <gtest/gtest.h>

#include "connsrv/modem_dialogue.h"
#include "connsrv/result_codes.h"
#include "scripted_modem.h"

using namespace connsrv;
using connsrv_test::FakeClock;
using connsrv_test::Reply;
using connsrv_test::ScriptedModem;

TEST(ModemResult, WordsAndNumbersMapToTheirCodes) {
  EXPECT_EQ(ModemCodeText("RING"), "2");
  EXPECT_EQ(ModemCodeText("CONNECT 9600/ARQ"), "10");
  EXPECT_EQ(ModemCodeText("NO CARRIER"), "3");
  EXPECT_EQ(ModemCodeText("ERROR"), "4");
  EXPECT_EQ(ModemCodeText("NO DIALTONE"), "6");
  EXPECT_EQ(ModemCodeText("NO DAILTONE"), "6");
  EXPECT_EQ(ModemCodeText("BUSY"), "7");
  EXPECT_EQ(ModemCodeText("NO ANSWER"), "8");
  EXPECT_EQ(ModemCodeText("abc%%%def"), "10");
  EXPECT_EQ(ModemCodeText("12"), "12");
  EXPECT_EQ(ModemCodeText("OK"), "OK");
  EXPECT_EQ(ModemCodeText("HELLO"), "HELLO");
  // Only real connections count as one; OK, echo and noise do not.
  EXPECT_EQ(ClassifyModemLine("0"), ModemResult::kOk);
  EXPECT_EQ(ClassifyModemLine("00"), ModemResult::kOk);
  EXPECT_EQ(ClassifyModemLine("1"), ModemResult::kConnect);
  EXPECT_EQ(ClassifyModemLine("2"), ModemResult::kRing);
  EXPECT_EQ(ClassifyModemLine("7"), ModemResult::kBusy);
  EXPECT_EQ(ClassifyModemLine("ATDT123"), ModemResult::kOther);
  EXPECT_EQ(ClassifyModemLine("1a"), ModemResult::kOther);
  EXPECT_TRUE(EndsCall(ClassifyModemLine("6")));
  EXPECT_FALSE(EndsCall(ClassifyModemLine("OK")));
}

TEST(ModemResult, CallerNumberAndInitialisationSettings) {
  EXPECT_EQ(CallerNumber("ID 0612345678"), "0612345678");
  EXPECT_EQ(CallerNumber("RING"), "");
  EXPECT_EQ(CallerNumber("ID 01234567890123456789"), "012345678901234");
  EXPECT_EQ(CallerNumber("ID 0123\r\nNEXT 999"), "0123");

  EXPECT_TRUE(NumericModeFor("ATE0V0"));
  EXPECT_TRUE(NumericModeFor("atv0"));
  EXPECT_FALSE(NumericModeFor("ATE0V1"));
  EXPECT_FALSE(NumericModeFor(""));

  EXPECT_EQ(EscapeCharacterFor("ATS2=43"), '+');
  EXPECT_EQ(EscapeCharacterFor("ATs2=42E0"), '*');
  EXPECT_EQ(EscapeCharacterFor("ATS2=200"), '+');
  EXPECT_EQ(EscapeCharacterFor("ATS2=E0"), '+');  // no digits: never NUL
  EXPECT_EQ(EscapeCharacterFor("ATS2=0420"), '*');  // three digits at most
  EXPECT_EQ(EscapeCharacterFor("ATE0"), '+');
}

namespace {

struct Rig {
  FakeClock clock;
  ScriptedModem modem{clock};
  std::vector<bool> dtr;
  CModemDialogue dialogue{modem, clock, nullptr, [this](bool up) { dtr.push_back(up); }};

  int64_t SentAt(const std::string& bytes) const {
    for (const auto& s : modem.sent)
      if (s.bytes == bytes) return s.at;
    return -1;
  }
};

Reply Verbose(const std::string& word) { return {{20, "\r\n" + word + "\r\n"}}; }
Reply Numeric(const std::string& code) { return {{20, code + "\r"}}; }

}  // namespace

TEST(ModemInitialise, WithoutCommandOnlyRaisesDtrAndWaits) {
  Rig r;
  const int64_t t0 = r.clock.now;
  EXPECT_EQ(r.dialogue.Initialise(), kOk);
  EXPECT_EQ(r.dtr, std::vector<bool>{true});
  EXPECT_EQ(r.clock.now - t0, 1000);
  EXPECT_TRUE(r.modem.sent.empty());
  EXPECT_FALSE(r.dialogue.Numeric());
}

TEST(ModemInitialise, NumericAndVerboseAnswersBehindTheEcho) {
  for (bool numeric : {true, false}) {
    Rig r;
    r.modem.echo = true;  // the modem default: the command comes back first
    r.dialogue.SetInitCommand(numeric ? "ATE1V0" : "ATE1V1");
    r.modem.onLine = [&](const std::string&) { return numeric ? Numeric("0") : Verbose("OK"); };
    EXPECT_EQ(r.dialogue.Initialise(), kOk) << numeric;
    EXPECT_EQ(r.dialogue.Numeric(), numeric);
    EXPECT_EQ(r.modem.lines.size(), 1u);
  }
  // An incoming call ringing meanwhile is no answer to the command.
  Rig c;
  c.dialogue.SetInitCommand("ATE0V1");
  c.modem.onLine = [](const std::string&) { return Reply{{10, "\r\nRING\r\n\r\nID 0612345\r\n"}, {10, "\r\nOK\r\n"}}; };
  EXPECT_EQ(c.dialogue.Initialise(), kOk);
}

TEST(ModemInitialise, ErrorFailsAtOnceAndSilenceGetsTheSlowForm) {
  Rig r;
  r.dialogue.SetInitCommand("ATX9");
  r.dialogue.SetAnswerTimeoutMs(3000);
  r.modem.onLine = [](const std::string&) { return Verbose("ERROR"); };
  int64_t t0 = r.clock.now;
  EXPECT_EQ(r.dialogue.Initialise(), kErrModemInit);
  EXPECT_LT(r.clock.now - t0, 1500);  // not the whole time-out
  EXPECT_EQ(r.modem.lines.size(), 1u);

  // A silent modem: the command again, one character every 10 ms, then the limit.
  Rig s;
  s.dialogue.SetInitCommand("ATZ");
  s.dialogue.SetAnswerTimeoutMs(3000);
  int answered = 0;
  s.modem.onLine = [&](const std::string&) { return ++answered == 2 ? Verbose("OK") : Reply{}; };
  EXPECT_EQ(s.dialogue.Initialise(), kOk);
  ASSERT_EQ(s.modem.sent.size(), 5u);  // "ATZ\r", then A, T, Z, CR
  EXPECT_EQ(s.modem.sent[1].bytes, "A");
  EXPECT_EQ(s.modem.sent[2].at - s.modem.sent[1].at, 10);
  EXPECT_EQ(s.modem.sent[4].bytes, "\r");

  // The whole initialisation ends within 10,000 ms even with a long answer time-out.
  Rig q;
  q.dialogue.SetInitCommand("ATZ");
  q.dialogue.SetAnswerTimeoutMs(8000);
  t0 = q.clock.now;
  EXPECT_EQ(q.dialogue.Initialise(), kErrModemInit);
  EXPECT_LE(q.clock.now - t0, 10100);
}

TEST(ModemDial, ConnectsAfterTheFixedWaits) {
  Rig r;
  r.modem.echo = true;
  r.dialogue.SetInitCommand("ATE1V1");
  r.modem.onLine = [](const std::string& l) {
    if (l.rfind("ATD", 0) == 0) return Reply{{7000, "\r\nRING\r\n"}, {1500, "\r\nCONNECT 9600\r\n"}};
    return Verbose("OK");
  };
  EXPECT_EQ(r.dialogue.Dial("ATDT0612345", 60, nullptr), kOk);
  ASSERT_EQ(r.modem.lines.size(), 3u);
  const int64_t init1 = r.modem.sent[0].at, init2 = r.SentAt("ATE1V1\r") == init1 ? r.modem.sent[1].at : -1;
  EXPECT_GE(init2 - init1, 1000);
  const int64_t dial = r.SentAt("ATDT0612345\r");
  EXPECT_GE(dial - init2, 1000);
  EXPECT_EQ(r.dialogue.ReaderMode(), kModemReadOk);
  EXPECT_FALSE(r.dialogue.Numeric());
}

TEST(ModemDial, FailuresOfTheModemEndTheDial) {
  struct Case {
    std::string init, answer;
    int expected;
  };
  for (const Case& c : {Case{"ATV1", "\r\nBUSY\r\n", kErrDialFailed}, Case{"ATV1", "\r\nNO DIALTONE\r\n", kErrDialFailed},
                        Case{"ATV1", "\r\nNO ANSWER\r\n", kErrDialFailed}, Case{"ATV0", "7\r", kErrDialFailed},
                        Case{"ATV0", "0\r", kErrDialFailed}, Case{"ATV0", "2\r1\r", kOk},
                        Case{"ATV0", "5\r", kOk}}) {
    Rig r;
    r.dialogue.SetInitCommand(c.init);
    const bool numeric = c.init == "ATV0";
    r.modem.onLine = [&](const std::string& l) {
      if (l.rfind("ATD", 0) == 0) return Reply{{6000, c.answer}};
      return numeric ? Numeric("0") : Verbose("OK");
    };
    EXPECT_EQ(r.dialogue.Dial("ATDT1", 60, nullptr), c.expected) << c.init << " " << c.answer;
    EXPECT_EQ(r.dialogue.Numeric(), numeric);
    // A modem that gave a final answer is not disturbed by a stopping CR.
    EXPECT_EQ(r.SentAt("\r"), -1) << c.answer;
  }
}

TEST(ModemDial, LimitCancelAndNoiseStopTheModemAndDropALateConnect) {
  // The dial limit, counted from the dial: a CR stops the modem, and a
  // CONNECT arriving just then is hung up rather than left without owner.
  Rig r;
  r.modem.onLine = [](const std::string& l) {
    if (l.rfind("ATD", 0) == 0) return Reply{};
    if (l.empty()) return Reply{{300, "\r\nCONNECT 2400\r\n"}};
    if (l == "ESC" || l == "ATH0") return Verbose("OK");
    return Verbose("OK");
  };
  const int64_t t0 = r.clock.now;
  EXPECT_EQ(r.dialogue.Dial("ATDT9", 10, nullptr), kErrDialFailed);
  const int64_t dial = r.SentAt("ATDT9\r");
  const int64_t cr = r.SentAt("\r");
  EXPECT_GE(cr - dial, 10000);
  EXPECT_LE(cr - dial, 12000);
  EXPECT_NE(r.SentAt("ATH0\r"), -1);
  EXPECT_GT(r.clock.now, t0);

  // Cancel: one CR, -10054.
  Rig c;
  c.modem.onLine = [](const std::string& l) { return l.rfind("ATD", 0) == 0 ? Reply{} : Verbose("OK"); };
  int polls = 0;
  EXPECT_EQ(c.dialogue.Dial("ATDT9", 60, [&] { return ++polls == 3; }), kErrDialCancelled);
  EXPECT_NE(c.SentAt("\r"), -1);
  EXPECT_EQ(c.SentAt("ATH0\r"), -1);

  // Noise instead of a result fails the dial and stops the modem too.
  Rig n;
  n.modem.onLine = [](const std::string& l) { return l.rfind("ATD", 0) == 0 ? Reply{{5500, "zzz\r"}} : Reply{}; };
  EXPECT_EQ(n.dialogue.Dial("ATDT9", 60, nullptr), kErrDialFailed);
  EXPECT_NE(n.SentAt("\r"), -1);
}

TEST(ModemDial, InitialisationFailureBeforeTheDial) {
  Rig r;
  r.dialogue.SetInitCommand("ATZ");
  r.modem.onLine = [](const std::string&) { return Verbose("ERROR"); };
  EXPECT_EQ(r.dialogue.Dial("ATDT1", 60, nullptr), kErrDialFailed);
  EXPECT_EQ(r.SentAt("ATDT1\r"), -1);
}

TEST(ModemHangUp, EscapeGuardTimesAndResults) {
  Rig r;
  r.dialogue.SetInitCommand("ATS2=42");
  r.modem.escape = '*';
  r.modem.onLine = [](const std::string&) { return Verbose("OK"); };
  const int64_t t0 = r.clock.now;
  EXPECT_EQ(r.dialogue.HangUp("ATZ"), kOk);
  ASSERT_GE(r.modem.sent.size(), 5u);
  EXPECT_EQ(r.modem.sent[0].bytes, "*");
  EXPECT_EQ(r.modem.sent[0].at - t0, 1000);
  EXPECT_EQ(r.modem.sent[1].at - r.modem.sent[0].at, 100);
  EXPECT_EQ(r.modem.sent[2].at - r.modem.sent[1].at, 100);
  EXPECT_GE(r.SentAt("ATH0\r") - r.modem.sent[2].at, 1000);
  EXPECT_NE(r.SentAt("ATZ\r"), -1);

  // Escape not acknowledged: -10062, and "ATH0" is still tried.
  Rig e;
  e.modem.onLine = [](const std::string& l) { return l == "ESC" ? Reply{} : Verbose("OK"); };
  EXPECT_EQ(e.dialogue.HangUp(""), kErrHangUpEscape);
  EXPECT_NE(e.SentAt("ATH0\r"), -1);

  // The closing command refused: -10067.
  Rig c;
  c.dialogue.SetInitCommand("ATV0");
  c.modem.onLine = [](const std::string& l) { return l == "AT&F" ? Numeric("4") : Numeric("0"); };
  EXPECT_EQ(c.dialogue.HangUp("AT&F"), kErrHangUpClosing);
}

TEST(ModemClientResult, RingWithCallerNumberAndFailureCodes) {
  Rig r;
  r.modem.Push(100, "\r\nRING\r\n");
  r.modem.Push(2000, "\r\nID 0612345678\r\n");
  ModemClientResult res = r.dialogue.ReadClientResult(1000, true, true);
  EXPECT_TRUE(res.anything);
  EXPECT_EQ(res.codeText, "2");
  EXPECT_EQ(res.callerNumber, "0612345678");

  Rig n;
  n.modem.Push(10, "6\r");
  res = n.dialogue.ReadClientResult(1000, false, false);
  EXPECT_EQ(res.codeText, "6");
  EXPECT_TRUE(EndsCall(res.result));

  Rig q;
  res = q.dialogue.ReadClientResult(500, false, false);
  EXPECT_FALSE(res.anything);
}
