#include <gtest/gtest.h>

#include <QComboBox>

#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "select_slot_dialog.h"

namespace {

TEST(SelectSlotDialog, OffersAllSlotsAndKeepsTheOldOneWhenNoUnitAnswers) {
  axcfg_test::FakeUnit unit;
  axcfg_test::RecordingUi ui;
  axcfg::CUnitLink link("Axis Configurator", unit, ui);
  link.SetSlotNo(2);
  axcfgui::CSelectSlotDialog dialog(nullptr, link);
  ASSERT_EQ(dialog.SlotList()->count(), 29);
  EXPECT_EQ(dialog.SlotList()->itemText(28), "28");
  EXPECT_EQ(dialog.SlotList()->currentIndex(), 2);

  dialog.SlotList()->setCurrentIndex(7);
  unit.failAddress = 0x002;  // the unit in slot 7 does not answer
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
  EXPECT_EQ(link.GetSlotNo(), 2);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], "library error -10012");

  unit.failAddress = -1;
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(link.GetSlotNo(), 7);
  EXPECT_FALSE(link.IsOpen());
}

}  // namespace
