// Following a FROM write through the handshake word.
#include <gtest/gtest.h>

#include "axcfg_unit/from_write_watch.h"
#include "axcfg_unit/unit_link.h"
#include "monitor_unit.h"

using namespace axcfg;

namespace {

struct FromWatchTest : ::testing::Test {
  axcfg_test::MonitorUnit unit;
  axcfg_test::RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui};
  CFromWriteWatch watch{link};
  void SetUp() override { link.Open(nullptr, false, false, false); }
};

TEST_F(FromWatchTest, EachHandshakeValueGivesItsResult) {
  unit.Set(0x102, 0xAAAA);
  EXPECT_EQ(watch.Check(), kFromStillWriting);
  unit.Set(0x102, 0);
  EXPECT_EQ(watch.Check(), kFromWriteFinished);
  unit.Set(0x102, 0x1234);
  EXPECT_EQ(watch.Check(), kFromWriteUnexpected);
  EXPECT_TRUE(unit.writes.empty());
  unit.Set(0x102, 0xCCCC);
  EXPECT_EQ(watch.Check(), kFromWriteFailed);
  EXPECT_EQ(unit.Get(0x102), 0);  // the failure is acknowledged
  EXPECT_EQ(unit.writes.size(), 1u);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FromWatchTest, ReadFailureIsReportedOnce) {
  unit.FailAt(0x102, -11060);
  EXPECT_EQ(watch.Check(), kFromWriteCommError);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], "library error -11060");
}

TEST_F(FromWatchTest, TicksBlinkAndGiveUpAfterSixtyTicks) {
  unit.Set(0x102, 0xAAAA);
  bool shown = watch.BlinkVisible();
  for (int i = 1; i <= CFromWriteWatch::kMaxTicks; ++i) {
    ASSERT_EQ(watch.Tick(), kFromStillWriting) << i;
    EXPECT_NE(watch.BlinkVisible(), shown);
    shown = watch.BlinkVisible();
  }
  const size_t reads = unit.reads.size();
  EXPECT_EQ(watch.Tick(), kFromWriteFailed);
  EXPECT_EQ(unit.reads.size(), reads);  // the 61st tick reads nothing
}

TEST_F(FromWatchTest, TickSeesTheEndOfTheWrite) {
  unit.Set(0x102, 0xAAAA);
  EXPECT_EQ(watch.Tick(), kFromStillWriting);
  unit.Set(0x102, 0);
  EXPECT_EQ(watch.Tick(), kFromWriteFinished);
}

}  // namespace
