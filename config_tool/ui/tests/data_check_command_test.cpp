// The data check as the command runs it on the grid: where it takes the
// user, what it says, and that it changes nothing.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/setting_file.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/pos_columns.h"
#include "axiscfg_view.h"
#include "data_check_command.h"
#include "message_box_recorder.h"
#include "test_home.h"
#include "ui_strings.h"

using namespace axcfgui;

namespace {

// A document with its grid, shown offscreen.
struct CheckedGrid {
  axcfg::CAxisCfgDoc doc;
  CAxisCfgView view;

  explicit CheckedGrid(const axcfg::CAxisLayout& layout) {
    RegisterAxisCfgUiStrings();
    doc.AddView(&view);
    doc.SetAskAxesForNewFile(false);
    doc.OnNewDocument();
    doc.SetLayout(layout);
    view.InitialUpdate(true);
    view.resize(900, 500);
    view.show();
  }
  ~CheckedGrid() { doc.RemoveView(&view); }

  int ColumnOf(int sheet, int number) const {
    for (int c = 0; c < view.GetColumnCount(sheet); ++c)
      if (view.GetColumnData(sheet, c) == number) return c;
    return -1;
  }
  CPoint Cursor() const {
    CRect selection;
    CPoint cursor;
    view.GetSel(selection, cursor);
    return cursor;
  }
};

// Axis 1 alone, group A of axes 2 and 3, group B of axes 5, 6 and 7.
axcfg::CAxisLayout ThreeSheets() {
  axcfg::CAxisLayout layout;
  layout.Clear();
  layout.Append(axcfg::MakeSingleAxisEntry(0));
  layout.Append(axcfg::MakeGroupEntry(1, 0x06));
  layout.Append(axcfg::MakeGroupEntry(2, 0x70));
  return layout;
}

std::string SavedBytes(const axcfg::CAxisCfgDoc& doc, const std::string& path) {
  EXPECT_EQ(axcfg::SaveSections(doc, path).id, 0u);
  return keldtest::ReadWholeFile(path);
}

TEST(DataCheckCommand, AnInvalidTableValueShowsItsCellBehindTheMessage) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  g.doc.GetPosData(4)->SetAccelTime(1, 10001);  // table No. 5 of group A
  const int column = g.ColumnOf(1, axcfg::kColAccelTime);
  // What the grid shows while the message is up.
  int sheetShown = -1;
  CPoint cursorShown;
  auto previous = platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
    sheetShown = g.view.GetSelSheet();
    cursorShown = g.Cursor();
    boxes.boxes.push_back(r);
    return platform::IDOK;
  });
  EXPECT_FALSE(RunDataCheck(&g.view, true));
  platform::SetMessageBoxHandler(previous);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "An error was found in the following. : \r\nTable No. 5: Acceleration time (ms)");
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONSTOP);
  EXPECT_EQ(sheetShown, 1);
  EXPECT_EQ(cursorShown.y, 4);
  EXPECT_EQ(cursorShown.x, column);
  const int top = g.view.GetTopLine();
  EXPECT_TRUE(top <= 4 && 4 < top + g.view.GetPageLines()) << "the line is scrolled into view";
}

TEST(DataCheckCommand, EachRuleNamesTheColumnOfItsValue) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  for (int axis : {4, 5, 6}) g.doc.GetPosData(9)->SetInterpPattern(axis, 0x10);  // circular in a 3-axis group
  EXPECT_FALSE(RunDataCheck(&g.view, false));
  EXPECT_EQ(g.view.GetSelSheet(), 2);
  EXPECT_EQ(g.Cursor().x, g.ColumnOf(2, axcfg::kColInterpPattern));
  for (int axis : {4, 5, 6}) g.doc.GetPosData(9)->SetInterpPattern(axis, 0x50);
  g.doc.GetPosData(599)->SetControlMethod(0, axcfg::kCtrlContinue);
  EXPECT_FALSE(RunDataCheck(&g.view, false));
  EXPECT_EQ(g.view.GetSelSheet(), 0);
  EXPECT_EQ(g.Cursor().y, 599);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, "An error was found in the following. : \r\nTable No. 10: Interpolation operation");
  EXPECT_EQ(boxes.boxes[1].text, "An error was found in the following. : \r\nTable No. 600: Pattern");
}

TEST(DataCheckCommand, ValidDataSaysSoOnlyWhenAsked) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  EXPECT_TRUE(RunDataCheck(&g.view, false));
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(RunDataCheck(&g.view, true));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "There was no error.");
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONINFORMATION);
  EXPECT_FALSE(RunDataCheck(nullptr, true)) << "no view: no check";
}

TEST(DataCheckCommand, ParametersAndGroupsGiveTheirMessages) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  g.doc.GetParamBlock().SetParam(24, 3, 40000);  // completion width of axis 4, not used
  EXPECT_TRUE(RunDataCheck(&g.view, false));
  g.doc.GetParamBlock().SetParam(24, 5, 40000);
  EXPECT_FALSE(RunDataCheck(&g.view, false));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The value in the unallowable range was set.\r\nChange the settings.\r\n"
                                 "Completion width (pulse) - " + g.doc.GetAxisLabel(5));
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONSTOP);

  // Two synchronous groups sharing axis 1 stop the check before the parameters.
  g.doc.GetSyncGroups()[0] = {1, 0, 0x01, 0x02, 10000, 0};
  g.doc.GetSyncGroups()[1] = {1, 0, 0x20, 0x01, 10000, 0};
  EXPECT_FALSE(RunDataCheck(&g.view, false));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "The same axis is used for some synchronous groups.");
  EXPECT_EQ(boxes.boxes[1].type & platform::MB_ICONMASK, platform::MB_ICONEXCLAMATION);
}

TEST(DataCheckCommand, AnInvalidJumpNumberSaysWhereItIs) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  for (int axis : {1, 2}) g.doc.GetPosData(6)->SetJumpNo(axis, 601);
  EXPECT_FALSE(RunDataCheck(&g.view, false));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Failed in the error check.\r\nTable No. 7: Jump No.");
  EXPECT_EQ(g.view.GetSelSheet(), 1);
  EXPECT_EQ(g.Cursor().y, 6);
  EXPECT_EQ(g.Cursor().x, 0);
}

TEST(DataCheckCommand, ModeBMasterIsJudgedWithoutBeingCorrected) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  g.doc.GetParamBlock().SetParam(axcfg::kParamHomeCode, 1, 5);  // phase Z: Mode B would make it 8
  g.doc.GetSyncGroups()[0] = {1, 1, 0x02, 0x01, 10000, 0};       // master axis 2, slave axis 1
  const std::string dir = keldtest::FreshDir("checkmodeb");
  g.doc.SetModifiedFlag(false);
  const std::string before = SavedBytes(g.doc, dir + "/before.axc");
  EXPECT_TRUE(RunDataCheck(&g.view, true));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "There was no error.") << "no home return correction is announced";
  EXPECT_EQ(SavedBytes(g.doc, dir + "/after.axc"), before);
  EXPECT_FALSE(g.doc.IsModified());
}

TEST(DataCheckCommand, AValueStillBeingTypedIsWhatTheCheckJudges) {
  keldtest::MessageBoxRecorder boxes;
  CheckedGrid g(ThreeSheets());
  const int column = g.ColumnOf(0, axcfg::kColDwellTime);
  CRect cell;
  cell.left = cell.right = column;
  cell.top = cell.bottom = 2;
  g.view.SetSel(cell, CPoint(column, 2));
  g.view.setFocus();
  QTest::keyClick(&g.view, Qt::Key_F2);
  auto* edit = qobject_cast<QLineEdit*>(g.view.GetActiveCellEditor());
  ASSERT_NE(edit, nullptr);
  edit->setText(QStringLiteral("40000"));
  EXPECT_FALSE(RunDataCheck(&g.view, true));
  EXPECT_EQ(g.view.GetActiveCellEditor(), nullptr);
  EXPECT_EQ(g.doc.GetPosData(2)->GetDwellTime(0), 40000);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "An error was found in the following. : \r\nTable No. 3: Dwell Time(ms)");
  EXPECT_EQ(g.Cursor().y, 2) << "the cursor stays on the edited cell";
}

}  // namespace
