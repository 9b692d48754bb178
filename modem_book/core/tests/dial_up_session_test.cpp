// Connecting and hanging up with a recording library and a scripted clock:
// the order of the library calls, the status lines, refusals and failures,
// and the wait for other programs before the hang-up.
#include <gtest/gtest.h>

#include <map>

#include "modem_book/dial_up_session.h"
#include "modem_book/modem_strings.h"
#include "fake_dial_library.h"
#include "tavinter/connection_record.h"

using namespace modembook;

namespace {

CPhoneBookEntry Entry(const std::string& phone) {
  CPhoneBookEntry e;
  e.SetTitle("Plant 3");
  e.SetPhone(phone);
  e.SetBaudIndex(5);
  e.SetDataLength(1);
  e.SetParity(2);
  e.SetStopBits(1);
  return e;
}

CPortModemSettings ToneSettings() {
  CPortModemSettings s;
  s.dialMode = kDialTone;
  s.initCommand = "ATE0V1";
  s.plcTimeout = 12;
  s.lineTimeout = 45;
  return s;
}

struct SessionTest : ::testing::Test {
  void SetUp() override { RegisterModemStrings(); }
  FakeDialLibrary lib;
  FakeSessionClock clock;
  CDialUpSession session{lib, clock};
  std::vector<std::string> printed;
  DialOutcome Connect(const std::string& phone, bool* wroteBack = nullptr) {
    session.onStatus = [this](const std::string& l) { printed.push_back(l); };
    return session.Connect(Entry(phone), 4, ToneSettings(), true, 21, [wroteBack] {
      if (wroteBack) *wroteBack = true;
    });
  }
};

}  // namespace

TEST_F(SessionTest, ConnectFillsTheRecordAndDialsThePrefixedNumber) {
  bool wroteBack = false;
  const DialOutcome o = Connect("0612345678", &wroteBack);
  EXPECT_EQ(o.kind, DialOutcome::kDone);
  EXPECT_TRUE(session.Connected());
  EXPECT_TRUE(wroteBack);
  EXPECT_EQ(lib.calls, (std::vector<std::string>{"read 504", "language en", "product 21", "initialise",
                                                 "dial ATDT0612345678"}));
  tavinter::CConnectionRecord r(lib.initialised.data());
  EXPECT_EQ(r.Name(), "KELD_TavModem 4");
  EXPECT_EQ(r.Kind(), tavinter::kKindModem);
  EXPECT_EQ(r.Port(), 4);
  EXPECT_EQ(r.Timeout(), 12);
  EXPECT_EQ(r.BaudIndex(), 5);
  EXPECT_EQ(r.DataBits(), 7);
  EXPECT_EQ(r.Parity(), 2);
  EXPECT_EQ(r.StopBits(), 2);
  EXPECT_EQ(r.InitCommand(), "ATE0V1");
  EXPECT_EQ(r.LineTimeout(), 45);
  EXPECT_EQ(printed, (std::vector<std::string>{"Initialize for Modem", "ATE0V1", "Ring up", "ATDT0612345678"}));
  // The cancel of a dial goes to the library with the port and the open handle.
  session.CancelDial();
  EXPECT_EQ(lib.calls.back(), "cancel 4 7");
}

TEST_F(SessionTest, UnusableEntriesAreRefusedBeforeAnythingIsSent) {
  EXPECT_EQ(Connect("").message, ModemText(kIdsNoPhoneNumber));
  CPhoneBookEntry controls = Entry("123");
  auto raw = controls.Raw();
  raw[42 + 1] = '\x01';  // a control character inside the stored number
  EXPECT_EQ(session.Connect(CPhoneBookEntry::FromBytes(raw.data()), 4, ToneSettings(), true, 21, nullptr).message,
            ModemText(kIdsPhoneUnusable));
  CPhoneBookEntry badParity = Entry("123");
  badParity.SetParity(3);
  EXPECT_EQ(session.Connect(badParity, 4, ToneSettings(), true, 21, nullptr).message,
            ModemText(kIdsLineSettingsUnusable));
  CPortModemSettings longInit = ToneSettings();
  longInit.initCommand = std::string(40, 'A');
  EXPECT_EQ(session.Connect(Entry("123"), 4, longInit, true, 21, nullptr).message, ModemText(kIdsCommandUnusable));
  EXPECT_TRUE(lib.calls.empty());
  EXPECT_FALSE(session.Connected());
}

TEST_F(SessionTest, FailuresLogCancelOrErrorAndCloseAfterAFailedDial) {
  lib.results["dial"] = -10054;
  DialOutcome o = Connect("123");
  EXPECT_EQ(o.kind, DialOutcome::kFailed);
  EXPECT_EQ(o.message, "text -10054");
  EXPECT_EQ(session.StatusLines().back(), "Cancel");
  EXPECT_EQ(lib.calls.back(), "close");

  lib.calls.clear();
  lib.results["dial"] = -10060;
  o = Connect("123");
  EXPECT_EQ(session.StatusLines().back(), "ERROR");
  EXPECT_EQ(o.code, -10060);

  // A failed initialisation opened nothing: nothing to close.
  lib.calls.clear();
  lib.results["initialise"] = -10068;
  o = Connect("123");
  EXPECT_EQ(o.code, -10068);
  EXPECT_EQ(lib.calls.back(), "initialise");
  EXPECT_FALSE(session.Connected());
}

TEST_F(SessionTest, TheStatusListKeepsTheLastHundredLines) {
  for (int i = 0; i < 100; ++i) session.AddStatus("line " + std::to_string(i));
  EXPECT_EQ(session.StatusLines().front(), "line 0");
  session.AddStatus("line 100");
  EXPECT_EQ(session.StatusLines().size(), 100u);
  EXPECT_EQ(session.StatusLines().front(), "line 1");
  EXPECT_EQ(session.StatusLines().back(), "line 100");
}

TEST_F(SessionTest, HangUpWaitsForOthersAndOffersTheForceAfterFiveMinutes) {
  ASSERT_EQ(Connect("123").kind, DialOutcome::kDone);
  EXPECT_FALSE(session.LineLost());
  lib.pollsUntilReleased = 1000;
  session.BeginHangUp();
  EXPECT_EQ(session.StatusLines().back(), "ATZ");  // the second command follows "Ring off"
  EXPECT_TRUE(session.WaitingForOthers());
  for (int s = 1; s < 300; ++s) {
    clock.now = s * 1000;
    EXPECT_FALSE(session.HangUpStep());
  }
  clock.now = 299000;
  EXPECT_FALSE(session.ForceOffered());
  clock.now = 300000;
  EXPECT_TRUE(session.ForceOffered());
  session.Force();
  EXPECT_EQ(lib.calls.back(), "force");
  EXPECT_TRUE(session.HangUpStep());
  EXPECT_FALSE(session.Connected());
  EXPECT_EQ(lib.calls, (std::vector<std::string>{"read 504", "language en", "product 21", "initialise",
                                                 "dial ATDT123", "others?", "force", "hangup KELD_TavModem 4",
                                                 "done", "close"}));
  EXPECT_EQ(session.HangUpOutcome().kind, DialOutcome::kDone);
}

TEST_F(SessionTest, HangUpErrorIsShownAndTheSessionStillEndsIdle) {
  ASSERT_EQ(Connect("123").kind, DialOutcome::kDone);
  lib.results["line"] = 1;
  EXPECT_TRUE(session.LineLost());
  lib.results["hangup"] = -10062;
  session.BeginHangUp();
  EXPECT_FALSE(session.WaitingForOthers());
  EXPECT_TRUE(session.HangUpStep());
  EXPECT_EQ(session.HangUpOutcome().code, -10062);
  EXPECT_EQ(session.StatusLines().back(), "ERROR");
  EXPECT_FALSE(session.Connected());
  EXPECT_EQ(lib.calls.back(), "close");
}

TEST_F(SessionTest, AHangUpAfterTheRemoteEndHungUpIsNoError) {
  ASSERT_EQ(Connect("123").kind, DialOutcome::kDone);
  lib.results["hangup"] = -10064;
  session.BeginHangUp();
  EXPECT_TRUE(session.HangUpStep());
  EXPECT_EQ(session.HangUpOutcome().kind, DialOutcome::kDone);
  EXPECT_FALSE(session.Connected());
}
