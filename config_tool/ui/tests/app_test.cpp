// The application end to end, offscreen: start-up paths, the frame, the
// sheets of a layout, edits reaching the rows, and save / reopen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QToolBar>
#include <QScreen>
#include <cstdlib>
#include <algorithm>
#include <filesystem>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/position_units.h"
#include "axiscfg_app.h"
#include "axiscfg_view.h"
#include "scripted_app.h"
#include "axview/helpers.h"
#include "command_ids.h"
#include "command_table.h"
#include "guidance_bar.h"
#include "main_frame.h"
#include "message_box_recorder.h"
#include "param_status_bar.h"
#include "platform/registry.h"
#include "startup_rules.h"
#include "test_home.h"
#include "ui_strings.h"

using namespace axcfgui;


TEST(AppStartup, ExitInTheStartDialogEndsWithoutASecondDocument) {
  keldtest::MessageBoxRecorder boxes;
  ScriptedApp s;
  s.startChoice = StartChoice::Exit;
  EXPECT_FALSE(s.Start());
  EXPECT_EQ(s.startDialogs, 1);
  ASSERT_NE(s.app.Document(), nullptr);
  EXPECT_EQ(s.app.Document()->GetTitle(), "Untitled");
  EXPECT_TRUE(boxes.boxes.empty());
  s.app.ExitInstance();
  EXPECT_EQ(s.app.Document(), nullptr);
}

TEST(AppStartup, AFileOnTheCommandLineSkipsTheStartDialog) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("cmdline");
  std::string path;
  {
    ScriptedApp first;
    ASSERT_TRUE(first.Start());
    first.saveAnswer = dir + "/unit1";
    ASSERT_TRUE(first.app.OnFileSaveAs());
    path = first.app.Document()->GetPathName();
    EXPECT_EQ(path, dir + "/unit1.axc");  // the extension is appended
    first.app.ExitInstance();
  }
  ScriptedApp s;
  ASSERT_TRUE(s.Start({QString::fromStdString(path)}));
  EXPECT_EQ(s.startDialogs, 0);
  EXPECT_EQ(s.app.Document()->GetPathName(), path);

  // A file that cannot be opened ends the start with its message.
  ScriptedApp bad;
  s.app.ExitInstance();
  EXPECT_FALSE(bad.Start({QString::fromStdString(dir + "/missing.axc")}));
  EXPECT_EQ(bad.startDialogs, 0);
  EXPECT_FALSE(boxes.boxes.empty());
}

TEST(AppStartup, ASecondInstanceDoesNotStart) {
  ScriptedApp first;
  ASSERT_TRUE(first.Start());
  ScriptedApp second;
  EXPECT_FALSE(second.Start());
  EXPECT_EQ(second.app.Frame(), nullptr);
  first.app.ExitInstance();
  ScriptedApp third;
  EXPECT_TRUE(third.Start());
}

TEST(AppStartup, MissingJapaneseTablesStartInEnglishWithTheMessage) {
  const std::string empty = keldtest::FreshDir("nolang");
  ::setenv("KELD_LANG_DIR", empty.c_str(), 1);
  SetAppRegistryKey(kAppRegistryKey);
  SeedInstallSettings();
  SetLanguageRegistry(1);
  keldtest::MessageBoxRecorder boxes;
  ScriptedApp s;
  EXPECT_TRUE(s.Start());
  ::unsetenv("KELD_LANG_DIR");
  EXPECT_EQ(s.app.Language(), 0);
  EXPECT_EQ(s.app.HelpFile(), "AxisCfgEnu.chm");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Can't find resource file for specified language.");
}

TEST(AppStartup, SettingsAreReadWithTheirRules) {
  SetAppRegistryKey(kAppRegistryKey);
  platform::Registry::WriteDword(platform::Hive::CurrentUser, AppSectionKey("Settings"), "ToolOprTimes",
                                 static_cast<uint32_t>(-1));
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  EXPECT_EQ(s.app.ToolOprTimes(), 1);
}

TEST(MainFrame, FirstStartIsCentredAtEightyPercentAndCarriesEveryCommand) {
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  CMainFrame* frame = s.app.Frame();
  const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  const PlacementRect expected =
      DefaultNormalRect({desktop.left(), desktop.top(), desktop.right() + 1, desktop.bottom() + 1});
  EXPECT_EQ(frame->geometry().width(), expected.Width());
  EXPECT_EQ(frame->geometry().height(), expected.Height());
  EXPECT_EQ(frame->geometry().left(), expected.left);

  for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_DOWNLOAD, ID_UPLOAD, ID_FILE_PROPERTIES,
                 ID_EXPORT_CSV, ID_APP_EXIT, axcfgui::ID_EDIT_COPY, axcfgui::ID_EDIT_PASTE, axcfgui::ID_EDIT_SELECT_ALL, axcfgui::ID_EDIT_FIND,
                 axcfgui::ID_EDIT_REPLACE, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PARAM_STATUS, ID_VIEW_GUIDANCE,
                 ID_STATION_NO, ID_SELECT_SLOT, ID_DATA_MONITOR, ID_STATUS_DISPLAY, ID_TOOL_OPERATION, ID_WRITE_FROM,
                 ID_CHECK_DATA, ID_VERIFY_FILE, ID_VERIFY_UNIT, ID_CHANGE_AXIS, ID_PARAMETER_SETTINGS,
                 ID_OPTION_COMMUNICATION, ID_OPTION_CONFIGURATION, ID_OPTION_FONT, ID_HELP_CONTENTS, ID_APP_ABOUT,
                 axcfgui::ID_EDIT_CUT, axcfgui::ID_EDIT_UNDO})
    EXPECT_NE(frame->Commands().Action(id), nullptr) << id;
  // Commands of later windows are there but disabled.
  EXPECT_FALSE(frame->Commands().Action(ID_DOWNLOAD)->isEnabled());
  EXPECT_TRUE(frame->Commands().Action(ID_FILE_SAVE)->isEnabled());
  EXPECT_EQ(frame->Commands().Action(ID_UPLOAD)->shortcut(), QKeySequence(QStringLiteral("Ctrl+F5")));

  // Toggling the guidance bar keeps the menu check in step.
  EXPECT_TRUE(frame->Commands().Action(ID_VIEW_GUIDANCE)->isChecked());
  frame->ToggleBar(ID_VIEW_GUIDANCE);
  EXPECT_FALSE(frame->Commands().Action(ID_VIEW_GUIDANCE)->isChecked());
  frame->ToggleBar(ID_VIEW_GUIDANCE);
  EXPECT_TRUE(frame->Commands().Action(ID_VIEW_GUIDANCE)->isChecked());

  // The placement is kept for the next start.
  frame->setGeometry(30, 40, 700, 520);
  s.app.ExitInstance();
  WindowPlacementRecord rec;
  ASSERT_TRUE(LoadWindowPlacement(rec, {0, 0, 1000, 800}));
  EXPECT_EQ(rec.normal.Width(), 700);
  EXPECT_EQ(rec.normal.Height(), 520);
}

TEST(Sheets, AGroupOfAxesTwoAndFiveGetsItsSheetAndColumns) {
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  CAxisCfgView* view = s.app.View();
  EXPECT_EQ(view->GetSheetCount(), 1);
  EXPECT_EQ(view->GetSheetName(0), "1Axis");

  UseGroupLayout(*s.app.Document());
  ASSERT_EQ(view->GetSheetCount(), 2);
  EXPECT_EQ(view->GetSheetName(0), "[A] 2,5Axis");
  EXPECT_EQ(view->GetSheetName(1), "1Axis");
  EXPECT_EQ(view->GetSheetData(0), axcfg::MakeGroupEntry(1, 0x12));
  std::vector<int> numbers;
  for (int c = 0; c < view->GetColumnCount(0); ++c) numbers.push_back(view->GetColumnData(0, c));
  EXPECT_EQ(numbers, (std::vector<int>{1, 3, 4, 7, 8, 13, 14, 21, 22, 23, 25, 26, 27, 28}));
  EXPECT_EQ(view->GetColumnProp(0, 3)->m_title, axcfg::GetColumnTitle(7, view->GetSheetData(0)));
  EXPECT_EQ(view->GetLineCount(0), 600);
  EXPECT_EQ(view->GetLineCount(1), 600);

  // J is offered on the single axis only; no sheet has a jump column.
  auto choices = [&](int sheet) { return view->GetColumnProp(sheet, 0)->m_choices; };
  EXPECT_EQ(choices(0).size(), 3u);
  EXPECT_EQ(choices(1).size(), 4u);
  for (int sheet : {0, 1}) EXPECT_EQ(ColumnOfNumber(*view, sheet, axcfg::kColJumpNo), -1);
  EXPECT_EQ(ColumnOfNumber(*view, 1, 6), -1);  // no auxiliary point on a single axis
  EXPECT_EQ(view->GetCellText(0, 0, 0), "E: End");
  EXPECT_EQ(view->GetCellText(1, 599, ColumnOfNumber(*view, 1, axcfg::kColAccelTime)), "100");

  EXPECT_TRUE(view->CanSelectAll());
  view->SelectAll();
  CRect sel;
  CPoint cursor;
  view->GetSel(sel, cursor);
  EXPECT_EQ(sel.right, view->GetColumnCount(0) - 1);
  EXPECT_EQ(sel.bottom, 599);
}

TEST(Sheets, AnEditInTableSixHundredOfAGroupReachesBothMembers) {
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  axcfg::CAxisCfgDoc& doc = *s.app.Document();
  CAxisCfgView* view = s.app.View();
  UseGroupLayout(doc);
  EXPECT_FALSE(doc.IsModified());

  const int accel = ColumnOfNumber(*view, 0, axcfg::kColAccelTime);
  const int move5 = ColumnOfNumber(*view, 0, 13);
  ASSERT_TRUE(view->SetCellText(0, 599, accel, "250"));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetPosData(599)->GetAccelTime(1), 250);
  EXPECT_EQ(doc.GetPosData(599)->GetAccelTime(4), 250);
  EXPECT_EQ(doc.GetPosData(599)->GetAccelTime(0), 100);  // axis 1 is not in the group
  EXPECT_EQ(doc.GetPosData(598)->GetAccelTime(1), 100);

  ASSERT_TRUE(view->SetCellText(0, 599, move5, "1234"));
  EXPECT_EQ(doc.GetPosData(599)->GetMoveAmount(4), 1234);
  EXPECT_EQ(doc.GetPosData(599)->GetMoveAmount(1), 0);

  ASSERT_TRUE(view->SetCellText(0, 599, 0, "P"));
  EXPECT_EQ(view->GetCellText(0, 599, 0), "P: Pass");
  EXPECT_EQ(doc.GetPosData(599)->GetControlMethod(1), doc.GetPosData(599)->GetControlMethod(4));
  EXPECT_NE(doc.GetPosData(599)->GetControlMethod(1), 0);

  // A line hint rebuilds that line on every sheet from the row.
  doc.GetPosData(10)->SetAccelTime(0, 777);
  doc.UpdateAllViews(nullptr, 10, &doc);
  EXPECT_EQ(view->GetCellText(1, 10, ColumnOfNumber(*view, 1, axcfg::kColAccelTime)), "777");
}

TEST(Sheets, TheCursorColumnsGuidanceReachesTheBar) {
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  UseGroupLayout(*s.app.Document());
  CAxisCfgView* view = s.app.View();
  CRect sel;
  sel.left = sel.right = 1;  // interpolation pattern of a 2-axis group
  sel.top = sel.bottom = 3;
  view->SetSel(sel, CPoint{1, 3});
  std::string expected = UiText(20602);
  for (size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.replace(at, 2, "\n");
  EXPECT_EQ(s.app.Frame()->GuidanceBar()->GuidanceText(), expected);
  EXPECT_NE(s.app.Frame()->ParamStatusBar()->PaneText(1).find("Unit of position : "), std::string::npos);
}

TEST(Files, SaveCloseAndReopenGiveTheSameData) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("roundtrip");
  std::vector<std::string> rows;
  std::string path;
  {
    ScriptedApp s;
    ASSERT_TRUE(s.Start());
    axcfg::CAxisCfgDoc& doc = *s.app.Document();
    UseGroupLayout(doc);
    CAxisCfgView* view = s.app.View();
    view->SetCellText(0, 599, ColumnOfNumber(*view, 0, axcfg::kColAccelTime), "321");
    // Edits arrive on the sheet shown.
    view->SetSelSheet(1);
    view->SetCellText(1, 0, ColumnOfNumber(*view, 1, axcfg::kColComment), "first table");
    ASSERT_TRUE(doc.IsModified());

    // Closing asks; Cancel keeps the window and the changes.
    boxes.answers.push_back(platform::IDCANCEL);
    EXPECT_FALSE(s.app.Frame()->close());
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Save changes to Untitled?");

    // Yes saves through Save As (no path yet) and closes.
    s.saveAnswer = dir + "/table.axc";
    boxes.answers.push_back(platform::IDYES);
    EXPECT_TRUE(s.app.Frame()->close());
    EXPECT_EQ(s.proposedName, "Untitled");
    path = doc.GetPathName();
    EXPECT_FALSE(doc.IsModified());
    for (int k = 0; k < doc.GetRowCount(); ++k)
      for (uint32_t e : {view->GetSheetData(0), view->GetSheetData(1)}) rows.push_back(doc.BuildRowText(e, k));
    EXPECT_EQ(s.app.RecentFiles().front(), path);
    s.app.ExitInstance();
  }
  ScriptedApp s;
  s.startChoice = StartChoice::Open;
  s.openAnswer = path;
  ASSERT_TRUE(s.Start());
  axcfg::CAxisCfgDoc& doc = *s.app.Document();
  CAxisCfgView* view = s.app.View();
  EXPECT_EQ(doc.GetPathName(), path);
  ASSERT_EQ(view->GetSheetCount(), 2);
  EXPECT_EQ(view->GetSheetName(0), "[A] 2,5Axis");
  std::vector<int> after;
  std::vector<std::string> reread;
  for (int k = 0; k < doc.GetRowCount(); ++k)
    for (uint32_t e : {view->GetSheetData(0), view->GetSheetData(1)}) reread.push_back(doc.BuildRowText(e, k));
  EXPECT_EQ(reread, rows);
  EXPECT_EQ(view->GetCellText(1, 0, ColumnOfNumber(*view, 1, axcfg::kColComment)), "first table");
  EXPECT_EQ(s.app.RecentFiles().front(), path);

  // Opening the open, changed file asks whether to replace it: No keeps
  // the change, Yes reads the file again.
  view->SetCellText(0, 5, ColumnOfNumber(*view, 0, axcfg::kColDwellTime), "42");
  boxes.boxes.clear();
  boxes.answers = {platform::IDNO};
  EXPECT_TRUE(s.app.OpenDocumentFile(path));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Is it OK to replace with the specified [" + path + "] ?");
  EXPECT_EQ(doc.GetPosData(5)->GetDwellTime(1), 42);
  boxes.answers = {platform::IDYES};
  EXPECT_TRUE(s.app.OpenDocumentFile(path));
  EXPECT_EQ(doc.GetPosData(5)->GetDwellTime(1), 0);
  EXPECT_FALSE(doc.IsModified());
}

TEST(Files, RecentFilesKeepTenNewestFirstAndDropOnesThatNoLongerOpen) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("recent");
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  for (int i = 0; i < 12; ++i) {
    s.saveAnswer = dir + "/f" + std::to_string(i);
    ASSERT_TRUE(s.app.OnFileSaveAs());
  }
  ASSERT_EQ(s.app.RecentFiles().size(), 10u);
  EXPECT_EQ(s.app.RecentFiles().front(), dir + "/f11.axc");
  EXPECT_EQ(s.app.RecentFiles().back(), dir + "/f2.axc");
  // Reopening one moves it to the front, once.
  ASSERT_TRUE(s.app.OpenDocumentFile(dir + "/f5.axc"));
  EXPECT_EQ(s.app.RecentFiles().front(), dir + "/f5.axc");
  EXPECT_EQ(s.app.RecentFiles().size(), 10u);
  // A listed file that has gone is reported and leaves the list.
  std::filesystem::remove(dir + "/f7.axc");
  const auto& list = s.app.RecentFiles();
  const int index = static_cast<int>(std::find(list.begin(), list.end(), dir + "/f7.axc") - list.begin());
  ASSERT_LT(index, 10);
  boxes.boxes.clear();
  s.app.OnCommand(ID_FILE_MRU_FILE1 + index);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(std::count(s.app.RecentFiles().begin(), s.app.RecentFiles().end(), dir + "/f7.axc"), 0);
  EXPECT_EQ(s.app.Document()->GetPathName(), dir + "/f5.axc");  // the open document stays

  // The list survives a restart.
  const std::vector<std::string> kept = s.app.RecentFiles();
  s.app.ExitInstance();
  ScriptedApp again;
  ASSERT_TRUE(again.Start());
  EXPECT_EQ(again.app.RecentFiles(), kept);
}

TEST(Files, NewAsksForAModifiedDocumentAndGivesTheDefaultLayout) {
  keldtest::MessageBoxRecorder boxes;
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  UseGroupLayout(*s.app.Document());
  s.app.View()->SetCellText(0, 0, 0, "C");
  ASSERT_TRUE(s.app.Document()->IsModified());
  boxes.answers = {platform::IDCANCEL};
  EXPECT_FALSE(s.app.OnFileNew());
  EXPECT_EQ(s.app.View()->GetSheetCount(), 2);
  boxes.answers = {platform::IDNO};
  EXPECT_TRUE(s.app.OnFileNew());
  EXPECT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(s.app.View()->GetSheetCount(), 1);
  EXPECT_EQ(s.app.View()->GetSheetName(0), "1Axis");
  EXPECT_EQ(s.app.View()->GetCellText(0, 0, 0), "E: End");
  EXPECT_FALSE(s.app.Document()->IsModified());
}

TEST(MainFrame, StatusPanesFollowTheFirstAxisOfTheSheetShown) {
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  axcfg::CAxisCfgDoc& doc = *s.app.Document();
  doc.GetParamBlock().SetUnitCode(1, axcfg::kUnitUm01);      // axis 2, first of group A
  doc.GetParamBlock().SetUnitCode(4, axcfg::kUnitDegree1);   // axis 5 does not count
  UseGroupLayout(doc);
  CParamStatusBar* bar = s.app.Frame()->ParamStatusBar();
  EXPECT_EQ(bar->PaneText(1), "Unit of position : " + axcfg::UnitName(axcfg::kUnitUm01));
  EXPECT_EQ(bar->PaneText(2), "Unit of speed : " + axcfg::UnitSpeedText(axcfg::kUnitUm01));
  s.app.View()->SetSelSheet(1);  // axis 1 alone, in pulses
  EXPECT_EQ(bar->PaneText(1), "Unit of position : " + axcfg::UnitName(axcfg::kUnitPulse));
  EXPECT_EQ(bar->PaneText(0).rfind("Destination of communication : ", 0), 0u);
}

TEST(MainFrame, ToolbarButtonsShowTheirCommandsAndTheGuidanceBarFloatsSmall) {
  // No theme with these names: every button falls back to the bundled icon.
  const QString theme = QIcon::themeName();
  QIcon::setThemeName(QStringLiteral("keld-no-such-theme"));
  ScriptedApp s;
  ASSERT_TRUE(s.Start());
  CMainFrame* frame = s.app.Frame();
  auto* bar = frame->findChild<QToolBar*>(QStringLiteral("ToolBar"));
  ASSERT_NE(bar, nullptr);
  int buttons = 0;
  for (QAction* action : bar->actions()) {
    if (action->isSeparator()) continue;
    ++buttons;
    EXPECT_FALSE(action->icon().pixmap(24, 24).isNull()) << action->text().toStdString();
    EXPECT_FALSE(action->toolTip().isEmpty()) << action->text().toStdString();
    EXPECT_FALSE(action->statusTip().isEmpty()) << action->text().toStdString();
  }
  EXPECT_GE(buttons, 8);
  // Every command explains itself in the status bar.
  for (int id : frame->Commands().CommandIds())
    if (id < ID_FILE_MRU_FILE1 || id >= ID_FILE_MRU_FILE1 + kRecentFileCount)
      EXPECT_FALSE(frame->Commands().Action(id)->statusTip().isEmpty()) << id;
  // Two commands never share a picture.
  EXPECT_NE(frame->Commands().Action(ID_UPLOAD)->icon().pixmap(24, 24).toImage(),
            frame->Commands().Action(ID_DOWNLOAD)->icon().pixmap(24, 24).toImage());

  auto* guidance = frame->findChild<CGuidanceBar*>();
  ASSERT_NE(guidance, nullptr);
  guidance->setFloating(true);
  QApplication::processEvents();
  EXPECT_LT(guidance->width(), frame->width()) << "not the full window width";
  EXPECT_EQ(guidance->size(), QSize(380, 190));
  guidance->setFloating(false);
  s.app.ExitInstance();
  QIcon::setThemeName(theme);
}
