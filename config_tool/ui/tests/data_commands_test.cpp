// The data commands of the running tool: Check, Export to CSV and Verify
// with a File, from the command ids the menus send.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <array>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>

#include "axc_test_file.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/setting_file.h"
#include "axiscfg_app.h"
#include "axiscfg_view.h"
#include "command_ids.h"
#include "command_table.h"
#include "csv_export_dialog.h"
#include "difference_list_dlg.h"
#include "main_frame.h"
#include "message_box_recorder.h"
#include "test_home.h"
#include "verify_result_dialog.h"

using namespace axcfgui;

namespace {

// The tool started on a new document; the file to verify and what the
// result window and the export dialog show are scripted.
struct RunningTool {
  CAxisCfgApp app;
  std::string verifyAnswer;
  std::string verifyFolder;
  int verifyDialogs = 0;
  std::vector<axcfg::VerifyResult> results;
  std::vector<std::array<bool, 4>> enabledLines;
  std::vector<bool> notesShown;
  std::vector<std::vector<std::string>> detailLines;  // the rows "Details..." lists
  std::function<void(CCsvExportDialog&)> exportScript;

  RunningTool() {
    app.GetPrompts().startDialog = [](QWidget*) { return StartChoice::Closed; };
    app.GetPrompts().verifyFile = [this](QWidget*, const std::string& folder) {
      ++verifyDialogs;
      verifyFolder = folder;
      return verifyAnswer;
    };
    app.GetPrompts().showVerifyResult = [this](CVerifyResultDialog& dialog) {
      results.push_back(dialog.Result());
      std::array<bool, 4> enabled{};
      for (int i = 0; i < 4; ++i) enabled[static_cast<size_t>(i)] = dialog.Line(i)->isEnabled();
      enabledLines.push_back(enabled);
      notesShown.push_back(!dialog.Note()->isHidden());
      std::vector<std::string> lines;
      if (dialog.DetailsButton()->isEnabled()) {
        dialog.DetailsButton()->click();
        CDifferenceListDlg* list = dialog.DetailsDialog();
        for (int row = 0; list && row < list->Table()->rowCount(); ++row)
          lines.push_back(list->RowLine(row).toStdString());
      }
      detailLines.push_back(lines);
    };
    app.GetPrompts().exportCsv = [this](CCsvExportDialog& dialog) {
      if (exportScript) exportScript(dialog);
    };
    EXPECT_TRUE(app.InitInstance({QStringLiteral("AxisCfg"), QStringLiteral("--no-splash")}));
  }
  axcfg::CAxisCfgDoc& Doc() { return *app.Document(); }
  bool Enabled(int id) { return app.Frame()->Commands().Action(id)->isEnabled(); }
};

void UseLayout3AndB(axcfg::CAxisCfgDoc& doc) {
  axcfg::CAxisLayout layout;
  layout.Clear();
  layout.Append(axcfg::MakeSingleAxisEntry(2));
  layout.Append(axcfg::MakeGroupEntry(2, 0x03));
  doc.SetLayout(layout);
  doc.UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
}

TEST(DataCommands, AreOfferedWithTheDocumentAndCheckFromTheMenu) {
  keldtest::MessageBoxRecorder boxes;
  RunningTool t;
  for (int id : {ID_CHECK_DATA, ID_EXPORT_CSV, ID_VERIFY_FILE}) EXPECT_TRUE(t.Enabled(id)) << id;
  t.app.Frame()->Commands().Action(ID_CHECK_DATA)->trigger();
  ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"There was no error."});
}

TEST(DataCommands, VerifyWithAFileShowsWhatDiffers) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("verifyfile");
  RunningTool t;
  UseLayout3AndB(t.Doc());
  t.Doc().GetPosData(3)->SetComment(2, "before");
  ASSERT_TRUE(axcfg::SaveSections(t.Doc(), dir + "/same.axc").Succeeded());
  t.Doc().GetPosData(3)->SetComment(2, "after");
  ASSERT_TRUE(axcfg::SaveSections(t.Doc(), dir + "/comment.axc").Succeeded());
  t.Doc().GetPosData(3)->SetComment(2, "before");

  t.verifyAnswer = dir + "/same.axc";
  ASSERT_TRUE(t.app.OnCommand(ID_VERIFY_FILE));
  EXPECT_EQ(t.verifyDialogs, 1);
  EXPECT_EQ(t.verifyFolder, t.app.CurrentPath());
  ASSERT_EQ(t.results.size(), 1u);
  EXPECT_EQ(t.results[0].target, dir + "/same.axc");
  EXPECT_EQ(t.results[0].mismatch, 0u);
  EXPECT_FALSE(t.notesShown[0]) << "comments are compared with a file";

  EXPECT_TRUE(t.detailLines[0].empty());

  t.verifyAnswer = dir + "/comment.axc";
  t.app.OnCommand(ID_VERIFY_FILE);
  ASSERT_EQ(t.results.size(), 2u);
  EXPECT_EQ(t.results[1].mismatch, axcfg::kDiffRows);
  // "Details..." lists exactly what axcfg diff and verify --list print.
  std::vector<std::string> expected;
  for (const auto& item : axcfg::VerifyWithFile(t.Doc(), dir + "/comment.axc").result.items)
    expected.push_back(axcfg::DifferenceLine(item));
  ASSERT_EQ(expected.size(), 1u);
  EXPECT_EQ(t.detailLines[1], expected);

  t.Doc().SetUnitFamily(1);
  t.verifyAnswer = dir + "/same.axc";
  t.app.OnCommand(ID_VERIFY_FILE);
  ASSERT_EQ(t.results.size(), 3u);
  EXPECT_EQ(t.results[2].mismatch, axcfg::kDiffAxisInfo);
  EXPECT_EQ(t.enabledLines[2], (std::array<bool, 4>{true, false, false, true}));
  EXPECT_TRUE(boxes.boxes.empty());

  // Cancel ends the command without a word.
  t.verifyAnswer.clear();
  t.app.OnCommand(ID_VERIFY_FILE);
  EXPECT_EQ(t.results.size(), 3u);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(DataCommands, VerifyReportsFilesItCannotUse) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("verifybad");
  RunningTool t;
  ASSERT_TRUE(axcfg::SaveSections(t.Doc(), dir + "/unit.axc").Succeeded());
  std::ofstream(dir + "/unit.txt", std::ios::binary) << keldtest::ReadWholeFile(dir + "/unit.axc");

  t.verifyAnswer = dir + "/unit.txt";
  t.app.OnCommand(ID_VERIFY_FILE);
  t.verifyAnswer = dir + "/missing.axc";
  t.app.OnCommand(ID_VERIFY_FILE);
  EXPECT_TRUE(t.results.empty());
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, "This type of file cannot be read.");
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes.boxes[1].text, "The file to be verified cannot be open.");
  EXPECT_EQ(boxes.boxes[1].type & platform::MB_ICONMASK, platform::MB_ICONSTOP);
}

TEST(DataCommands, VerifyingAnOldFileChangesNothingOfTheDocument) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("verifyold");
  std::string rec(152, '\x55');
  rec[0] = 0x01;
  rec[1] = 0x01;
  std::ofstream(dir + "/legacy.axc", std::ios::binary)
      << axctest::File({{1, axctest::LayoutSection(1, {axcfg::MakeSingleAxisEntry(0)}, std::string(28, '\0'))},
                        {2, axctest::ParamSection(8, {rec, rec})}},
                       0x0110, 1);
  RunningTool t;
  ASSERT_TRUE(axcfg::SaveSections(t.Doc(), dir + "/mine.axc").Succeeded());
  ASSERT_TRUE(t.app.OpenDocumentFile(dir + "/mine.axc"));
  const std::string title = t.app.Frame()->windowTitle().toStdString();
  const std::string before = keldtest::ReadWholeFile(dir + "/mine.axc");

  t.verifyAnswer = dir + "/legacy.axc";
  t.app.OnCommand(ID_VERIFY_FILE);
  ASSERT_EQ(t.results.size(), 1u);
  EXPECT_NE(t.results[0].mismatch, 0u) << "compared as read, without conversion";
  EXPECT_TRUE(boxes.boxes.empty()) << "no conversion message";
  EXPECT_FALSE(t.app.ConversionFlag());
  EXPECT_FALSE(t.Doc().IsModified());
  EXPECT_EQ(t.Doc().GetPathName(), dir + "/mine.axc");
  EXPECT_EQ(t.app.Frame()->windowTitle().toStdString(), title);
  ASSERT_TRUE(axcfg::SaveSections(t.Doc(), dir + "/again.axc").Succeeded());
  EXPECT_EQ(keldtest::ReadWholeFile(dir + "/again.axc"), before);
}

// The export from the menu writes next to the document what the command
// line writes for the same file.
TEST(DataCommands, ExportFromTheMenuEqualsTheCommandLine) {
  keldtest::MessageBoxRecorder boxes;
  const std::string dir = keldtest::FreshDir("exportmenu");
  RunningTool t;
  UseLayout3AndB(t.Doc());
  t.Doc().GetPosData(0)->SetComment(2, "to A, then B");
  t.Doc().GetPosData(1)->SetComment(0, "the \"home\" point");
  ASSERT_TRUE(axcfg::SaveSections(t.Doc(), dir + "/unit.axc").Succeeded());
  ASSERT_TRUE(t.app.OpenDocumentFile(dir + "/unit.axc"));
  std::string folderShown;
  t.exportScript = [&](CCsvExportDialog& dialog) {
    folderShown = dialog.FolderEdit()->text().toStdString();
    dialog.BaseNameEdit()->setText(QStringLiteral("gui"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  };
  t.app.OnCommand(ID_EXPORT_CSV);
  EXPECT_EQ(folderShown, dir);
  EXPECT_TRUE(boxes.boxes.empty());

  ::mkdir((dir + "/cli").c_str(), 0755);
  const std::string command =
      keldtest::BinPath("axcfg") + " export-csv " + dir + "/unit.axc --dir " + dir + "/cli --name gui >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* name : {"guiP.csv", "gui3.csv", "guiB.csv"}) {
    const std::string fromMenu = keldtest::ReadWholeFile(dir + "/" + name);
    EXPECT_FALSE(fromMenu.empty()) << name;
    EXPECT_EQ(fromMenu, keldtest::ReadWholeFile(dir + "/cli/" + name)) << name;
  }
}

}  // namespace
