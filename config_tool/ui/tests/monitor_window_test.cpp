// The monitor windows offscreen against the scripted unit: the grid's
// columns and scrolling, the refresh loop, clear buttons, a failing cycle,
// closing while a cycle runs, the menu command's preparation, and the FROM
// writing status window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <memory>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/unit_link.h"
#include "data_monitor_dlg.h"
#include "from_status_dialog.h"
#include "message_box_recorder.h"
#include "monitor_command.h"
#include "monitor_grid.h"
#include "monitor_unit.h"
#include "status_monitor_dlg.h"

using namespace axcfgui;
using axcfg_test::MonitorUnit;

namespace {

axcfg::CAxisLayout AxesLayout(int count) { return axcfg_test::SingleAxesLayout(count); }

struct MonitorWindowTest : ::testing::Test {
  keldtest::MessageBoxRecorder boxes;
  MonitorUnit unit;
  axcfg_test::RecordingUi ui;
  axcfg::CUnitLink link{"Axis Configurator", unit, ui};
  void SetUp() override {
    axcfg::RegisterAxisCfgDataStrings();
    link.Open(nullptr, false, false, false);
    unit.SetConnected(0xFF);
    unit.SetRunning(0);
  }
  void Wheel(QWidget* w, int delta) {
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
  }
};

TEST_F(MonitorWindowTest, ScrollingOverEightAxes) {
  CDataMonitorDlg four(AxesLayout(4), link, 0, nullptr);
  EXPECT_FALSE(four.Grid()->ScrollBar()->isEnabled());

  CDataMonitorDlg dialog(AxesLayout(8), link, 0, nullptr);
  dialog.show();
  CMonitorGrid* grid = dialog.Grid();
  QScrollBar* bar = grid->ScrollBar();
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->maximum(), 4);
  EXPECT_EQ(bar->pageStep(), 4);
  EXPECT_EQ(grid->CellText(0, 0), "1 axis");
  // A page in the trough moves one column, as a line does.
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(grid->FirstColumn(), 1);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(grid->CellText(0, 0), "5 axis");
  EXPECT_EQ(grid->CellText(0, 3), "8 axis");
  QTest::keyClick(&dialog, Qt::Key_PageDown);
  EXPECT_EQ(grid->FirstColumn(), 4);
  QTest::keyClick(&dialog, Qt::Key_PageUp);
  EXPECT_EQ(grid->FirstColumn(), 3);
  Wheel(grid, -120);  // towards the user: right
  EXPECT_EQ(grid->FirstColumn(), 4);
  Wheel(grid, 120);
  Wheel(grid, 120);
  EXPECT_EQ(grid->FirstColumn(), 2);
  // The four columns share the room from the label column to the Close button's right edge.
  const int right = dialog.CloseButton()->geometry().right() - grid->geometry().left() + 1;
  EXPECT_NEAR(grid->LabelWidth() + 4 * grid->ColumnWidth(), right, 4);
  dialog.reject();
}

TEST_F(MonitorWindowTest, CyclesDrawValuesAndClearButtonsFollowTheColumns) {
  unit.SetConnected(0x01);  // axis 2 is configured but not connected
  unit.Set(0x220, 0x0002);  // and the unit flags an error on it
  unit.Set32(0x860 + 0x18, static_cast<uint32_t>(-42));
  CDataMonitorDlg dialog(AxesLayout(2), link, 0, nullptr);
  dialog.SetPeriod(10);
  CMonitorGrid* grid = dialog.Grid();
  EXPECT_EQ(grid->CellText(8, 0), "");  // empty before the first cycle
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.DrawnCycles() >= 2; }, 10000));
  EXPECT_EQ(grid->CellText(8, 0), "-42 ");
  EXPECT_EQ(grid->CellText(8, 1), "-------- ");
  EXPECT_EQ(grid->CellText(13, 1), "An error occurred");
  EXPECT_EQ(grid->CellText(0, 1), "2 axis");
  // Buttons only under the two used columns.
  EXPECT_TRUE(grid->Button(15, 1)->isVisible());
  EXPECT_FALSE(grid->Button(15, 2)->isVisible());
  EXPECT_FALSE(grid->Button(17, 3)->isVisible());

  // The clear under the axis that is not connected writes nothing.
  grid->Button(15, 1)->click();
  ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"The axis is not connected."});
  EXPECT_TRUE(unit.writes.empty());
  grid->Button(15, 0)->click();  // error clear of axis 1
  grid->Button(17, 0)->click();  // warning clear of axis 1
  dialog.reject();
  ASSERT_EQ(unit.writes.size(), 2u);
  EXPECT_EQ(unit.writes[0], std::make_pair(0x111u, uint16_t{1}));
  EXPECT_EQ(unit.writes[1], std::make_pair(0x1A9u, uint16_t{1}));
  EXPECT_FALSE(dialog.CloseButton()->isEnabled());
  EXPECT_FALSE(grid->Button(15, 0)->isEnabled());
}

TEST_F(MonitorWindowTest, AFailedCycleIsReportedOnceAndMonitoringStops) {
  CStatusMonitorDlg dialog(AxesLayout(3), link, nullptr);
  dialog.SetPeriod(10);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.DrawnCycles() >= 1; }, 10000));
  unit.failCode = -11060;
  unit.cablePulled = true;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsMonitoring(); }, 10000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsCycleRunning(); }, 10000));
  const int drawn = dialog.DrawnCycles();
  const size_t reads = unit.reads.size();
  QTest::qWait(200);
  EXPECT_EQ(unit.reads.size(), reads);
  EXPECT_EQ(dialog.DrawnCycles(), drawn);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Stop monitoring due to the following communication error.\n\nlibrary error -11060");
  // The values stay as last drawn.
  EXPECT_EQ(dialog.Grid()->CellText(1, 0), "Connection");
  dialog.reject();
}

TEST_F(MonitorWindowTest, ClosingDuringASlowCycleWaitsAndNeverDrawsAfterwards) {
  CDataMonitorDlg dialog(AxesLayout(8), link, 0, nullptr);
  dialog.SetPeriod(1);
  unit.delayMs = 40;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.IsCycleRunning(); }, 10000));
  // A second close request while the first waits is ignored.
  QTimer::singleShot(5, &dialog, [&] { dialog.reject(); });
  dialog.reject();
  EXPECT_FALSE(dialog.IsCycleRunning());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  const int drawn = dialog.DrawnCycles();
  QTest::qWait(100);
  EXPECT_EQ(dialog.DrawnCycles(), drawn);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorWindowTest, DestroyingTheWindowDuringACycleWaitsForTheWorker) {
  auto dialog = std::make_unique<CStatusMonitorDlg>(AxesLayout(8), link, nullptr);
  dialog->SetPeriod(1);
  unit.delayMs = 30;
  dialog->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->IsCycleRunning(); }, 10000));
  dialog.reset();
  const size_t reads = unit.reads.size();
  QTest::qWait(100);  // the worker's result, if posted, is dropped with the window
  EXPECT_EQ(unit.reads.size(), reads);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorWindowTest, CommandReadsTheUnitsLayoutOrSaysWhyNot) {
  link.Close();
  unit.Set(0x160, 0x000F);  // a group of four axes
  RunMonitorCommand(link, false, nullptr, "", [](CMonitorDialog&) { FAIL() << "no window expected"; });
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"The axis information in the unit is not correct."});
  EXPECT_FALSE(link.IsOpen());

  unit.Set(0x160, 0x0003);  // group A of axes 1 and 2
  unit.Set(0x168, 0x0010);  // axis 5 alone
  unit.Set(0x004, 5156);    // interpolation family: column set 1
  std::vector<std::string> labels;
  RunMonitorCommand(link, false, nullptr, "", [&](CMonitorDialog& d) {
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(d.windowTitle(), "Data monitor");
    for (int c = 0; c < 4; ++c) labels.push_back(d.Grid()->CellText(0, c).toStdString());
  });
  EXPECT_EQ(labels, (std::vector<std::string>{"1 axis [A]", "2 axis [A]", "5 axis", ""}));
  EXPECT_FALSE(link.IsOpen());

  unit.failAddress = 0x002;  // the model word
  RunMonitorCommand(link, true, nullptr, "", [](CMonitorDialog&) { FAIL() << "no window expected"; });
  EXPECT_EQ(ui.boxes.back(), "library error -10012");
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(MonitorWindowTest, FromStatusFollowsTheWriteToItsEnd) {
  EXPECT_EQ(CFromStatusDialog(nullptr, nullptr).exec(), 3);
  unit.Set(0x102, 0);
  EXPECT_EQ(CFromStatusDialog(&link, nullptr).exec(), 1);  // already finished: no window
  unit.Set(0x102, 0x1234);
  EXPECT_EQ(CFromStatusDialog(&link, nullptr).exec(), 7);

  unit.Set(0x102, 0xAAAA);
  CFromStatusDialog dialog(&link, nullptr);
  dialog.SetTickMs(5);
  bool blinked = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!dialog.WritingLabel()->isVisible() && dialog.isVisible()) blinked = true;
    if (blinked && unit.Get(0x102) == 0xAAAA) unit.Set(0x102, 0xCCCC);
  });
  poll.start(1);
  EXPECT_EQ(dialog.exec(), 2);
  EXPECT_TRUE(blinked);
  EXPECT_EQ(unit.Get(0x102), 0);  // the failure was acknowledged
}

}  // namespace
