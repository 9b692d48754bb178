// The unit link on the real communication library, a started connection
// server and the simulated unit.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"

using namespace axcfg;

namespace {

TEST(UnitLinkOnSimulation, ConnectsReadsAndRunsTheHandshakes) {
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", TavLinkLibrary(), ui);
  ASSERT_EQ(link.Open(nullptr, true, true, false), 0) << (ui.boxes.empty() ? "" : ui.boxes.back());
  uint16_t model = 0;
  ASSERT_EQ(link.Read(0x004, 1, &model, kReportNone), 0);
  EXPECT_EQ(model, 5154);
  EXPECT_NE(link.GetDestinationText().find(" - Slot No. 0"), std::string::npos);

  uint16_t count = 0;
  ASSERT_EQ(link.Read(0x100, 1, &count, kReportNone), 0);
  ASSERT_EQ(link.RequestWriteFROM(), 0);
  // While the unit writes its flash, a second request is refused.
  bool refused = false;
  try {
    link.RequestWriteFROM();
  } catch (const CToolOprException& e) {
    refused = e.IsWritingToFROM();
  }
  EXPECT_TRUE(refused);
  uint16_t after = count;
  for (int i = 0; i < 60 && after == count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(link.Read(0x100, 1, &after, kReportNone), 0);
  }
  EXPECT_EQ(after, count + 1);

  ASSERT_EQ(link.RequestToolMode(), 0);
  bool on = false;
  ASSERT_EQ(link.IsToolModeOn(on), 0);
  EXPECT_TRUE(on);
  ASSERT_EQ(link.WriteCurrentValue(0, 1234), 0);
  ASSERT_EQ(link.CancelToolMode(), 0);
  ASSERT_EQ(link.IsToolModeOn(on), 0);
  EXPECT_FALSE(on);
  EXPECT_EQ(link.Close(), 0);
}

TEST(UnitLinkOnSimulation, EmptySlotIsRefusedAndTheOldSlotKept) {
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", TavLinkLibrary(), ui);
  EXPECT_FALSE(link.AcceptSlot(7, nullptr));
  EXPECT_EQ(link.GetSlotNo(), 0);
  ASSERT_FALSE(ui.boxes.empty());
  EXPECT_TRUE(link.AcceptSlot(0, nullptr));
}

}  // namespace
