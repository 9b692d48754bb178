// The tool operation windows' read cycle against the scripted unit and the
// rows and cells they draw from its snapshot.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/position_units.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/tool_opr_cells.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_unit.h"

using namespace axcfg;
using axcfg_test::MonitorUnit;
using axcfg_test::RecordingUi;
using Reads = std::vector<std::pair<uint32_t, uint32_t>>;

namespace {

const std::vector<MonitorAxis> kTwoAxes = {{0, "1 axis"}, {2, "3 axis"}};

struct ToolOprCycleTest : ::testing::Test {
  MonitorUnit unit;
  RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  void SetUp() override {
    RegisterAxisCfgDataStrings();
    link.Open(nullptr, false, false, false);
    unit.SetConnected(0x01);  // axis 3 is used but not connected
    unit.SetRunning(0);
  }
};

// The row of a label (first match), or -1.
int RowOf(const std::vector<ToolOprRow>& rows, const std::string& label) {
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].label == label) return static_cast<int>(r);
  return -1;
}

int ButtonRow(const std::vector<ToolOprRow>& rows, ToolButton button) {
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].button == button) return static_cast<int>(r);
  return -1;
}

TEST_F(ToolOprCycleTest, EachWindowReadsItsOwnValuesInTheCycleOrder) {
  CToolOprCycle cycle(false);
  ToolOprSnapshot snap;
  ASSERT_EQ(cycle.Read(link, kTwoAxes, ToolOprWindow::kHoming, snap), 0);
  const Reads homing = {{0x140, 1},
                        // axis 1: current value, origin, unit, deviation, codes
                        {0x87C, 2}, {0x1094, 2}, {0x1000, 1}, {0x868, 2}, {0x254, 2}, {0x384, 2},
                        // axis 3 is not connected: its codes only
                        {0x294, 2}, {0x3C4, 2},
                        {0x16E, 6}, {0x560, 2}, {0x220, 1}, {0x350, 1}, {0x142, 1}, {0x110, 1},
                        {0x1040, 1}};
  EXPECT_EQ(unit.reads, homing);

  unit.reads.clear();
  ASSERT_EQ(cycle.Read(link, kTwoAxes, ToolOprWindow::kPositioning, snap), 0);
  ASSERT_GE(unit.reads.size(), 3u);
  EXPECT_EQ(unit.reads[1], std::make_pair(0x87Cu, 2u));  // no origin outside the Homing window
  const Reads tail(unit.reads.end() - 3, unit.reads.end());
  EXPECT_EQ(tail, (Reads{{0x200, 1}, {0x870, 1}, {0x204, 1}}));

  unit.reads.clear();
  ASSERT_EQ(cycle.Read(link, kTwoAxes, ToolOprWindow::kTeaching, snap), 0);
  EXPECT_EQ(unit.reads.back(), std::make_pair(0x1058u, 2u));
}

TEST_F(ToolOprCycleTest, FailedReadKeepsTheLastSnapshotAndMergedReadsGiveTheSameValues) {
  unit.Set32(0x87C, static_cast<uint32_t>(-12345));
  unit.Set(0x1000, kUnitUm1);
  unit.Set32(0x1058, 250000);
  unit.Set(0x110, 80);
  ToolOprSnapshot one, merged;
  CToolOprCycle plain(false), fast(true);
  ASSERT_EQ(plain.Read(link, kTwoAxes, ToolOprWindow::kJog, one), 0);
  ASSERT_EQ(fast.Read(link, kTwoAxes, ToolOprWindow::kJog, merged), 0);
  EXPECT_LT(fast.Frames(), plain.Frames());
  for (const ToolOprSnapshot* s : {&one, &merged}) {
    EXPECT_TRUE(s->valid);
    EXPECT_EQ(s->axes[0].currentValue, -12345);
    EXPECT_EQ(s->axes[0].jogSpeed, 250000u);
    EXPECT_EQ(s->speedRate, 80);
  }
  unit.FailAt(0x1058, -11060);
  one.speedRate = 7;
  EXPECT_EQ(plain.Read(link, kTwoAxes, ToolOprWindow::kJog, one), -11060);
  EXPECT_EQ(one.speedRate, 7);
}

TEST(ToolOprRows, WindowsShowTheirOwnRowsAndFamilyZeroHasNoDeviation) {
  const auto jog1 = ToolOprRows(ToolOprWindow::kJog, kFamilyInterp);
  const auto jog0 = ToolOprRows(ToolOprWindow::kJog, kFamilySrlx);
  EXPECT_GE(RowOf(jog1, "Deviation (pulse)"), 0);
  EXPECT_EQ(RowOf(jog0, "Deviation (pulse)"), -1);
  EXPECT_EQ(jog0.size() + 1, jog1.size());
  const int plus = ButtonRow(jog0, ToolButton::kJogPlus);
  ASSERT_GE(plus, 0);
  EXPECT_TRUE(jog0[plus].hold);
  EXPECT_EQ(jog0[plus + 1].button, ToolButton::kJogMinus);
  EXPECT_EQ(jog0[plus + 1].label, "JOG");
  EXPECT_FALSE(jog0[ButtonRow(jog0, ToolButton::kErrorClear)].hold);

  const auto teach = ToolOprRows(ToolOprWindow::kTeaching, kFamilySrlx);
  EXPECT_LT(ButtonRow(teach, ToolButton::kJogMinus), RowOf(teach, "Table No."));
  EXPECT_EQ(RowOf(teach, "Table No.") + 1, ButtonRow(teach, ToolButton::kTeach));

  const auto homing = ToolOprRows(ToolOprWindow::kHoming, kFamilySrlx);
  EXPECT_EQ(ButtonRow(homing, ToolButton::kJogPlus), -1);
  EXPECT_GE(RowOf(homing, "Home return mode"), 0);
  const auto positioning = ToolOprRows(ToolOprWindow::kPositioning, kFamilySrlx);
  EXPECT_EQ(RowOf(positioning, "Starting table No.") + 1, ButtonRow(positioning, ToolButton::kStartingTable));
  EXPECT_EQ(ToolOprWindowTitle(ToolOprWindow::kTeaching), "Tool operation - Teaching");
}

TEST(ToolOprCells, ValuesButtonsAndAxesNotConnected) {
  ToolOprSnapshot s;
  s.valid = true;
  s.connection = 0x0100;  // axis 1 only
  s.busy = 0x0100;
  s.axes[0].unitCode = kUnitUm01;
  s.axes[0].currentValue = -12345;
  s.axes[0].jogSpeed = 1500;
  s.axes[0].homeMode = 5;
  s.axes[2].errorCode = 0x0002E021;
  const MonitorAxis axis1{0, "1 axis"}, axis3{2, "3 axis"};
  const auto rows = ToolOprRows(ToolOprWindow::kHoming, kFamilyInterp);
  const auto cells = ToolOprCells(s, ToolOprWindow::kHoming, kFamilyInterp, axis1);
  ASSERT_EQ(cells.size(), rows.size());
  EXPECT_EQ(cells[0].text, "1 axis");
  EXPECT_EQ(cells[RowOf(rows, "Current value")].text, "-1234.5");
  EXPECT_EQ(cells[RowOf(rows, "Unit")].text, UnitName(kUnitUm01));
  EXPECT_EQ(cells[RowOf(rows, "Home return mode")].text, "Home metod");
  EXPECT_EQ(cells[ButtonRow(rows, ToolButton::kStartStop)].text, "Stop");
  EXPECT_EQ(cells[ButtonRow(rows, ToolButton::kCurrentValue)].text, "Coordinate origin");
  EXPECT_EQ(cells[RowOf(rows, "State of axis")].colour, CellColour::Active);

  const auto off = ToolOprCells(s, ToolOprWindow::kHoming, kFamilyInterp, axis3);
  EXPECT_EQ(off[RowOf(rows, "Current value")].text, "--------");
  EXPECT_EQ(off[RowOf(rows, "Synchronous goup")].text, "--------");
  EXPECT_EQ(off[RowOf(rows, "Error code")].text, "00002-EE021");
  EXPECT_EQ(off[ButtonRow(rows, ToolButton::kStartStop)].text, "Start");

  EXPECT_EQ(HomeReturnModeText(5, kFamilySrlx), "Phase Z method");
  EXPECT_EQ(HomeReturnModeText(8, kFamilySrlx), "Data set");
  EXPECT_EQ(HomeReturnModeText(9, kFamilySrlx), "--------");

  // Before the first cycle: labels and buttons only.
  const auto jogRows = ToolOprRows(ToolOprWindow::kJog, kFamilySrlx);
  const auto empty = ToolOprCells(ToolOprSnapshot{}, ToolOprWindow::kJog, kFamilySrlx, axis1);
  EXPECT_EQ(empty[RowOf(jogRows, "Current value")].text, "");
  EXPECT_EQ(empty[ButtonRow(jogRows, ToolButton::kJogPlus)].text, "+");
  // A JOG speed in an unknown unit is not shown with made-up decimals.
  s.axes[0].unitCode = 0x7777;
  EXPECT_EQ(ToolOprCells(s, ToolOprWindow::kJog, kFamilySrlx, axis1)[RowOf(jogRows, "Jog target speed")].text,
            "--------");
}

}  // namespace
