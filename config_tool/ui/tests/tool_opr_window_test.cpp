// The tool operation windows offscreen against the scripted unit: the JOG
// buttons' press and release (also when the grid scrolls or loses the
// mouse), the release by the unit, Exit while an axis runs, the Start/Stop
// texts, the servo button of each family and the value input's messages.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_link.h"
#include "message_box_recorder.h"
#include "monitor_unit.h"
#include "platform/message_box.h"
#include "tool_opr_dlg.h"
#include "tool_opr_grid.h"
#include "tool_opr_wnd.h"
#include "value_input_dlg.h"

using namespace axcfgui;
using axcfg::ToolButton;
using axcfg_test::MonitorUnit;

namespace {

constexpr uint32_t kToolModeWord = axcfg::unitaddr::kToolMode / 2;

axcfg::CAxisLayout AxesLayout(int count) { return axcfg_test::SingleAxesLayout(count); }

struct ToolWindowTest : ::testing::Test {
  keldtest::MessageBoxRecorder boxes;
  MonitorUnit unit;
  axcfg_test::RecordingUi ui;
  axcfg::CUnitLink link{"Axis Configurator", unit, ui};
  void SetUp() override {
    axcfg::RegisterAxisCfgDataStrings();
    axcfg::RegisterToolOprStrings();
    link.Open(nullptr, false, false, false);
    unit.SetConnected(0xFF);
    unit.SetRunning(0);
    unit.Poke(kToolModeWord, axcfg::unitaddr::kToolModeOn);
  }
  uint16_t RequestWord(int axis) { return unit.Peek(axcfg::unitaddr::RequestBits(axis) / 2); }
};

TEST_F(ToolWindowTest, ReleaseStopsTheAxisOfThePressEvenAfterScrolling) {
  CJogWnd wnd(AxesLayout(8), link, 0, nullptr, nullptr);
  wnd.show();
  const int plus = wnd.RowOf(ToolButton::kJogPlus);
  ASSERT_GE(plus, 0);
  QPushButton* button = wnd.ToolGrid()->Button(plus, 0);
  QTest::mousePress(button, Qt::LeftButton);
  EXPECT_TRUE(wnd.Controller().JogRunning());
  EXPECT_TRUE(wnd.KeepAliveRunning());
  EXPECT_EQ(RequestWord(0) & axcfg::unitaddr::kBitJogForward, axcfg::unitaddr::kBitJogForward);
  // While held the grid scrolls: the button under the pointer now stands for axis 2.
  wnd.ToolGrid()->ScrollTo(1);
  QTest::mouseRelease(button, Qt::LeftButton);
  EXPECT_FALSE(wnd.Controller().JogRunning());
  EXPECT_EQ(RequestWord(0) & axcfg::unitaddr::kBitJogForward, 0);
  EXPECT_EQ(RequestWord(1), 0);  // axis 2 was never touched
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ToolWindowTest, LosingTheMouseIsARelease) {
  CJogWnd wnd(AxesLayout(4), link, 0, nullptr, nullptr);
  wnd.show();
  const int minus = wnd.RowOf(ToolButton::kJogMinus);
  QPushButton* button = wnd.ToolGrid()->Button(minus, 2);
  QTest::mousePress(button, Qt::LeftButton);
  ASSERT_TRUE(wnd.Controller().JogRunning());
  EXPECT_EQ(RequestWord(2) & axcfg::unitaddr::kBitJogBackward, axcfg::unitaddr::kBitJogBackward);
  button->hide();  // as when another window or a message box takes the mouse
  EXPECT_FALSE(wnd.Controller().JogRunning());
  EXPECT_EQ(RequestWord(2) & axcfg::unitaddr::kBitJogBackward, 0);
  EXPECT_FALSE(wnd.ToolGrid()->IsHeld());
}

TEST_F(ToolWindowTest, UnitLeavingToolModeEndsTheWindowWithFive) {
  CJogWnd wnd(AxesLayout(2), link, 0, nullptr, nullptr);
  wnd.show();
  QPushButton* button = wnd.ToolGrid()->Button(wnd.RowOf(ToolButton::kJogPlus), 0);
  QTest::mousePress(button, Qt::LeftButton);
  ASSERT_TRUE(wnd.KeepAliveRunning());
  unit.Poke(kToolModeWord, 0);  // another program released the unit
  EXPECT_TRUE(QTest::qWaitFor([&] { return !wnd.isVisible(); }, 10000));
  EXPECT_EQ(wnd.result(), axcfg::kToolOprReleased);
  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_EQ(boxes.boxes.back().text, axcfg::ToolOprText(axcfg::kTopReleased));
  EXPECT_FALSE(wnd.Controller().JogRunning());  // the JOG bit was cleared on the way out
  EXPECT_EQ(RequestWord(0) & axcfg::unitaddr::kBitJogForward, 0);
}

TEST_F(ToolWindowTest, LostUnitShowsOneMessageEvenWhileTheMessageIsUp) {
  CJogWnd wnd(AxesLayout(2), link, 0, nullptr, nullptr);
  wnd.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.DrawnCycles() > 0; }, 10000));
  QPushButton* button = wnd.ToolGrid()->Button(wnd.RowOf(ToolButton::kJogPlus), 0);
  QTest::mousePress(button, Qt::LeftButton);
  ASSERT_TRUE(wnd.KeepAliveRunning());
  // A message box runs its own event loop: the other worker's failure is
  // seen while the first message is still up.
  std::vector<std::string> texts;
  const auto previous = platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
    texts.push_back(r.text);
    QTest::qWait(600);
    return platform::IDOK;
  });
  unit.cablePulled = true;  // both the monitor cycle and the keep-alive fail now
  EXPECT_TRUE(QTest::qWaitFor([&] { return !wnd.isVisible(); }, 10000));
  platform::SetMessageBoxHandler(previous);
  EXPECT_EQ(wnd.result(), axcfg::kToolOprError);
  EXPECT_EQ(texts.size(), 1u) << testing::PrintToString(texts);
  EXPECT_FALSE(wnd.KeepAliveRunning());
}

TEST_F(ToolWindowTest, ExitIsRefusedWhileAnAxisRunsAndAStoppedWindowStillChecks) {
  CPositioningWnd wnd(AxesLayout(4), link, 0, nullptr);
  wnd.show();
  unit.SetRunning(0x02);
  wnd.reject();  // Escape and the close box run the same steps
  EXPECT_TRUE(wnd.isVisible());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, axcfg::ToolOprText(axcfg::kTopRunningAxis));
  unit.SetRunning(0);
  wnd.reject();
  EXPECT_FALSE(wnd.isVisible());
  EXPECT_EQ(wnd.result(), axcfg::kToolOprActive);
}

TEST_F(ToolWindowTest, StartStopFollowsTheAxisAndFamilyZeroHasNoDeviationRow) {
  unit.SetRunning(0x02);
  CHomingWnd wnd(AxesLayout(4), link, 0, nullptr);
  wnd.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.DrawnCycles() > 0; }, 10000));
  const int start = wnd.RowOf(ToolButton::kStartStop);
  EXPECT_EQ(wnd.ToolGrid()->Button(start, 0)->text(), "Start");
  EXPECT_EQ(wnd.ToolGrid()->Button(start, 1)->text(), "Stop");
  EXPECT_EQ(wnd.ToolGrid()->Button(wnd.RowOf(ToolButton::kCurrentValue), 0)->text(), "Coordinate origin");
  for (const auto& row : wnd.ToolGrid()->Rows()) EXPECT_NE(row.label, "Deviation (pulse)");
  EXPECT_EQ(wnd.windowTitle(), "Tool operation - Homing");
  unit.SetRunning(0);
  wnd.reject();
}

TEST_F(ToolWindowTest, ServoButtonOnlyForTheServoNetworkFamily) {
  for (uint32_t family : {0u, 1u}) {
    SCOPED_TRACE(family);
    unit.Poke(kToolModeWord, 0);
    CToolOprDlg dialog(AxesLayout(2), link, nullptr, family, 5, nullptr);
    EXPECT_FALSE(dialog.Button(CToolOprDlg::kJog)->isEnabled());  // nothing before entering
    boxes.answers = {platform::IDYES};
    dialog.Enter();
    EXPECT_EQ(dialog.Status()->text(), "Tool operation");
    EXPECT_TRUE(dialog.Button(CToolOprDlg::kJog)->isEnabled());
    EXPECT_EQ(dialog.Button(CToolOprDlg::kServo)->isEnabled(), family == 0);
    boxes.answers = {platform::IDYES};
    dialog.reject();  // leaving cancels tool operation mode
    EXPECT_EQ(unit.Peek(kToolModeWord), 0);
  }
}

TEST_F(ToolWindowTest, SubWindowReleasedEndsTheDialogWithFive) {
  CToolOprDlg dialog(AxesLayout(2), link, nullptr, 0, 5, nullptr);
  boxes.answers = {platform::IDYES};
  unit.Poke(kToolModeWord, 0);
  dialog.Enter();
  unit.Poke(kToolModeWord, 0);  // released before the window opens
  dialog.Open(CToolOprDlg::kHoming);
  EXPECT_EQ(dialog.result(), axcfg::kToolOprReleased);
  EXPECT_EQ(boxes.boxes.back().text, axcfg::ToolOprText(axcfg::kTopReleased));
}

TEST(ValueInputDialog, MessagesKeepTheDialogOpenWithTheTextSelected) {
  keldtest::MessageBoxRecorder boxes;
  axcfg::RegisterToolOprStrings();
  CValueInputDlg dialog(axcfg::ValueInputRules(axcfg::kValueStartingTable, "1 axis"), 3, nullptr);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Input starting table No. - 1 axis");
  EXPECT_EQ(dialog.Edit()->text(), "3");
  EXPECT_EQ(dialog.Edit()->alignment() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(dialog.findChild<QLabel*>("range")->text(), "Range:1 - 600");
  const std::pair<const char*, const char*> refused[] = {
      {"", "Input any value."}, {"1x", "Input a value correctly."}, {"601", "The input value is out of range.\nInput the correct value."}};
  for (const auto& [text, message] : refused) {
    dialog.Edit()->setText(text);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()) << text;
    EXPECT_EQ(boxes.boxes.back().text, message);
    EXPECT_EQ(dialog.Edit()->selectedText(), QString(text));
  }
  dialog.Edit()->setText("600");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Value(), 600);
}

}  // namespace
