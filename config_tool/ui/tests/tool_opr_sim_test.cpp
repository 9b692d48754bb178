// The JOG window end to end: the communication library, a started
// connection server and the simulated unit, on the simulation channel and
// over a serial line to plcsim on a pseudo-terminal that is held mid-JOG.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <csignal>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "message_box_recorder.h"
#include "peer_process.h"
#include "serial_destination.h"
#include "tool_opr_grid.h"
#include "tool_opr_wnd.h"

using namespace axcfg;
using namespace axcfgui;
namespace ua = axcfg::unitaddr;

namespace {

// The unit link on `library`, tool operation mode entered with a short
// keep-alive time-out and the servo of `axis` on.
struct JogSetup {
  keldtest::MessageBoxRecorder boxes;
  axcfg_test::RecordingUi ui;
  CUnitLink link;
  CUnitAxisConfig config;
  explicit JogSetup(ILinkLibrary& library) : link("Axis Configurator", library, ui) {
    RegisterAxisCfgDataStrings();
    RegisterToolOprStrings();
  }
  void Enter(int axis, int timeoutSeconds) {
    ASSERT_EQ(link.Open(nullptr, true, true, false), 0) << (ui.boxes.empty() ? "" : ui.boxes.back());
    ASSERT_EQ(ReadUnitAxisConfig(link, config), 0);
    ASSERT_EQ(link.WriteToolTimeout(timeoutSeconds), 0);
    ASSERT_EQ(link.RequestToolMode(), 0);
    ASSERT_EQ(link.ServoOnOff(axis, true), 0);
    // A JOG starts only once the unit has taken the servo request.
    ASSERT_TRUE(QTest::qWaitFor([&] {
      uint16_t state = 0;
      return link.Read(ua::MonitorState(axis), 1, &state, kReportNone) == 0 && (state & ua::kMonStateServoOn);
    }, 20000));
  }
  // Whether the unit answers that the axis stands (0x142, bit 8+n = 0 while
  // it runs); false also when it does not answer.
  bool Standing(int axis) {
    uint16_t word = 0;
    return link.Read(ua::kStatusBusy, 1, &word, kReportNone) == 0 && (word & ua::AxisStatusBit(axis));
  }
  // The axis's current value in pulses, read until the unit answers.
  bool Pulses(int axis, uint32_t& value) {
    uint16_t words[2] = {};
    const bool ok = QTest::qWaitFor([&] {
      return link.Read(ua::MonitorState(axis) + ua::mon::kPulses, 2, words, kReportNone) == 0;
    }, 20000);
    value = words[0] | (static_cast<uint32_t>(words[1]) << 16);
    return ok;
  }
};

int RowLabelled(const CToolOprWnd& wnd, const std::string& label) {
  for (size_t r = 0; r < wnd.Rows().size(); ++r)
    if (wnd.Rows()[r].label == label) return static_cast<int>(r);
  return -1;
}

TEST(JogWindowOnSimulation, HeldButtonMovesTheAxisAndTheReleaseStopsIt) {
  // Axis 3: the other tests of this program that move an axis use axis 1.
  constexpr int kAxis = 2;
  JogSetup s(TavLinkLibrary());
  ASSERT_NO_FATAL_FAILURE(s.Enter(kAxis, 5));
  CJogWnd wnd(s.config.layout, s.link, s.config.family, nullptr, nullptr);
  wnd.show();
  ASSERT_TRUE(wnd.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.DrawnCycles() >= 1; }, 20000));
  const int valueRow = RowLabelled(wnd, "Current value");
  ASSERT_GE(valueRow, 0);
  const int32_t before = wnd.Shown().axes[kAxis].currentValue;
  const QString shownBefore = wnd.ToolGrid()->CellText(valueRow, kAxis);

  QPushButton* plus = wnd.ToolGrid()->Button(wnd.RowOf(ToolButton::kJogPlus), kAxis);
  QTest::mousePress(plus, Qt::LeftButton);
  ASSERT_TRUE(wnd.KeepAliveRunning());
  // The value rises cycle after cycle while the button is held.
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.Shown().axes[kAxis].currentValue > before; }, 20000));
  const int32_t rising = wnd.Shown().axes[kAxis].currentValue;
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.Shown().axes[kAxis].currentValue > rising; }, 20000));
  EXPECT_NE(wnd.ToolGrid()->CellText(valueRow, kAxis), shownBefore);
  EXPECT_TRUE(wnd.Shown().IsBusy(kAxis));

  QTest::mouseRelease(plus, Qt::LeftButton);
  EXPECT_FALSE(wnd.Controller().JogRunning());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !wnd.Shown().IsBusy(kAxis); }, 20000));
  // Standing: two later cycles show the same value, and the grid shows it.
  const int drawn = wnd.DrawnCycles();
  const int32_t stood = wnd.Shown().axes[kAxis].currentValue;
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.DrawnCycles() >= drawn + 2; }, 20000));
  EXPECT_EQ(wnd.Shown().axes[kAxis].currentValue, stood);
  EXPECT_GT(stood, rising);
  const QString shownAfter = wnd.ToolGrid()->CellText(valueRow, kAxis);
  EXPECT_NE(shownAfter, shownBefore);
  EXPECT_TRUE(s.Standing(kAxis));

  wnd.reject();  // nothing runs: Exit is allowed
  EXPECT_FALSE(wnd.isVisible());
  EXPECT_EQ(wnd.result(), kToolOprActive);
  EXPECT_TRUE(s.boxes.boxes.empty()) << s.boxes.Texts()[0];
  s.link.ServoOnOff(kAxis, false);
  s.link.CancelToolMode();
  s.link.Close();
}

TEST(HomingWindowOnSimulation, ExitRightAfterStartIsRefusedUntilTheAxisStands) {
  constexpr int kAxis = 3;
  JogSetup s(TavLinkLibrary());
  ASSERT_NO_FATAL_FAILURE(s.Enter(kAxis, 5));
  // The coordinate origin far from the axis: the home return takes minutes.
  uint32_t pulses = 0;
  ASSERT_TRUE(s.Pulses(kAxis, pulses));
  ASSERT_EQ(s.link.WriteCoordinateOrigin(kAxis, static_cast<int32_t>(pulses) + 500000), 0);
  CHomingWnd wnd(s.config.layout, s.link, s.config.family, nullptr);
  wnd.show();
  ASSERT_TRUE(wnd.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.DrawnCycles() >= 1; }, 20000));
  QPushButton* startStop = wnd.ToolGrid()->Button(wnd.RowOf(ToolButton::kStartStop), kAxis);
  ASSERT_EQ(startStop->text(), "Start");
  startStop->click();
  // At once: before any cycle has shown the axis running, and perhaps
  // before the unit has taken the start.
  wnd.reject();
  EXPECT_TRUE(wnd.isVisible());
  ASSERT_EQ(s.boxes.boxes.size(), 1u);
  EXPECT_EQ(s.boxes.boxes[0].text, ToolOprText(kTopRunningAxis));

  ASSERT_TRUE(QTest::qWaitFor([&] { return startStop->text() == "Stop"; }, 20000));
  startStop->click();  // deceleration stop
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.Standing(kAxis); }, 20000));
  wnd.reject();
  EXPECT_FALSE(wnd.isVisible());
  EXPECT_EQ(wnd.result(), kToolOprActive);
  EXPECT_EQ(s.boxes.boxes.size(), 1u);
  s.link.ServoOnOff(kAxis, false);
  s.link.CancelToolMode();
  s.link.Close();
}

TEST(JogWindowOverSerial, UnitHeldMidJogEndsTheWindowWithOneMessageAndTheAxisStandsAfterward) {
  keldtest::PeerProcess sim("plcsim", {"--serial"});
  ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, 6).empty());
  CFixedDestinationLibrary library(axcfg_test::SerialDestination(6, 1));
  JogSetup s(library);
  ASSERT_NO_FATAL_FAILURE(s.Enter(0, 1));
  CJogWnd wnd(s.config.layout, s.link, s.config.family, nullptr, nullptr);
  wnd.show();
  ASSERT_TRUE(wnd.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.DrawnCycles() >= 1; }, 20000));
  QPushButton* plus = wnd.ToolGrid()->Button(wnd.RowOf(ToolButton::kJogPlus), 0);
  QTest::mousePress(plus, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.Shown().IsBusy(0); }, 20000));

  // The unit stops answering while the button is held.
  ASSERT_EQ(kill(sim.Pid(), SIGSTOP), 0);
  const auto held = std::chrono::steady_clock::now();
  const bool ended = QTest::qWaitFor([&] { return !wnd.isVisible(); }, 60000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - held).count();
  kill(sim.Pid(), SIGCONT);
  ASSERT_TRUE(ended) << "the window still waits after " << seconds << " s";
  EXPECT_EQ(wnd.result(), kToolOprError);
  EXPECT_FALSE(wnd.KeepAliveRunning());
  EXPECT_FALSE(wnd.Controller().JogRunning());
  ASSERT_EQ(s.boxes.boxes.size(), 1u) << testing::PrintToString(s.boxes.Texts());
  EXPECT_EQ(s.boxes.Texts()[0].rfind(MonitorText(kMonStopMonitoring), 0), 0u) << s.boxes.Texts()[0];
  QTest::mouseRelease(plus, Qt::LeftButton);  // the mouse-up after the end changes nothing
  EXPECT_EQ(s.boxes.boxes.size(), 1u);

  // Answering again, the unit has stopped the axis: the tool's stop or its
  // own keep-alive supervision, whichever it saw first.
  // (The first requests after the pause may meet answers the unit still
  // owed to requests the server had given up on.)
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.Standing(0); }, 20000));
  uint32_t pulses = 0, later = 0;
  ASSERT_TRUE(s.Pulses(0, pulses));
  QTest::qWait(300);
  ASSERT_TRUE(s.Pulses(0, later));
  EXPECT_EQ(later, pulses);
  s.link.CancelToolMode();
  s.link.Close();
}

}  // namespace
