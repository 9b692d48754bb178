#pragma once
// CAxisCfgApp: the configuration tool's application object. Start-up
// (language, splash, the start-up document, settings, start dialog), the
// file commands on the one document, options and exit.
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "axcfg_data/axcfg_doc.h"
#include "command_dispatch.h"
#include "recent_file_list.h"
#include "start_dialog.h"

class QDialog;
class QFont;
namespace axcfg {
class ILinkDialogs;
class ILinkLibrary;
}

namespace axcfgui {

class CMainFrame;
class CAxisCfgView;
class CAxisSettingsSequence;
class CCsvExportDialog;
class CSingleInstance;
class CVerifyResultDialog;
class CParamSettingsDlg;
class CMotionProfileWindow;

class CAxisCfgApp : public QObject {
  Q_OBJECT

 public:
  // Where the dialogs the user answers come from; tests replace them.
  struct Prompts {
    std::function<StartChoice(QWidget*)> startDialog;
    // The file to open; empty when cancelled.
    std::function<std::string(QWidget*, const std::string& folder)> openFile;
    // The file to save as, from a proposed name; empty when cancelled.
    std::function<std::string(QWidget*, const std::string& folder, const std::string& proposed)> saveFile;
    // The setting file to verify the document against; empty when cancelled.
    std::function<std::string(QWidget*, const std::string& folder)> verifyFile;
    // Runs the CSV export dialog and the verification result window.
    std::function<void(CCsvExportDialog&)> exportCsv;
    std::function<void(CVerifyResultDialog&)> showVerifyResult;
    // Runs the parameter settings dialog; returns its result.
    std::function<int(CParamSettingsDlg&)> editParameters;
    // Runs one dialog of the axis settings sequence and returns its result.
    std::function<int(QDialog&)> axisDialog;
  };

  CAxisCfgApp();
  ~CAxisCfgApp() override;

  Prompts& GetPrompts() { return m_prompts; }
  // The communication library and the settings dialogs the document's link uses.
  void SetLinkLibrary(axcfg::ILinkLibrary* library, axcfg::ILinkDialogs* dialogs) {
    m_linkLibrary = library;
    m_linkDialogs = dialogs;
  }

  // Start-up; false ends the program (second instance, no texts, Exit in
  // the start dialog, a command-line file that does not open).
  bool InitInstance(const QStringList& arguments);
  int ExitInstance();

  CMainFrame* Frame() const { return m_frame.get(); }
  CAxisCfgView* View() const;
  axcfg::CAxisCfgDoc* Document() const { return m_doc.get(); }
  int Language() const { return m_language; }
  const std::string& HelpFile() const { return m_helpFile; }
  const std::string& CurrentPath() const { return m_currentPath; }
  int ToolOprTimes() const { return m_toolOprTimes; }
  bool ConversionFlag() const { return m_conversion; }
  const std::vector<std::string>& RecentFiles() const { return m_recent.Files(); }

  // The commands, by id; returns false for a command not handled here.
  bool OnCommand(int id);
  bool OnFileNew();
  bool OnFileOpen();
  bool OpenDocumentFile(const std::string& path);
  bool OnFileSave();
  bool OnFileSaveAs();
  // Asks to save a modified document: false when the user cancelled (or
  // the save failed).
  bool SaveModified();
  void OnOptions();
  void OnFileProperties();
  // The data commands on the open document: export as CSV files and verify
  // against a setting file.
  void OnExportCsv();
  void OnVerifyFile();
  // "Parameter Settings": the editor on the document; with checkOnShow it
  // selects the first value out of range when it opens. True after OK.
  bool OpenParameterEditor(bool checkOnShow);
  // Set Axis > Change Axis: the axis settings sequence on the open document.
  void OnChangeAxis();
  // View > Motion Profile Preview and the grid's "Preview from this table":
  // the preview window (one, kept open) from a table No. of a sheet.
  void ShowMotionProfile(uint32_t entry, int tableNo);
  CMotionProfileWindow* ProfileWindow() const;

 private:
  void RegisterCommands();
  void BringToFront();
  bool SelectLanguage();
  void ShowSplash(const QStringList& arguments);
  void CreateStartupDocument();
  bool DoSave(const std::string& path);
  void AddRecentFile(const std::string& path);
  void RefreshRecentMenu();
  void UpdateTitle();
  void UpdateCommandStates();
  std::unique_ptr<axcfg::CDocLinkObject> MakeLink();

  Prompts m_prompts;
  axcfg::ILinkLibrary* m_linkLibrary = nullptr;
  axcfg::ILinkDialogs* m_linkDialogs = nullptr;
  CSingleInstance* m_instance = nullptr;
  CCommandDispatch m_commands;
  std::unique_ptr<QFont> m_dialogFont;
  std::unique_ptr<axcfg::CAxisCfgDoc> m_doc;
  std::unique_ptr<CAxisSettingsSequence> m_axisSequence;
  std::unique_ptr<CMainFrame> m_frame;
  int m_language = 0;
  bool m_resourcesLoaded = false;
  std::string m_helpFile;
  std::string m_currentPath;
  int m_toolOprTimes = 1;
  unsigned m_optionFlags = 0;
  bool m_conversion = false;
  CRecentFileList m_recent;
  QPointer<CMotionProfileWindow> m_profileWindow;  // a child of the frame
};

// The command-line file to open: the first argument that is not an option.
std::string CommandLineFile(const QStringList& arguments);

}  // namespace axcfgui
