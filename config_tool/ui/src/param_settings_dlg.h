#pragma once
// "Parameter settings": the parameters of every shown axis in a grid, the
// guidance of the current cell below it, and OK, Cancel, "Copy axis",
// "Initialize" and "Help". The dialog edits a CParamEditModel; the caller
// applies it to the document after OK.
#include <QDialog>
#include <functional>
#include <string>

#include "axcfg_data/param_edit_model.h"

class QPlainTextEdit;
class QPushButton;

namespace axcfg {
class CAxisCfgDoc;
}

namespace axcfgui {

class CParamEditGrid;

class CParamSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 4000;

  // With checkOnShow the OK check runs once, after the dialog first shows.
  CParamSettingsDlg(QWidget* parent, axcfg::CParamEditModel& model, bool checkOnShow, std::string helpFile);

  CParamEditGrid* Grid() const { return m_grid; }
  QPlainTextEdit* GuidanceBox() const { return m_guidance; }
  QPushButton* CopyButton() const { return m_copy; }
  QPushButton* InitializeButton() const { return m_initialize; }
  // Runs the copy and initialise dialogs; tests answer them here.
  std::function<int(QDialog&)> runSubDialog = [](QDialog& dialog) { return dialog.exec(); };

  void OnCopyAxis();
  void OnInitialize();
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowGuidance(int column, int row);
  // Runs the OK check; on a failure selects the cell and shows 21183.
  bool CheckValues();
  void AfterStep(const axcfg::ParamEditResult& result);

  axcfg::CParamEditModel& m_model;
  CParamEditGrid* m_grid;
  QPlainTextEdit* m_guidance;
  QPushButton* m_copy;
  QPushButton* m_initialize;
  std::string m_helpFile;
  bool m_checkOnShow;
};

// Builds the dialog from the document and runs it through `run` (exec by
// default); on OK the records go into the document. Returns whether the
// document was changed.
bool OpenParameterEditor(axcfg::CAxisCfgDoc& doc, QWidget* parent, bool checkOnShow, const std::string& helpFile,
                         const std::function<int(CParamSettingsDlg&)>& run = {});

}  // namespace axcfgui
