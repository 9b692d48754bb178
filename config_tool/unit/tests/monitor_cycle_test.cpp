// The monitors' read cycles against the scripted unit: the reads they issue
// in order, where a failing read stops them, and how the unit's words become
// a snapshot. Also the unit's own axis configuration.
#include <gtest/gtest.h>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/monitor_cycle.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_unit.h"

using namespace axcfg;
using axcfg_test::MonitorUnit;
using axcfg_test::RecordingUi;
using Reads = std::vector<std::pair<uint32_t, uint32_t>>;

namespace {

struct MonitorCycleTest : ::testing::Test {
  MonitorUnit unit;
  RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  void SetUp() override {
    RegisterAxisCfgDataStrings();
    link.Open(nullptr, false, false, false);
    unit.SetConnected(0xFF);
    unit.SetRunning(0);
  }
  void SetLayout(std::array<uint16_t, 5> words) {
    for (uint32_t k = 0; k < 5; ++k) unit.Set(0x160 + 2 * k, words[k]);
  }
};

TEST_F(MonitorCycleTest, UnitAxisConfigReadsLayoutThenModel) {
  SetLayout({0x06, 0, 0, 0, 0x31});  // group A = axes 2 and 3; axes 1, 5 and 6 alone
  unit.Set(0x004, 5156);
  CUnitAxisConfig config;
  ASSERT_EQ(ReadUnitAxisConfig(link, config), 0);
  EXPECT_EQ(unit.reads, (Reads{{0x160, 5}, {0x004, 1}}));
  EXPECT_EQ(config.modelCode, 5156);
  EXPECT_EQ(config.family, kFamilyInterp);
  ASSERT_EQ(config.layout.GetAxisEntryCount(), 4);
  EXPECT_EQ(config.layout.GetAxisEntry(0), 0x01020006u);
  EXPECT_EQ(config.layout.GetAxisEntry(3), 0x00010020u);

  auto axes = MonitorAxes(config.layout);
  ASSERT_EQ(axes.size(), 5u);
  EXPECT_EQ(axes[0].axis, 0);
  EXPECT_EQ(axes[0].label, "1 axis");
  EXPECT_EQ(axes[1].label, "2 axis [A]");
  EXPECT_EQ(axes[4].axis, 5);
}

TEST_F(MonitorCycleTest, InvalidLayoutOrFailedReadLeavesTheConfigAlone) {
  CUnitAxisConfig config;
  config.modelCode = 1234;
  SetLayout({0x0F, 0, 0, 0, 0});  // a group of four axes
  EXPECT_EQ(ReadUnitAxisConfig(link, config), kUnitLayoutInvalid);
  SetLayout({0x03, 0x02, 0, 0, 0});  // axis 2 twice
  EXPECT_EQ(ReadUnitAxisConfig(link, config), kUnitLayoutInvalid);
  SetLayout({0, 0, 0, 0, 0});  // no axis
  EXPECT_EQ(ReadUnitAxisConfig(link, config), kUnitLayoutInvalid);
  EXPECT_EQ(unit.reads, (Reads{{0x160, 5}, {0x160, 5}, {0x160, 5}}));  // the model is not read
  SetLayout({0, 0, 0, 0, 1});
  unit.FailAt(0x004, -11060);
  EXPECT_EQ(ReadUnitAxisConfig(link, config), -11060);
  EXPECT_EQ(config.modelCode, 1234);
}

// Axis 1 connected, axis 3 used but not connected.
const std::vector<MonitorAxis> kTwoAxes = {{0, "1 axis"}, {2, "3 axis"}};

TEST_F(MonitorCycleTest, DataCycleReadsOneValueAtATimeInItsOrder) {
  unit.SetConnected(0x01);
  CDataMonitorCycle cycle(false);
  DataMonitorSnapshot snap;
  ASSERT_EQ(cycle.Read(link, kTwoAxes, snap), 0);
  const Reads expected = {{0x16E, 6}, {0x560, 2}, {0x140, 1},
                          // axis 1: block, unit code, codes, pulse input, deviation
                          {0x860, 16}, {0x1000, 1}, {0x254, 2}, {0x384, 2}, {0x86C, 2}, {0x868, 2},
                          // axis 3 is not connected: no block, no unit code
                          {0x294, 2}, {0x3C4, 2}, {0x96C, 2}, {0x968, 2},
                          {0x220, 1}, {0x350, 1}, {0x142, 1}};
  EXPECT_EQ(unit.reads, expected);
  EXPECT_EQ(cycle.Frames(), 16);
}

TEST_F(MonitorCycleTest, DataCycleMergesNeighboursAndSkipsWordsTheBlockCarries) {
  unit.SetConnected(0x01);
  CDataMonitorCycle cycle(true);
  DataMonitorSnapshot snap;
  ASSERT_EQ(cycle.Read(link, kTwoAxes, snap), 0);
  const Reads expected = {{0x140, 2}, {0x16E, 6}, {0x560, 2},
                          {0x860, 16}, {0x1000, 1}, {0x254, 2}, {0x384, 2},
                          {0x968, 4}, {0x294, 2}, {0x3C4, 2},
                          {0x220, 1}, {0x350, 1}};
  EXPECT_EQ(unit.reads, expected);
  EXPECT_EQ(cycle.Frames(), 12);
}

TEST_F(MonitorCycleTest, FirstFailingReadEndsTheCycleAndKeepsTheLastSnapshot) {
  for (bool merge : {false, true}) {
    SCOPED_TRACE(merge);
    unit.reads.clear();
    unit.failAddress = -1;
    CDataMonitorCycle cycle(merge);
    DataMonitorSnapshot snap;
    ASSERT_EQ(cycle.Read(link, kTwoAxes, snap), 0);
    snap.axes[0].torque = 77;  // marks the old snapshot
    unit.FailAt(0x1000, -11060);  // the unit code of axis 1
    EXPECT_EQ(cycle.Read(link, kTwoAxes, snap), -11060);
    EXPECT_EQ(unit.reads.back(), std::make_pair(0x1000u, 1u));
    EXPECT_EQ(snap.axes[0].torque, 77);
    EXPECT_TRUE(snap.valid);
  }
}

TEST_F(MonitorCycleTest, DataCycleDecodesInvertedWordsFlagsAndSignedValues) {
  unit.SetConnected(0x05);  // axes 1 and 3
  unit.SetRunning(0x04);    // axis 3 runs
  unit.Set(0x220, 0x0004);  // error on axis 3
  unit.Set(0x350, 0x0001);  // warning on axis 1
  unit.Set(0x16E, 1);       // group 1: mode B, master axis 1, slave axis 3
  unit.Set(0x170, 0x01);
  unit.Set(0x172, 0x04);
  unit.Set(0x562, 0x0001);  // group 2 asynchronous
  const uint32_t b = 0x860 + 0x80 * 2;  // axis 3's block
  unit.Set32(b + 0x18, static_cast<uint32_t>(-123456));
  unit.Set32(b + 0x1C, static_cast<uint32_t>(-5));
  unit.Set(b + 0x04, static_cast<uint16_t>(-5));
  unit.Set(b + 0x06, static_cast<uint16_t>(-3000));
  unit.Set(b + 0x10, 600);
  unit.Set(b + 0x12, 40000);
  unit.Set32(b + 0x08, static_cast<uint32_t>(-70000));
  unit.Set32(b + 0x0C, 70000);
  unit.Set(0x1000 + 0x5000 * 2, 0x0100);
  unit.Set32(0x254 + 0x20 * 2, 0x0001002A);
  unit.Set32(0x384, 0xFFFF0001);

  DataMonitorSnapshot one, merged;
  CDataMonitorCycle plain(false), merging(true);
  ASSERT_EQ(plain.Read(link, kTwoAxes, one), 0);
  ASSERT_EQ(merging.Read(link, kTwoAxes, merged), 0);
  for (const DataMonitorSnapshot* s : {&one, &merged}) {
    EXPECT_TRUE(s->valid);
    EXPECT_TRUE(s->IsConnected(0));
    EXPECT_FALSE(s->IsConnected(1));
    EXPECT_TRUE(s->IsConnected(2));
    EXPECT_TRUE(s->IsBusy(2));
    EXPECT_FALSE(s->IsBusy(0));
    EXPECT_EQ(s->errorWarning, 0x0401);
    EXPECT_TRUE(s->HasError(2));
    EXPECT_TRUE(s->HasWarning(0));
    EXPECT_EQ(s->sync[0].mode, 1);
    EXPECT_EQ(s->sync[0].master, 0x01);
    EXPECT_EQ(s->sync[0].slave, 0x04);
    EXPECT_EQ(s->sync[1].condition, 1);
    const DataAxisValues& v = s->axes[2];
    EXPECT_EQ(v.currentPulse, -123456);
    EXPECT_EQ(v.currentValue, -5);
    EXPECT_EQ(v.torque, -5);
    EXPECT_EQ(v.speed, -3000);
    EXPECT_EQ(v.activeTable, 600);
    EXPECT_EQ(v.auxCode, 40000);
    EXPECT_EQ(v.deviation, -70000);
    EXPECT_EQ(v.pulseInput, 70000);
    EXPECT_EQ(v.unitCode, 0x0100);
    EXPECT_EQ(v.errorCode, 0x0001002Au);
    EXPECT_EQ(s->axes[0].warningCode, 0xFFFF0001u);
  }
}

TEST_F(MonitorCycleTest, StatusCycleReadsInOrderAndBuildsTheFlags) {
  unit.SetConnected(0x01);
  unit.SetRunning(0x01);
  unit.Set(0x144, 0xFEFF);  // spare bit of axis 1 active
  unit.Set(0x146, 0x00FE);  // home input of axis 1 on
  unit.Set(0x860, 0x0081);  // servo locked, within completion width
  unit.Set(0x862, 0x0005);  // limit + and home proximity
  unit.Set(0x004, 5154);
  unit.Set(0x100, 17);
  unit.Set(0x00A, 0x0105);
  unit.Set(0x00C, 0x0A00);
  unit.Set(0x800, 0x4B45);  // "KE"
  unit.Set(0x802, 0x4C44);  // "LD"
  unit.Set(0x804, 0x0000);
  CStatusMonitorCycle cycle(false);
  StatusMonitorSnapshot snap;
  ASSERT_EQ(cycle.Read(link, kTwoAxes, snap), 0);
  const Reads expected = {{0x004, 1}, {0x140, 1}, {0x142, 3},
                          {0x800, 8}, {0x810, 8}, {0x830, 8}, {0x860, 2},
                          {0x100, 1}, {0x00A, 1}, {0x00C, 1}, {0x146, 1}};
  EXPECT_EQ(unit.reads, expected);
  EXPECT_EQ(snap.axes[0].flags, kStatConnected | kStatRunning | kStatSpare | kStatServoLocked | kStatInPosition |
                                    kStatHomeProximity | kStatLimitPlus);
  EXPECT_EQ(snap.axes[2].flags, 0);
  EXPECT_EQ(snap.axes[0].brand[0], 'K');
  EXPECT_EQ(snap.axes[0].brand[3], 'D');
  EXPECT_TRUE(snap.IsHomeOn(0));
  EXPECT_FALSE(snap.IsHomeOn(2));
  EXPECT_EQ(snap.modelCode, 5154);
  EXPECT_EQ(snap.fromWrites, 17);
  EXPECT_EQ(snap.firmware, 0x0105);

  StatusMonitorSnapshot merged;
  unit.reads.clear();
  CStatusMonitorCycle merging(true);
  ASSERT_EQ(merging.Read(link, kTwoAxes, merged), 0);
  EXPECT_EQ(unit.reads, (Reads{{0x004, 5}, {0x100, 1}, {0x140, 4}, {0x800, 16}, {0x830, 8}, {0x860, 2}}));
  EXPECT_EQ(merged.axes[0].flags, snap.axes[0].flags);
  EXPECT_EQ(merged.homeInput, snap.homeInput);
  EXPECT_EQ(merged.hardware, snap.hardware);
}

TEST_F(MonitorCycleTest, StatusCycleKeepsWhatItReadWhenOnlyTheHomeWordFails) {
  unit.Set(0x100, 9);
  unit.failReadNo = 3 + 4 * 2 + 3 + 1;  // the last read: the home input word
  unit.failCode = -11060;
  CStatusMonitorCycle cycle(false);
  StatusMonitorSnapshot snap;
  snap.homeInput = 0x1234;
  EXPECT_EQ(cycle.Read(link, kTwoAxes, snap), -11060);
  EXPECT_EQ(snap.fromWrites, 9);
  EXPECT_EQ(snap.homeInput, 0x1234);
  EXPECT_EQ(unit.reads.back(), std::make_pair(0x146u, 1u));
  unit.failReadNo = 0;
  unit.FailAt(0x830 + 0x80 * 2);  // motor text of axis 3: nothing is copied
  StatusMonitorSnapshot untouched;
  EXPECT_NE(cycle.Read(link, kTwoAxes, untouched), 0);
  EXPECT_FALSE(untouched.valid);
  EXPECT_EQ(untouched.fromWrites, 0);
}

}  // namespace
