// The export dialog: the file names it shows while the name is typed, the
// name checks that keep it open, overwriting and failures while writing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>
#include <sys/stat.h>

#include "axcfg_data/axcfg_doc.h"
#include "csv_export_dialog.h"
#include "message_box_recorder.h"
#include "test_home.h"
#include "ui_strings.h"

using namespace axcfgui;

namespace {

struct FileState {
  std::string bytes;
  long long mtimeNs = -1;
  bool operator==(const FileState&) const = default;
};
FileState StateOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {keldtest::ReadWholeFile(path), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

// Axis 3 alone and group B of axes 1 and 2, in a dialog on a fresh folder.
struct ExportDialog {
  axcfg::CAxisCfgDoc doc;
  std::string dir;
  std::unique_ptr<CCsvExportDialog> dialog;

  explicit ExportDialog(const std::string& hint) : dir(keldtest::FreshDir(hint)) {
    RegisterAxisCfgUiStrings();
    axcfg::CAxisLayout layout;
    layout.Clear();
    layout.Append(axcfg::MakeSingleAxisEntry(2));
    layout.Append(axcfg::MakeGroupEntry(2, 0x03));
    doc.SetLayout(layout);
    dialog = std::make_unique<CCsvExportDialog>(nullptr, doc, dir);
    dialog->show();
  }
  // Types the name and presses OK; true when the dialog closed.
  bool Ok(const std::string& base) {
    dialog->BaseNameEdit()->setText(QString::fromStdString(base));
    dialog->accept();
    return dialog->result() == QDialog::Accepted;
  }
  std::vector<FileState> Files() const {
    return {StateOf(dir + "/abcP.csv"), StateOf(dir + "/abc3.csv"), StateOf(dir + "/abcB.csv")};
  }
  std::string Box(QLineEdit* box) const { return box->text().toStdString(); }
};

TEST(CsvExportDialog, ShowsTheFileNamesAsTheNameIsTyped) {
  ExportDialog d("csvnames");
  auto& dialog = *d.dialog;
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Export to CSV");
  EXPECT_EQ(d.Box(dialog.FolderEdit()), d.dir);
  dialog.BaseNameEdit()->setText(QStringLiteral("abc"));
  EXPECT_EQ(d.Box(dialog.ParameterFileBox()), d.dir + "/abcP.csv");
  EXPECT_EQ(d.Box(dialog.SheetFileBox(0)), d.dir + "/abc3.csv");
  EXPECT_EQ(d.Box(dialog.SheetFileBox(1)), d.dir + "/abcB.csv");
  EXPECT_TRUE(dialog.SheetFileBox(1)->isVisible());
  EXPECT_FALSE(dialog.SheetFileBox(2)->isVisible()) << "one box per sheet";
  EXPECT_TRUE(dialog.ParameterFileBox()->isReadOnly());
  std::vector<std::string> labels;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->isVisible()) labels.push_back(label->text().toStdString());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "Positioning data [B] 1,2Axis"), labels.end());

  dialog.BaseNameEdit()->setText(QStringLiteral("abc.txt"));
  EXPECT_EQ(d.Box(dialog.ParameterFileBox()), d.dir + "/abcP.csv") << "the extension is cut as OK cuts it";
  EXPECT_EQ(d.Box(dialog.SheetFileBox(1)), d.dir + "/abcB.csv");
  // Select... opens the chooser on the folder shown and takes its answer.
  std::string chooserStart;
  dialog.chooseFolder = [&](QWidget*, const std::string& start) {
    chooserStart = start;
    return std::string("/elsewhere/");
  };
  dialog.findChild<QPushButton*>("Select")->click();
  EXPECT_EQ(chooserStart, d.dir);
  EXPECT_EQ(d.Box(dialog.SheetFileBox(0)), "/elsewhere/abc3.csv");
  dialog.BaseNameEdit()->clear();
  EXPECT_EQ(d.Box(dialog.ParameterFileBox()), "");
  EXPECT_EQ(d.Box(dialog.SheetFileBox(0)), "");
}

TEST(CsvExportDialog, ImproperNamesKeepTheDialogWithTheNameSelected) {
  keldtest::MessageBoxRecorder boxes;
  ExportDialog d("csvbadnames");
  const std::string longName(270, 'x');
  for (const std::string& name : {std::string(), std::string("   "), std::string("a?b"), longName}) {
    EXPECT_FALSE(d.Ok(name)) << name;
    EXPECT_EQ(d.dialog->BaseNameEdit()->selectedText().toStdString(), name);
  }
  ASSERT_EQ(boxes.boxes.size(), 4u);
  EXPECT_EQ(boxes.boxes[0].text, "Input the file name for CSV export as the output file name.");
  EXPECT_EQ(boxes.boxes[1].text.substr(0, 30), "You cannot specify the file na");
  EXPECT_EQ(boxes.boxes[2].text.substr(0, 30), "Improper characters are includ");
  EXPECT_EQ(boxes.boxes[3].text.substr(0, 30), "The exported file name or the ");
  for (const auto& box : boxes.boxes) EXPECT_EQ(box.type & platform::MB_ICONMASK, platform::MB_ICONEXCLAMATION);
  EXPECT_EQ(d.Files(), std::vector<FileState>(3)) << "nothing written";
}

TEST(CsvExportDialog, ExistingFilesAreOverwrittenOnlyOnYesAndProtectedOnesNever) {
  keldtest::MessageBoxRecorder boxes;
  ExportDialog d("csvagain");
  ASSERT_TRUE(d.Ok("abc"));
  EXPECT_TRUE(boxes.boxes.empty());
  const std::vector<FileState> first = d.Files();
  for (const FileState& f : first) EXPECT_FALSE(f.bytes.empty());

  d.dialog = std::make_unique<CCsvExportDialog>(nullptr, d.doc, d.dir);
  d.doc.GetPosData(0)->SetComment(2, "changed");
  boxes.answers.push_back(platform::IDNO);
  EXPECT_FALSE(d.Ok("abc"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The following type of exported file already exists.\nIs it OK to overwrite it?\n" +
                                     d.dir + "/abcP.csv\n" + d.dir + "/abc3.csv\n" + d.dir + "/abcB.csv");
  EXPECT_EQ(boxes.boxes[0].type, platform::MB_YESNO | platform::MB_ICONQUESTION);
  EXPECT_EQ(d.Files(), first) << "No leaves every file as it was";

  boxes.answers.push_back(platform::IDYES);
  EXPECT_TRUE(d.Ok("abc"));
  EXPECT_NE(d.Files()[1].bytes.find(",changed\r\n"), std::string::npos);

  d.dialog = std::make_unique<CCsvExportDialog>(nullptr, d.doc, d.dir);
  d.doc.GetPosData(0)->SetComment(2, "again");
  ASSERT_EQ(::chmod((d.dir + "/abc3.csv").c_str(), 0444), 0);
  const std::vector<FileState> before = d.Files();
  EXPECT_FALSE(d.Ok("abc"));
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[2].text, "The following type of exported file already exists, and it is protected not to "
                                 "be overwritten.\nSpecify a different file name.\n" + d.dir + "/abc3.csv");
  EXPECT_EQ(d.Files(), before) << "nothing is written";
}

TEST(CsvExportDialog, AFileThatCannotBeWrittenStopsWithTheSystemsReason) {
  keldtest::MessageBoxRecorder boxes;
  ExportDialog d("csvfail");
  d.dialog->FolderEdit()->setText(QString::fromStdString(d.dir + "/none"));
  EXPECT_FALSE(d.Ok("abc"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  const std::string first = "The exported file of parameter setting data cannot be open.\n" + d.dir + "/none/abcP.csv";
  EXPECT_EQ(boxes.boxes[0].text.rfind(first, 0), 0u) << boxes.boxes[0].text;
  EXPECT_NE(boxes.boxes[0].text.find("No such file or directory"), std::string::npos);
  EXPECT_EQ(boxes.boxes[0].type & platform::MB_ICONMASK, platform::MB_ICONSTOP);

  // The group's file fails: the two before it are written and stay.
  d.dialog->FolderEdit()->setText(QString::fromStdString(d.dir));
  d.dialog->writeFiles = [&](const axcfg::CAxisCfgDoc& doc, const axcfg::CsvFileNames& names) {
    axcfg::CsvFileNames broken = names;
    broken.sheetFiles[1] = d.dir + "/none/abcB.csv";
    return axcfg::WriteCsvFiles(doc, broken);
  };
  EXPECT_FALSE(d.Ok("abc"));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text.substr(0, boxes.boxes[1].text.find('\n')),
            "The exported file of positioning setting data  [B] 1,2Axis  cannot be open.");
  EXPECT_FALSE(keldtest::ReadWholeFile(d.dir + "/abcP.csv").empty());
  EXPECT_FALSE(keldtest::ReadWholeFile(d.dir + "/abc3.csv").empty());
}

}  // namespace
