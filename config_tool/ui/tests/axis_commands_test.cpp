// The axis settings dialogs in the application: File New asks for the axes
// (not the start-up document), Change Axis (Ctrl+U) changes them on the
// open document, and a cancel leaves the document as it was.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <deque>
#include <functional>

#include "axcfg_data/axcfg_strings.h"
#include "command_ids.h"
#include "command_table.h"
#include "group_area.h"
#include "group_settings_dlg.h"
#include "main_frame.h"
#include "message_box_recorder.h"
#include "scripted_app.h"
#include "used_axis_dlg.h"

using namespace axcfgui;

namespace {

using Step = std::function<int(QDialog&)>;

// Answers the axis dialogs in turn; a dialog beyond the script is cancelled.
struct AxisScript {
  std::deque<Step> steps;
  std::vector<QString> titles;
  explicit AxisScript(ScriptedApp& s) {
    s.app.GetPrompts().axisDialog = [this](QDialog& dialog) {
      titles.push_back(dialog.windowTitle());
      if (steps.empty()) return static_cast<int>(QDialog::Rejected);
      Step step = steps.front();
      steps.pop_front();
      return step(dialog);
    };
  }
};

Step TickAxes(uint16_t mask) {
  return [mask](QDialog& dialog) {
    auto& dlg = dynamic_cast<CUsedAxisDlg&>(dialog);
    for (int a = 0; a < axcfg::kAxisCount; ++a) dlg.AxisBox(a)->setChecked((mask >> a) & 1u);
    dlg.accept();
    return dlg.result();
  };
}

Step GroupAxes(std::vector<int> axes) {
  return [axes](QDialog& dialog) {
    auto& dlg = dynamic_cast<CGroupSettingsDlg&>(dialog);
    for (int axis : axes) dlg.Area()->Arrangement().Move(axis, 0);
    dlg.accept();
    return dlg.result();
  };
}

Step Cancel() {
  return [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
}

}  // namespace

TEST(AxisCommands, NewAsksForTheAxesAndCancelLeavesTheDocumentAsItWas) {
  keldtest::MessageBoxRecorder boxes;
  ScriptedApp s;
  AxisScript script(s);
  ASSERT_TRUE(s.Start());
  EXPECT_TRUE(script.titles.empty()) << "the start-up document never asks";

  axcfg::CAxisCfgDoc& doc = *s.app.Document();
  UseGroupLayout(doc);
  s.app.View()->SetCellText(0, 0, 0, "C");
  ASSERT_TRUE(doc.IsModified());

  // Ctrl+N: not saved, then a group dialog cancelled back to the used-axis
  // dialog, which is cancelled too.
  boxes.answers = {platform::IDNO};
  script.steps = {TickAxes(0x0F), Cancel(), Cancel()};
  s.app.Frame()->show();
  QApplication::setActiveWindow(s.app.Frame());
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.app.Frame()));
  QTest::keyClick(s.app.Frame(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(script.titles, (std::vector<QString>{"Setting used axis", "interpolation group settings",
                                                 "Setting used axis"}));
  EXPECT_EQ(s.app.View()->GetSheetCount(), 2);
  EXPECT_EQ(s.app.View()->GetCellText(0, 0, 0), "C: Continuation");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetLayout().GetUsedAxisMask(), 0x13);

  // Answered: axes 1-3 with axes 2 and 3 in group A.
  script.titles.clear();
  boxes.answers = {platform::IDNO};
  script.steps = {TickAxes(0x07), GroupAxes({1, 2})};
  EXPECT_TRUE(s.app.OnFileNew());
  EXPECT_EQ(script.titles.size(), 2u);
  EXPECT_EQ(doc.GetLayout().GetAxisEntryCount(), 2);
  EXPECT_EQ(doc.GetLayout().GetAxisEntry(0), axcfg::MakeGroupEntry(1, 0x06));
  EXPECT_EQ(s.app.View()->GetSheetCount(), 2);
  EXPECT_EQ(s.app.View()->GetCellText(0, 0, 0), "E: End");
  EXPECT_FALSE(doc.IsModified());
}

TEST(AxisCommands, ChangeAxisIsEnabledOnCtrlUAndKeepsTheTablesOfKeptAxes) {
  keldtest::MessageBoxRecorder boxes;
  ScriptedApp s;
  AxisScript script(s);
  ASSERT_TRUE(s.Start());
  axcfg::CAxisCfgDoc& doc = *s.app.Document();
  s.app.View()->SetCellText(0, 0, 0, "C");

  QAction* change = s.app.Frame()->Commands().Action(ID_CHANGE_AXIS);
  ASSERT_NE(change, nullptr);
  EXPECT_TRUE(change->isEnabled());
  EXPECT_EQ(change->shortcut(), QKeySequence(QStringLiteral("Ctrl+U")));

  // Axis 2 joins axis 1: its entry is new, so 20500 asks first.
  boxes.answers = {platform::IDYES};
  script.steps = {TickAxes(0x03), [](QDialog& d) {
                    d.accept();
                    return d.result();
                  }};
  s.app.Frame()->show();
  QApplication::setActiveWindow(s.app.Frame());
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.app.Frame()));
  QTest::keyClick(s.app.Frame(), Qt::Key_U, Qt::ControlModifier);
  ASSERT_EQ(script.titles.size(), 2u);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, axcfg::AxisCfgText(20500));
  EXPECT_EQ(s.app.View()->GetSheetCount(), 2);
  EXPECT_EQ(s.app.View()->GetSheetName(1), "2Axis");
  EXPECT_EQ(s.app.View()->GetCellText(0, 0, 0), "C: Continuation") << "axis 1 kept its entry and its table";
  EXPECT_TRUE(doc.IsModified());

  // Cancelled: nothing changes and nothing is asked.
  script.titles.clear();
  boxes.boxes.clear();
  script.steps = {Cancel()};
  change->trigger();
  EXPECT_EQ(script.titles.size(), 1u);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(doc.GetLayout().GetUsedAxisMask(), 0x03);
  EXPECT_EQ(s.app.View()->GetSheetCount(), 2);
}
