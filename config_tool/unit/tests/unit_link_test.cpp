#include <gtest/gtest.h>

#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"

using namespace axcfg;
using axcfg_test::FakeUnit;
using axcfg_test::RecordingUi;

namespace {

struct LinkTest : ::testing::Test {
  FakeUnit unit;
  RecordingUi ui;
  CUnitLink link{"Axis Configurator", unit, ui, &unit};
};

TEST_F(LinkTest, OpenTwiceCloseOnceAndLibraryInitialisation) {
  link.SetApplicationLanguage(1);
  ASSERT_EQ(link.Open(nullptr, true, true, false), 0);
  EXPECT_EQ(unit.productNo, 11);
  EXPECT_EQ(unit.english, 0);  // Japanese application
  EXPECT_EQ(unit.nameInContext, "Axis Configurator");
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"section Axis Configurator", "open", "name Axis Configurator",
                                                  "check"}));
  EXPECT_EQ(link.Open(nullptr, true, true, false), 0);  // already open: nothing more happens
  EXPECT_EQ(unit.calls.size(), 4u);
  EXPECT_EQ(link.Close(), 0);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.Close(), kLinkNotOpen);
  EXPECT_TRUE(link.IsLibraryInitialised());  // stays initialised
}

TEST_F(LinkTest, FailuresLeaveTheLinkClosedAndAreReported) {
  unit.sectionResult = -1;
  EXPECT_EQ(link.Open(nullptr, true, true, false), kLinkInitFailed);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], "Communication system error[-300000]");
  unit.sectionResult = 0;
  unit.openResult = -10012;
  EXPECT_EQ(link.Open(nullptr, true, false, false), -10012);
  EXPECT_EQ(ui.boxes.size(), 1u);  // not reported when asked not to
  EXPECT_FALSE(link.IsOpen());
  unit.openResult = 0;
  unit.checkResult = -10013;
  EXPECT_EQ(link.Open(nullptr, true, true, false), -10013);
  EXPECT_EQ(ui.boxes.back(), "library error -10013");
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(unit.calls.back(), "close");
  // Library only: no connection.
  EXPECT_EQ(link.Open(nullptr, false, true, true), 0);
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(LinkTest, ReadWriteByByteAddressWithReportModes) {
  ASSERT_EQ(link.Open(nullptr, false, true, false), 0);
  link.SetSlotNo(0x0103);  // only the low byte reaches the library
  unit.Poke(0x80, 7);
  uint16_t w = 0;
  ASSERT_EQ(link.Read(0x100, 1, &w, kReportNone), 0);
  EXPECT_EQ(w, 7);
  EXPECT_EQ(unit.lastSlot, 3);
  uint16_t out[2] = {1, 2};
  ASSERT_EQ(link.Write(0x1094, 2, out, kReportNone), 0);
  EXPECT_EQ(unit.Peek(0x84A), 1);
  EXPECT_EQ(unit.Peek(0x84B), 2);
  unit.failAddress = 0x80;
  EXPECT_EQ(link.Read(0x100, 1, &w, kReportNone), -10012);
  EXPECT_TRUE(link.IsOpen());  // a failed read leaves the connection open
  EXPECT_EQ(link.Read(0x100, 1, &w, kReportDialog), 2);  // "End"
  EXPECT_EQ(ui.dialogs.back(), "library error -10012");
  EXPECT_EQ(link.Read(0x100, 1, &w, kReportMessageBox), 1);
  EXPECT_EQ(link.GetErrorString(kLinkFromNotAcknowledged),
            "Waiting acknowledgement error in the request for writing to FROM");
  EXPECT_EQ(link.GetErrorString(-300001), "Communication system error[-300001]");
}

TEST_F(LinkTest, DestinationSettingsAndSlot) {
  link.SetSlotNo(3);
  link.Open(nullptr, false, false, true);
  EXPECT_EQ(link.GetDestinationText(), "Simulation Station No.0 - Slot No. 3");
  EXPECT_EQ(link.CommunicationSettings(nullptr), 1);
  EXPECT_EQ(link.DestinationNo(), 12);
  EXPECT_EQ(link.DestinationName(), "chosen");
  EXPECT_NE(unit.settingsContext, nullptr);
  EXPECT_EQ(link.SpecifyStationNo(nullptr), 2);  // no owner
  int owner = 0;
  EXPECT_EQ(link.SpecifyStationNo(&owner), 1);
  EXPECT_EQ(link.DestinationNo(), 34);
  EXPECT_FALSE(link.IsOpen());
  // A slot is taken only when a connection with it works.
  unit.openResult = -11060;
  EXPECT_FALSE(link.AcceptSlot(5, nullptr));
  EXPECT_EQ(link.GetSlotNo(), 3);
  EXPECT_EQ(ui.boxes.back(), "library error -11060");
  unit.openResult = 0;
  unit.failAddress = 0x002;  // the unit in that slot does not answer
  EXPECT_FALSE(link.AcceptSlot(5, nullptr));
  EXPECT_EQ(link.GetSlotNo(), 3);
  EXPECT_FALSE(link.IsOpen());
  unit.failAddress = -1;
  EXPECT_TRUE(link.AcceptSlot(5, nullptr));
  EXPECT_EQ(link.GetSlotNo(), 5);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.AcceptSlot(29, nullptr));
}

TEST_F(LinkTest, CommunicationSettingsWithoutLibraryHandsNoContext) {
  unit.sectionResult = -5;
  EXPECT_EQ(link.CommunicationSettings(nullptr), 1);
  EXPECT_EQ(unit.settingsContext, nullptr);
  EXPECT_EQ(link.DestinationNo(), 0);  // not taken without a context
}

TEST_F(LinkTest, WithoutDialogsSettingsAndStationAreCancelled) {
  CUnitLink plain("Axis Configurator", unit, ui);
  plain.SetDestination(3, "kept");
  int owner = 0;
  EXPECT_EQ(plain.CommunicationSettings(&owner), 2);
  EXPECT_EQ(plain.SpecifyStationNo(&owner), 2);
  EXPECT_EQ(plain.DestinationNo(), 3);
  EXPECT_EQ(plain.DestinationName(), "kept");
  EXPECT_EQ(unit.settingsContext, nullptr);
  EXPECT_TRUE(unit.calls.empty());  // nothing was opened for a dialog that is not there
}

}  // namespace
