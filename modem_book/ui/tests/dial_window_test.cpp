// The window's dial-up offscreen with a recording library and a scripted
// clock: the progress, confirmation and hang-up windows in order, the
// controls locked while connected, the status list, a failed dial's message,
// and the forced hang-up offered after five minutes of waiting for others.
#include <gtest/gtest.h>

#include <atomic>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include "fake_dial_library.h"
#include "message_box_recorder.h"
#include "modem_book/modem_strings.h"
#include "modem_frame.h"
#include "modem_ui.h"
#include "raise_window.h"
#include "tel_connect_view.h"
#include "test_home.h"
#include "window_dial_up.h"

using namespace modembook;

namespace {

struct DialWindow : ::testing::Test {
  void SetUp() override {
    RegisterModemStrings();
    doc.SetPath(keldtest::FreshDir("dialwin") + "/book.dat");
    ASSERT_EQ(doc.Load(), 0);
    doc.SetReadOnly(true);  // nothing is written back to the library here
    CPhoneBookEntry e;
    e.SetTitle("Plant 3");
    e.SetPhone("0612345");
    doc.Add(e);
    CPortModemSettings s = doc.Port(2);
    s.dialMode = kDialTone;
    s.initCommand = "ATE0V1";
    doc.SetPort(2, s);
    dialUp.SetWindow(&frame);
    dialUp.showStatus = [this](const std::deque<std::string>& l) { frame.View()->ShowStatus(l); };
    dialUp.connectedChanged = [this](bool c) {
      frame.View()->SetConnected(c);
      frame.UpdateCommands();
    };
    dialUp.runDialog = [this](QDialog& d) {
      shown.push_back(d.objectName().toInt());
      if (onDialog) return onDialog(d);
      return 1;
    };
    frame.View()->InitialUpdate();
  }
  FakeDialLibrary lib;
  FakeSessionClock clock;
  CTelConnectDoc doc;
  CWindowDialUp dialUp{doc, lib, clock, true, 21};
  CModemFrame frame{doc, &dialUp, std::string(), true};
  std::vector<int> shown;
  std::function<int(QDialog&)> onDialog;
  keldtest::MessageBoxRecorder boxes;

  QString Status() const {
    auto* list = FindControl<QListWidget>(frame.View(), kIdStatusList);
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines.join("|");
  }
};

}  // namespace

TEST_F(DialWindow, ConnectLocksTheFormAndDisconnectFreesIt) {
  dialUp.Connect(doc.Entries()[0], 2);
  ASSERT_TRUE(dialUp.Connected());
  EXPECT_EQ(shown, (std::vector<int>{kDialProgressWindow, kConnectedWindow}));
  EXPECT_EQ(Status(), "Initialize for Modem|ATE0V1|Ring up|ATDT0612345");
  EXPECT_EQ(FindControl<QListWidget>(frame.View(), kIdStatusList)->currentRow(), 3);
  EXPECT_EQ(frame.windowTitle(), "Modem Connection Plant 3");
  EXPECT_FALSE(FindControl<QComboBox>(frame.View(), kIdPortList)->isEnabled());
  EXPECT_FALSE(FindControl<QTreeWidget>(frame.View(), kIdBookList)->isEnabled());
  EXPECT_FALSE(frame.Action(20000)->isEnabled());
  EXPECT_TRUE(frame.Action(20010)->isEnabled());

  frame.Action(20010)->trigger();
  EXPECT_FALSE(dialUp.Connected());
  EXPECT_EQ(shown.back(), kHangUpWindow);
  EXPECT_TRUE(Status().endsWith("Ring off|ATZ"));
  EXPECT_TRUE(FindControl<QComboBox>(frame.View(), kIdPortList)->isEnabled());
  EXPECT_TRUE(frame.Action(20000)->isEnabled());
  EXPECT_FALSE(frame.Action(20010)->isEnabled());
  EXPECT_EQ(frame.windowTitle(), "Modem Connection");
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DialWindow, AFailedDialShowsTheLibrarysTextAndStaysIdle) {
  lib.results["dial"] = -10060;
  onDialog = [](QDialog& d) {
    // The progress window shows the dial text with "is being connected".
    auto* text = FindControl<QLabel>(&d, kIdDialText);
    EXPECT_TRUE(text && text->text().startsWith("ATDT0612345 "));
    return 1;
  };
  dialUp.Connect(doc.Entries()[0], 2);
  EXPECT_FALSE(dialUp.Connected());
  EXPECT_EQ(shown, std::vector<int>{kDialProgressWindow});
  ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"text -10060"});
  EXPECT_TRUE(Status().endsWith("ERROR"));
  EXPECT_TRUE(frame.Action(20000)->isEnabled());
}

TEST_F(DialWindow, TheForcedHangUpIsOfferedAfterFiveMinutesAndAsked) {
  dialUp.Connect(doc.Entries()[0], 2);
  ASSERT_TRUE(dialUp.Connected());
  lib.pollsUntilReleased = 1000000;
  boxes.answers = {platform::IDNO, platform::IDYES};
  onDialog = [this](QDialog& d) {
    auto* force = FindControl<QPushButton>(&d, kIdForce);
    auto* text = FindControl<QLabel>(&d, kIdHangUpText);
    EXPECT_TRUE(text->text().startsWith("Waiting for other applications"));
    clock.now = 299000;
    QTest::qWait(1300);
    EXPECT_TRUE(force->isHidden());
    clock.now = 300000;
    QTest::qWait(1300);
    EXPECT_FALSE(force->isHidden());
    force->click();  // No: nothing changes
    EXPECT_FALSE(force->isHidden());
    force->click();  // Yes: the others are forced off, the next second hangs up
    EXPECT_TRUE(force->isHidden());
    for (int i = 0; i < 30 && dialUp.Connected(); ++i) QTest::qWait(100);
    return d.result();
  };
  frame.Action(20010)->trigger();
  EXPECT_FALSE(dialUp.Connected());
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, ModemText(kIdsAskForce));
  EXPECT_NE(boxes.boxes[0].type & platform::MB_DEFBUTTON2, 0u);
  EXPECT_NE(std::find(lib.calls.begin(), lib.calls.end(), "force"), lib.calls.end());
}

TEST_F(DialWindow, SupervisionHangsUpALostLine) {
  dialUp.Connect(doc.Entries()[0], 2);
  ASSERT_TRUE(dialUp.Connected());
  dialUp.Supervise();
  EXPECT_TRUE(dialUp.Connected());
  lib.results["line"] = 1;  // the library says the line is no longer in use
  dialUp.Supervise();
  EXPECT_FALSE(dialUp.Connected());
  EXPECT_EQ(shown.back(), kHangUpWindow);
}

TEST_F(DialWindow, TheWindowNamedByHIsRaisedAfterConnectingOnly) {
  std::vector<std::string> events, reports;
  auto raiser = [&](unsigned long long id) {
    // By then the confirmation is closed, the form minimised and locked.
    events.push_back("raise " + std::to_string(id) + (frame.isMinimized() ? " minimised" : "") +
                     (dialUp.Connected() && !frame.Action(20000)->isEnabled() ? " connected" : ""));
    return id == 4242;
  };
  auto report = [&](const std::string& line) { reports.push_back(line); };
  EXPECT_FALSE(RaiseAfterConnecting(std::nullopt, raiser, report));  // no -h: nothing to do
  frame.show();
  dialUp.raiseNamedWindow = RaiseAfterConnecting(4242, raiser, report);
  lib.results["dial"] = -10060;
  dialUp.Connect(doc.Entries()[0], 2);
  EXPECT_TRUE(events.empty()) << "raised after a failed dial";
  lib.results["dial"] = 0;
  dialUp.Connect(doc.Entries()[0], 2);
  EXPECT_EQ(events, std::vector<std::string>{"raise 4242 minimised connected"});
  EXPECT_TRUE(reports.empty());
  frame.Action(20010)->trigger();
  EXPECT_EQ(events.size(), 1u) << "raised again at the hang-up";

  // A window that is gone: one line, and the call stands.
  dialUp.raiseNamedWindow = RaiseAfterConnecting(77, raiser, report);
  dialUp.Connect(doc.Entries()[0], 2);
  EXPECT_TRUE(dialUp.Connected());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("window 77 (-h) was not found"), std::string::npos) << reports[0];
  // Offscreen there are no native windows of other programs to raise.
  EXPECT_FALSE(RaiseNativeWindow(4242));
  EXPECT_FALSE(RaiseNativeWindow(0));
}

TEST_F(DialWindow, TheFormAndWindowsStayLiveWhileTheModemWorks) {
  // The library holds the dial and the hang-up until the test has seen the
  // windows working meanwhile (at most 10 s, so a blocked window fails).
  std::atomic<bool> release{false};
  auto hold = [&release] {
    for (int i = 0; i < 1000 && !release; ++i) QThread::msleep(10);
  };
  lib.whileDialling = hold;
  lib.whileHangingUp = hold;
  QString statusWhileDialling;
  bool hangUpWindowPainted = false;
  onDialog = [&](QDialog& d) {
    release = false;
    if (d.objectName().toInt() == kDialProgressWindow) {
      for (int i = 0; i < 200 && !Status().contains("ATDT"); ++i) QTest::qWait(10);
      statusWhileDialling = Status();
      release = true;
      return 1;
    }
    if (d.objectName().toInt() != kHangUpWindow) return 1;
    QTimer::singleShot(100, &d, [&] {
      hangUpWindowPainted = d.isVisible() && dialUp.Connected() &&
                            FindControl<QLabel>(&d, kIdHangUpText)->text().startsWith("Disconnecting");
      release = true;
    });
    return d.exec();
  };
  dialUp.Connect(doc.Entries()[0], 2);
  ASSERT_TRUE(dialUp.Connected());
  EXPECT_EQ(statusWhileDialling, "Initialize for Modem|ATE0V1|Ring up|ATDT0612345");
  frame.Action(20010)->trigger();
  EXPECT_FALSE(dialUp.Connected());
  EXPECT_TRUE(hangUpWindowPainted) << "the hang-up window was frozen while the line went down";
  EXPECT_TRUE(Status().endsWith("Ring off|ATZ"));
}
