// The monitor windows end to end: the communication library, a started
// connection server and the simulated unit, on the simulation channel and
// over a serial line to plcsim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "data_monitor_dlg.h"
#include "fake_unit.h"
#include "from_status_dialog.h"
#include "message_box_recorder.h"
#include "monitor_command.h"
#include "monitor_grid.h"
#include "peer_process.h"
#include "serial_destination.h"
#include "status_monitor_dlg.h"

using namespace axcfg;
using namespace axcfgui;

namespace {

// Grid rows of the data monitor used here.
constexpr int kRowPulse = 8, kRowState = 13, kRowError = 14, kRowErrorButton = 15;

struct MonitorOnSimulation : ::testing::Test {
  keldtest::MessageBoxRecorder boxes;
  axcfg_test::RecordingUi ui;
  CUnitLink link{"Axis Configurator", TavLinkLibrary(), ui};
  CUnitAxisConfig config;
  void SetUp() override {
    RegisterAxisCfgDataStrings();
    ASSERT_EQ(link.Open(nullptr, true, true, false), 0) << (ui.boxes.empty() ? "" : ui.boxes.back());
    ASSERT_EQ(ReadUnitAxisConfig(link, config), 0);
  }
  void TearDown() override { link.Close(); }
  void Write(uint32_t address, std::initializer_list<uint16_t> words) {
    std::vector<uint16_t> w(words);
    ASSERT_EQ(link.Write(address, static_cast<uint32_t>(w.size()), w.data(), kReportNone), 0);
  }
};

TEST_F(MonitorOnSimulation, JogIntoTheSoftwareLimitShowsItsErrorAndErrorClearClearsIt) {
  ASSERT_EQ(MonitorAxes(config.layout).size(), 8u);
  CDataMonitorDlg dialog(config.layout, link, config.family, nullptr);
  dialog.SetPeriod(20);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.DrawnCycles() >= 1; }, 20000));
  CMonitorGrid* grid = dialog.Grid();
  EXPECT_EQ(grid->CellText(kRowState, 0), "Inactive");

  // The JOG software limit of axis 1 on, its upper limit below the position.
  Write(0x1000 + 22, {0x0004});
  Write(0x1000 + 24, {0xFFFF, 0xFFFF});
  ASSERT_EQ(link.RequestToolMode(), 0);
  ASSERT_EQ(link.ServoOnOff(0, true), 0);
  // A JOG only starts once the unit has taken the servo request.
  ASSERT_TRUE(QTest::qWaitFor([&] {
    uint16_t state = 0;
    return link.Read(0x860, 1, &state, kReportNone) == 0 && (state & 0x0080);
  }, 20000));
  ASSERT_EQ(link.StartJog(0, true), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->CellText(kRowState, 0) == "An error occurred"; }, 20000));
  EXPECT_EQ(dialog.Shown().axes[0].errorCode, 0x00010021u);
  EXPECT_EQ(grid->CellText(kRowError, 0), "00001-E0021");
  ASSERT_EQ(link.StopJog(0, true), 0);

  grid->Button(kRowErrorButton, 0)->click();
  // A cycle reads the state block and the error code in separate frames, so
  // one drawing may show the cleared code beside the state read just before
  // the unit cleared it: wait until both show the clear.
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return grid->CellText(kRowError, 0) == "--------" && grid->CellText(kRowState, 0) != "An error occurred";
  }, 20000)) << grid->CellText(kRowError, 0).toStdString() << " / " << grid->CellText(kRowState, 0).toStdString();
  EXPECT_TRUE(boxes.boxes.empty());
  dialog.reject();
  link.ServoOnOff(0, false);
  link.CancelToolMode();
}

TEST_F(MonitorOnSimulation, StatusShowsTheUnitsIdentificationAndVersions) {
  CStatusMonitorDlg dialog(config.layout, link, nullptr);
  dialog.SetPeriod(20);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.DrawnCycles() >= 1; }, 20000));
  EXPECT_EQ(dialog.Grid()->CellText(1, 7), "Connection");
  EXPECT_EQ(dialog.Grid()->CellText(2, 0).trimmed(), "KELD SIM");
  EXPECT_EQ(dialog.Shown().firmware, 0x0105);
  dialog.reject();
}

TEST_F(MonitorOnSimulation, FromStatusFollowsARealWriteToTheEnd) {
  uint16_t before = 0, after = 0;
  ASSERT_EQ(link.Read(0x100, 1, &before, kReportNone), 0);
  ASSERT_EQ(link.RequestWriteFROM(), 0);
  CFromStatusDialog dialog(&link, nullptr);
  EXPECT_EQ(dialog.exec(), 1);
  ASSERT_EQ(link.Read(0x100, 1, &after, kReportNone), 0);
  EXPECT_EQ(after, before + 1);
}

TEST(MonitorOnInterpolationUnit, ColumnSetOneFollowsTheUnitsModel) {
  setenv("KELD_SIM_MODEL", "5156", 1);  // the server this test starts simulates it
  keldtest::MessageBoxRecorder boxes;
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", TavLinkLibrary(), ui);
  RegisterAxisCfgDataStrings();
  std::string pulseRow;
  int axes = 0;
  RunMonitorCommand(link, false, nullptr, "", [&](CMonitorDialog& d) {
    d.SetPeriod(20);
    d.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.DrawnCycles() >= 1; }, 20000));
    axes = d.Grid()->AxisCount();
    pulseRow = d.Grid()->Rows()[kRowPulse].label + ": " + d.Grid()->CellText(kRowPulse, 0).toStdString();
    d.reject();
  });
  EXPECT_TRUE(ui.boxes.empty()) << ui.boxes.front();
  EXPECT_EQ(axes, 4);
  EXPECT_EQ(pulseRow, "Current value: 0 ");
  EXPECT_FALSE(link.IsOpen());
}

// Counts the reads that reach the communication library.
class CountingLibrary : public CFixedDestinationLibrary {
 public:
  using CFixedDestinationLibrary::CFixedDestinationLibrary;
  int ReadWords(uint8_t* c, int st, int slot, long a, long n, uint16_t* w) override {
    ++reads;
    return CFixedDestinationLibrary::ReadWords(c, st, slot, a, n, w);
  }
  std::atomic<int> reads{0};
};

TEST(MonitorOverSerial, PullingThePlugStopsMonitoringWithOneMessage) {
  keldtest::PeerProcess sim("plcsim", {"--serial"});
  ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, 4).empty());
  CountingLibrary library(axcfg_test::SerialDestination(4, 1));
  keldtest::MessageBoxRecorder boxes;
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", library, ui);
  RegisterAxisCfgDataStrings();
  ASSERT_EQ(link.Open(nullptr, true, true, false), 0) << (ui.boxes.empty() ? "" : ui.boxes.back());
  CUnitAxisConfig config;
  ASSERT_EQ(ReadUnitAxisConfig(link, config), 0);

  CStatusMonitorDlg dialog(config.layout, link, nullptr);
  dialog.SetPeriod(20);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.DrawnCycles() >= 1; }, 20000));
  sim.Stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsMonitoring() && !dialog.IsCycleRunning(); }, 60000));
  const int reads = library.reads;
  const QString connection = dialog.Grid()->CellText(1, 0);
  QTest::qWait(500);
  EXPECT_EQ(library.reads, reads);
  EXPECT_EQ(dialog.Grid()->CellText(1, 0), connection);  // the last values stay
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.Texts()[0].rfind("Stop monitoring due to the following communication error.\n\n", 0), 0u);
  dialog.reject();
  link.Close();
}

}  // namespace
