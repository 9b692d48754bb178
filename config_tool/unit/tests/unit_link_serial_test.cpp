// The unit link's key paths over a serial line: the communication library,
// a started connection server and plcsim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/tool_opr_exception.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "peer_process.h"
#include "serial_destination.h"

using namespace axcfg;

namespace {

TEST(UnitLinkOverSerial, ReadsWritesAndRunsTheHandshakes) {
  keldtest::PeerProcess sim("plcsim", {"--serial"});
  ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, 4).empty());

  CFixedDestinationLibrary library(axcfg_test::SerialDestination(4, 2));
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", library, ui);
  ASSERT_EQ(link.Open(nullptr, true, true, false), 0) << (ui.boxes.empty() ? "" : ui.boxes.back());

  uint16_t model = 0;
  ASSERT_EQ(link.Read(0x004, 1, &model, kReportNone), 0);
  EXPECT_EQ(model, 5154);
  ASSERT_EQ(link.RequestToolMode(), 0);
  ASSERT_EQ(link.WriteCoordinateOrigin(1, -123456), 0);
  uint16_t origin[2] = {};
  ASSERT_EQ(link.Read(0x1094 + 0x5000, 2, origin, kReportNone), 0);
  EXPECT_EQ(static_cast<int32_t>(origin[0] | (origin[1] << 16)), -123456);
  ASSERT_EQ(link.CancelToolMode(), 0);
  ASSERT_EQ(link.RequestWriteFROM(), 0);
  bool refused = false;
  try {
    link.RequestWriteFROM();
  } catch (const CToolOprException& e) {
    refused = e.IsWritingToFROM();
  }
  EXPECT_TRUE(refused);
  EXPECT_EQ(link.Close(), 0);
}

}  // namespace
