#pragma once
// CCsvExportDialog, "Export to CSV": the folder and base name of the export,
// the names of the files it will write shown as the name is typed, and the
// export itself on OK.
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "axcfg_data/csv_export.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace axcfg {
class CAxisCfgDoc;
}

namespace axcfgui {

class CCsvExportDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens on the folder given (the document's folder or the current path).
  CCsvExportDialog(QWidget* parent, const axcfg::CAxisCfgDoc& doc, const std::string& folder);

  QLineEdit* FolderEdit() const { return m_folder; }
  QLineEdit* BaseNameEdit() const { return m_base; }
  QLineEdit* ParameterFileBox() const { return m_paramFile; }
  QLineEdit* SheetFileBox(int sheet) const { return m_sheetFiles[static_cast<size_t>(sheet)]; }
  QPushButton* OkButton() const { return m_ok; }

  // Writes the files once the names are accepted; a test may wrap it.
  std::function<axcfg::CsvWriteResult(const axcfg::CAxisCfgDoc&, const axcfg::CsvFileNames&)> writeFiles =
      &axcfg::WriteCsvFiles;
  // The folder chooser; empty when cancelled.
  std::function<std::string(QWidget*, const std::string& folder)> chooseFolder;

  // OK: the name checks, the questions and the export. The dialog stays
  // open after a refused name, a No to overwriting or a failed file.
  void accept() override;

  static constexpr int kMaxSheetBoxes = 8;

 private:
  void RefreshNames();
  void KeepWithNameSelected();

  const axcfg::CAxisCfgDoc& m_doc;
  QLineEdit* m_folder;
  QLineEdit* m_base;
  QLineEdit* m_paramFile;
  std::array<QLabel*, kMaxSheetBoxes> m_sheetLabels{};
  std::array<QLineEdit*, kMaxSheetBoxes> m_sheetFiles{};
  QPushButton* m_ok = nullptr;
};

}  // namespace axcfgui
