// The connecting window: when the core shows a published connect wait, the
// cancel it hands to the server, the window's texts and buttons offscreen,
// and the run of a call that waits with the window over it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "tavinter/result_codes.h"
#include "tavtools/connect_wait.h"
#include "tavtools/connect_wait_dialog.h"

using namespace tavtools;

namespace {

// A published wait and a clock the test sets; cancels are recorded. A call
// on a worker thread may publish while the window thread reads.
struct ScriptedWait {
  std::mutex mutex;
  bool published = false;
  TavConnectWait wait{};
  long long now = 50000;
  std::vector<std::pair<int, int>> cancels;
  std::atomic<bool> cancelled{false};

  void Publish(int handle, long long startMs, int dispTimeSec, const char* address) {
    std::lock_guard<std::mutex> lock(mutex);
    published = true;
    wait = {};
    wait.port = 9;
    wait.handle = handle;
    wait.startMs = startMs;
    wait.dispTimeSec = dispTimeSec;
    std::snprintf(wait.address, sizeof wait.address, "%s", address);
  }
  void Withdraw() {
    std::lock_guard<std::mutex> lock(mutex);
    published = false;
  }
  CConnectWaitCore Core() {
    return CConnectWaitCore(
        [this](TavConnectWait& w) {
          std::lock_guard<std::mutex> lock(mutex);
          if (published) w = wait;
          return published;
        },
        [this] { return now; },
        [this](int port, int handle) {
          cancels.emplace_back(port, handle);
          cancelled = true;
          return 0;
        });
  }
};

}  // namespace

TEST(ConnectWaitCore, ShowsAfterDispTimeAndGoesWithTheWait) {
  ScriptedWait s;
  CConnectWaitCore core = s.Core();
  EXPECT_FALSE(core.Poll().visible);
  EXPECT_EQ(core.Cancel(), TAV_E_NOT_OPEN);  // nothing shown, nothing to cancel

  s.Publish(7, s.now - 1000, 3, "10.0.0.5:9600");
  EXPECT_FALSE(core.Poll().visible);
  s.now += 1999;
  EXPECT_FALSE(core.Poll().visible);
  s.now += 1;  // three seconds since the connect began
  ASSERT_TRUE(core.Poll().visible);
  EXPECT_EQ(core.View().address, "10.0.0.5:9600");
  EXPECT_EQ(core.View().handle, 7);

  s.Withdraw();
  EXPECT_FALSE(core.Poll().visible);
  EXPECT_EQ(core.View().address, "");
}

TEST(ConnectWaitCore, DispTimeZeroShowsAsSoonAsTheWaitIsPublished) {
  // The server publishes a wait at the first retry, about a second in.
  ScriptedWait s;
  CConnectWaitCore core = s.Core();
  s.Publish(3, s.now - 1000, 0, "plc1 (192.168.0.2):8000");
  EXPECT_TRUE(core.Poll().visible);
}

TEST(ConnectWaitCore, CancelGoesToTheServerOncePerWait) {
  ScriptedWait s;
  CConnectWaitCore core = s.Core();
  s.Publish(4, s.now, 0, "a:1");
  ASSERT_TRUE(core.Poll().visible);
  EXPECT_EQ(core.Cancel(), 0);
  EXPECT_EQ(core.Cancel(), 0);
  EXPECT_TRUE(core.Cancelled());
  ASSERT_EQ(s.cancels.size(), 1u);
  EXPECT_EQ(s.cancels[0], std::make_pair(9, 4));

  // The next connect of the same client may be cancelled again.
  s.Publish(4, s.now + 500, 0, "a:1");
  s.now += 1000;
  ASSERT_TRUE(core.Poll().visible);
  EXPECT_FALSE(core.Cancelled());
  EXPECT_EQ(core.Cancel(), 0);
  EXPECT_EQ(s.cancels.size(), 2u);
}

TEST(ConnectWaitCore, TextsInBothLanguages) {
  ConnectWaitView view;
  view.address = "10.1.2.3:5000";
  const ConnectWaitTexts jp = ConnectWaitTextsFor(view, 0);
  EXPECT_EQ(jp.title, "Ethernet接続処理画面");
  EXPECT_EQ(jp.message, "接続中です。しばらくお待ち下さい。");
  EXPECT_EQ(jp.cancel, "ｷｬﾝｾﾙ(&C)");
  EXPECT_NE(jp.addressLine.find("10.1.2.3:5000"), std::string::npos);
  const ConnectWaitTexts en = ConnectWaitTextsFor(view, 1);
  EXPECT_EQ(en.title, "Ethernet connection");
  EXPECT_EQ(en.addressLine, "Destination: 10.1.2.3:5000");
  // An address with a "%" is shown as it is.
  view.address = "%s%d";
  EXPECT_EQ(ConnectWaitTextsFor(view, 1).addressLine, "Destination: %s%d");
}

TEST(ConnectWaitDialog, ShowsTheWaitAndCancelsWithButtonOrEscape) {
  ScriptedWait s;
  CConnectWaitCore core = s.Core();
  s.Publish(5, s.now - 1000, 0, "10.0.0.9:9600");
  ASSERT_TRUE(core.Poll().visible);
  bool finished = false;
  CConnectWaitDialog dialog(core, [&] { return finished; }, 0, nullptr);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Ethernet接続処理画面"));
  EXPECT_EQ(dialog.MessageLine()->text(), QString::fromUtf8("接続中です。しばらくお待ち下さい。"));
  EXPECT_TRUE(dialog.AddressLine()->text().contains("10.0.0.9:9600"));
  EXPECT_EQ(dialog.CancelButton()->text(), QString::fromUtf8("ｷｬﾝｾﾙ(&C)"));

  // Escape cancels like the button, and the window stays until the call ends.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(s.cancels.size(), 1u);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.CancelButton()->isEnabled());
  QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(s.cancels.size(), 1u);

  finished = true;
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 5000);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(ConnectWaitDialog, ACallThatWaitsRunsUnderTheWindowUntilCancelled) {
  ScriptedWait s;
  CConnectWaitCore core = s.Core();
  // The call plays a request whose connect waits until it is cancelled.
  auto call = [&] {
    s.Publish(6, s.now - 1000, 0, "10.0.0.7:9600");
    for (int i = 0; i < 1000 && !s.cancelled; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    s.Withdraw();
    return s.cancelled ? -10042 : 0;
  };
  bool sawWindow = false;
  QTimer poke;
  QObject::connect(&poke, &QTimer::timeout, [&] {
    auto* d = dynamic_cast<CConnectWaitDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    sawWindow = d->AddressLine()->text().contains("10.0.0.7");
    d->CancelButton()->click();
  });
  poke.start(50);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunWatchingConnect(call, 1, nullptr, core), -10042);
  EXPECT_TRUE(sawWindow);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // A call that never waits shows nothing and returns its own result.
  s.cancelled = false;
  sawWindow = false;
  EXPECT_EQ(RunWatchingConnect([] { return 17; }, 1, nullptr, core), 17);
  EXPECT_FALSE(sawWindow);
}
