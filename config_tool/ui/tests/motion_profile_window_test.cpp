// The motion profile window of the running tool: opened from the grid's
// context menu and the View menu on the cursor's table, and following the
// document as its tables change.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>

#include "axiscfg_app.h"
#include "axiscfg_view.h"
#include "command_ids.h"
#include "command_table.h"
#include "main_frame.h"
#include "message_box_recorder.h"
#include "motion_profile_window.h"
#include "profile_plot.h"
#include "test_home.h"

using namespace axcfgui;

namespace {

struct RunningTool {
  CAxisCfgApp app;
  RunningTool() {
    app.GetPrompts().startDialog = [](QWidget*) { return StartChoice::Closed; };
    EXPECT_TRUE(app.InitInstance({QStringLiteral("AxisCfg"), QStringLiteral("--no-splash")}));
  }
  axcfg::CAxisCfgDoc& Doc() { return *app.Document(); }
  CAxisCfgView& View() { return *app.View(); }
};

// Group A of axes 1 and 2, then axis 3 alone; tables 3 (C), 4 (P), 5 (E)
// on the group: a square's three sides.
void UseChain(axcfg::CAxisCfgDoc& doc) {
  axcfg::CAxisLayout layout;
  layout.Clear();
  layout.Append(axcfg::MakeGroupEntry(1, 0x03));
  layout.Append(axcfg::MakeSingleAxisEntry(2));
  doc.SetLayout(layout);
  const struct {
    uint8_t method;
    int64_t x, y;
  } rows[] = {{axcfg::kCtrlContinue, 1000, 0}, {axcfg::kCtrlPass, 0, 1000}, {axcfg::kCtrlEnd, -1000, 0}};
  for (int i = 0; i < 3; ++i)
    for (int axis : {0, 1}) {
      axcfg::CPosData& row = *doc.GetPosData(2 + i);
      row.SetControlMethod(axis, rows[i].method);
      row.SetMoveAmount(axis, axis == 0 ? rows[i].x : rows[i].y);
    }
  doc.UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
}

void PutCursor(CAxisCfgView& view, int sheet, int line) {
  view.SetSelSheet(sheet);
  view.SetSel(CRect(0, line, 0, line), CPoint(0, line));
}

QString Cell(QTableWidget* table, int row, int column) {
  QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}

}  // namespace

TEST(MotionProfileWindow, OpensFromTheContextMenuOnTheCursorTable) {
  keldtest::MessageBoxRecorder boxes;
  RunningTool t;
  UseChain(t.Doc());
  PutCursor(t.View(), 0, 2);
  std::unique_ptr<QMenu> menu = t.View().CreateContextMenu();
  ASSERT_NE(menu, nullptr);
  QAction* preview = menu->findChild<QAction*>(QStringLiteral("PreviewFromThisTable"));
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->text(), QStringLiteral("Preview from this table"));
  EXPECT_EQ(menu->actions().back(), preview) << "after the edit commands";
  preview->trigger();

  CMotionProfileWindow* window = t.app.ProfileWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->SheetBox()->currentText(), QStringLiteral("[A] 1,2Axis"));
  EXPECT_EQ(window->TableBox()->value(), 3);
  QTableWidget* chain = window->ChainList();
  ASSERT_EQ(chain->rowCount(), 3);
  EXPECT_EQ(Cell(chain, 0, 0), "3");
  EXPECT_EQ(Cell(chain, 0, 1), "C");
  EXPECT_EQ(Cell(chain, 1, 1), "P");
  EXPECT_EQ(Cell(chain, 2, 0), "5");
  // Table 3 at the default 1000/s with 100 ms ramps: 1.1 s, then table 4.
  EXPECT_EQ(Cell(chain, 1, 2), "1.100");
  EXPECT_EQ(Cell(chain, 2, chain->columnCount() - 2), "0");  // X ends back at 0
  EXPECT_EQ(Cell(chain, 2, chain->columnCount() - 1), "1000");
  EXPECT_TRUE(window->EndLabel()->text().startsWith("The sequence ends at table No. 5.\nTotal time: "));
  EXPECT_FALSE(window->PathPlot()->isHidden()) << "a group shows its path";
  EXPECT_EQ(window->TimePlot()->Samples().size(), 1500u);

  // The View menu opens the same window on the cursor's table.
  PutCursor(t.View(), 0, 3);
  QAction* command = t.app.Frame()->Commands().Action(ID_MOTION_PROFILE);
  ASSERT_NE(command, nullptr);
  EXPECT_TRUE(command->isEnabled());
  command->trigger();
  EXPECT_EQ(t.app.ProfileWindow(), window);
  EXPECT_EQ(window->TableBox()->value(), 4);
  EXPECT_EQ(chain->rowCount(), 2);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST(MotionProfileWindow, FollowsTheDocumentAndShowsWhyItStops) {
  keldtest::MessageBoxRecorder boxes;
  RunningTool t;
  UseChain(t.Doc());
  t.app.ShowMotionProfile(axcfg::MakeGroupEntry(1, 0x03), 3);
  CMotionProfileWindow* window = t.app.ProfileWindow();
  ASSERT_NE(window, nullptr);

  // Table 5 jumps back to 3: one round, then "repeats".
  for (int axis : {0, 1}) {
    t.Doc().GetPosData(4)->SetControlMethod(axis, axcfg::kCtrlContinue);
    t.Doc().GetPosData(4)->SetJumpNo(axis, 3);
  }
  t.Doc().UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  EXPECT_EQ(window->ChainList()->rowCount(), 3);
  EXPECT_TRUE(window->EndLabel()->text().startsWith("The sequence repeats from table No. 3."));

  // An invalid speed in table 4 ends the preview with the check's message.
  for (int axis : {0, 1}) t.Doc().GetPosData(3)->SetTargetSpeed(axis, 0);
  t.Doc().UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  EXPECT_EQ(window->ChainList()->rowCount(), 1);
  EXPECT_EQ(window->EndLabel()->text().section('\n', 0, 1),
            "An error was found in the following. : \nTable No. 4: Interpolation Speed");

  // The single axis sheet has no path in a plane.
  window->SheetBox()->setCurrentIndex(1);
  EXPECT_EQ(window->Profile()->Axes().size(), 1u);
  EXPECT_TRUE(window->PathPlot()->isHidden());
  EXPECT_TRUE(window->EndLabel()->text().startsWith("The sequence ends at table No. 3."));
  EXPECT_TRUE(boxes.Texts().empty());
}
