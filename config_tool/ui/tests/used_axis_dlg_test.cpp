// The used-axis dialog: its controls by id, the family switch, mode 1 and
// OK staying open on a refusal.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "axcfg_data/axcfg_strings.h"
#include "message_box_recorder.h"
#include "ui_strings.h"
#include "used_axis_dlg.h"

using namespace axcfg;
using axcfgui::CUsedAxisDlg;

namespace {

CAxisLayout Singles(uint16_t mask) {
  CAxisLayout l;
  l.Clear();
  AxisList axes = AxesOfMask(mask);
  for (int i = 0; i < axes.count; ++i) l.Append(MakeSingleAxisEntry(axes.axes[i]));
  return l;
}

QWidget* ById(QWidget* w, int id) {
  for (QWidget* c : w->findChildren<QWidget*>())
    if (c->property("controlId").toInt() == id) return c;
  return nullptr;
}

}  // namespace

TEST(UsedAxisDlg, FamilySwitchDisablesAxesFiveToEightAndOkReportsTheDrop) {
  RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  keldtest::MessageBoxRecorder boxes;
  CUsedAxisChoice choice(0x31, 0, Singles(0x31), SyncGroups{});
  CUsedAxisDlg dlg(nullptr, choice);
  EXPECT_EQ(dlg.windowTitle(), "Setting used axis");
  auto* combo = qobject_cast<QComboBox*>(ById(&dlg, 1766));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->itemText(1), "Positioning unit (Interpolation type)");
  auto* box6 = qobject_cast<QCheckBox*>(ById(&dlg, 2005));
  ASSERT_NE(box6, nullptr);
  EXPECT_EQ(box6->text(), "6 axis");
  EXPECT_TRUE(box6->isChecked());
  EXPECT_TRUE(box6->isEnabled());
  combo->setCurrentIndex(1);
  EXPECT_FALSE(box6->isEnabled());
  EXPECT_TRUE(dlg.AxisBox(3)->isEnabled());

  // Untick axis 1: nothing enabled is ticked, the dialog stays open.
  dlg.AxisBox(0)->setChecked(false);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "Choose any one as a used axis.");

  dlg.AxisBox(1)->setChecked(true);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(boxes.Texts().size(), 2u);
  EXPECT_EQ(boxes.Texts()[1].rfind("Axial setting was changed.", 0), 0u);
  EXPECT_EQ(choice.Mask(), 0x02);
  EXPECT_EQ(choice.Family(), 1u);
}

TEST(UsedAxisDlg, ModeOneOffersOnlyTheCallersAxes) {
  RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  keldtest::MessageBoxRecorder boxes;
  CUsedAxisChoice choice = CUsedAxisChoice::ForInitialise(0x06, 0);
  CUsedAxisDlg dlg(nullptr, choice);
  EXPECT_EQ(dlg.windowTitle(), "Choose the initialized axis");
  EXPECT_FALSE(dlg.UnitType()->isEnabled());
  EXPECT_FALSE(dlg.AxisBox(0)->isEnabled());
  EXPECT_TRUE(dlg.AxisBox(2)->isEnabled());
  dlg.accept();
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Choose the one to initialize."});
  dlg.AxisBox(2)->setChecked(true);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(choice.Mask(), 0x04);
}
