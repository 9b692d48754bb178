#include "axiscfg_app.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMenu>
#include <filesystem>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/setting_file.h"
#include "axis_settings_sequence.h"
#include "axiscfg_view.h"
#include "axview/helpers.h"
#include "command_ids.h"
#include "command_table.h"
#include "csv_export_dialog.h"
#include "data_check_command.h"
#include "dialog_util.h"
#include "doc_link.h"
#include "file_property_dialog.h"
#include "help_window.h"
#include "main_frame.h"
#include "qt_language.h"
#include "monitor_command.h"
#include "motion_profile_window.h"
#include "tool_opr_dlg.h"
#include "transfer_command.h"
#include "options_dialog.h"
#include "param_settings_dlg.h"
#include "platform/cp932.h"
#include "platform/folders.h"
#include "platform/help_window.h"
#include "platform/message_box.h"
#include "select_slot_dialog.h"
#include "single_instance.h"
#include "splash_window.h"
#include "startup_rules.h"
#include "ui_strings.h"
#include "verify_result_dialog.h"

namespace axcfgui {

namespace {

constexpr const char* kInstanceName = "AxisCfg";
constexpr int kHelpConfiguration = 6600;
constexpr int kHelpFileProperty = 2500;

// "text|pattern|" of the string table as a Qt file-dialog filter.
QString QtFilter() {
  const std::string f = UiText(kIdsFileFilter);
  const size_t bar = f.find('|');
  if (bar == std::string::npos) return QString::fromStdString(f);
  const size_t end = f.find('|', bar + 1);
  const std::string pattern = f.substr(bar + 1, end == std::string::npos ? std::string::npos : end - bar - 1);
  return QString::fromStdString(f.substr(0, bar) + " (" + pattern + ")");
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  auto ca = std::filesystem::weakly_canonical(a, ec);
  if (ec) return a == b;
  auto cb = std::filesystem::weakly_canonical(b, ec);
  if (ec) return a == b;
  return ca == cb;
}

int Message(const std::string& text, unsigned type) { return axcfg::AxisCfgMessageBox(text, type); }

// Commands that only show something leave an open cell edit as it is.
bool NeedsFinishedEdit(int id) {
  switch (id) {
    case ID_HELP_CONTENTS: case ID_APP_ABOUT: case ID_VIEW_TOOLBAR: case ID_VIEW_STATUS_BAR:
    case ID_VIEW_PARAM_STATUS: case ID_VIEW_GUIDANCE: case ID_VIEW_REBAR:
      return false;
    default: return true;
  }
}

}  // namespace

std::string CommandLineFile(const QStringList& arguments) {
  for (int i = 1; i < arguments.size(); ++i)
    if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i].toStdString();
  return {};
}

CAxisCfgApp::CAxisCfgApp() {
  m_prompts.startDialog = [this](QWidget* parent) {
    CStartDialog dialog(parent);
    dialog.EnableUpload(m_frame && m_frame->Commands().Action(ID_UPLOAD)->isEnabled());
    dialog.exec();
    return dialog.Choice();
  };
  m_prompts.openFile = [](QWidget* parent, const std::string& folder) {
    return QFileDialog::getOpenFileName(parent, QString(), QString::fromStdString(folder), QtFilter()).toStdString();
  };
  m_prompts.saveFile = [](QWidget* parent, const std::string& folder, const std::string& proposed) {
    QFileDialog dialog(parent, QString(), QString::fromStdString(folder), QtFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("axc"));
    dialog.selectFile(QString::fromStdString(proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().first().toStdString();
  };
  m_prompts.verifyFile = [](QWidget* parent, const std::string& folder) {
    return QFileDialog::getOpenFileName(parent, QString::fromStdString(UiText(kIdsChooseVerifyFile)),
                                        QString::fromStdString(folder), QtFilter())
        .toStdString();
  };
  m_prompts.exportCsv = [](CCsvExportDialog& dialog) { dialog.exec(); };
  m_prompts.showVerifyResult = [](CVerifyResultDialog& dialog) { dialog.exec(); };
  m_prompts.editParameters = [](CParamSettingsDlg& dialog) { return dialog.exec(); };
  m_prompts.axisDialog = [](QDialog& dialog) { return dialog.exec(); };
  RegisterCommands();
  // The data check takes the user to a parameter out of range in the editor.
  SetParameterFailureHandler([this] { OpenParameterEditor(true); });
}

CAxisCfgApp::~CAxisCfgApp() {
  SetParameterFailureHandler({});
  ExitInstance();
}

CAxisCfgView* CAxisCfgApp::View() const { return m_frame ? m_frame->View() : nullptr; }

void CAxisCfgApp::BringToFront() {
  if (!m_frame) return;
  if (m_frame->isMinimized()) m_frame->showNormal();
  m_frame->raise();
  m_frame->activateWindow();
  if (QWidget* popup = QApplication::activeModalWidget()) popup->raise();
}

bool CAxisCfgApp::SelectLanguage() {
  const int requested = GetLanguageRegistry();
  LanguageChoice choice = ChooseLanguage(
      requested, [](int language) { return IsLanguageListRegistry(language) != 0; }, &LoadLanguageTables);
  if (!choice.ok) {
    // No table is in force: the message is a fixed English text.
    platform::ShowMessageBox(kMsgNoResource, platform::MB_OK | platform::MB_ICONEXCLAMATION, axcfg::kMessageCaption);
    return false;
  }
  if (choice.fellBack)
    platform::ShowMessageBox(kMsgLanguageFallback, platform::MB_OK | platform::MB_ICONEXCLAMATION,
                             axcfg::kMessageCaption);
  m_language = choice.language;
  m_resourcesLoaded = true;
  InstallQtTranslations(m_language);
  return true;
}

void CAxisCfgApp::ShowSplash(const QStringList& arguments) {
  if (arguments.contains(QStringLiteral("--no-splash"))) return;
  auto info = ReadSplashFile((std::filesystem::path(platform::ProgramDir()) / "AxisCfg.Opn").string());
  if (!info) return;
  std::unique_ptr<CSplashWindow> splash(CSplashWindow::Create(*info));
  if (splash) splash->RunUntilClosed();
}

CMotionProfileWindow* CAxisCfgApp::ProfileWindow() const { return m_profileWindow; }

void CAxisCfgApp::ShowMotionProfile(uint32_t entry, int tableNo) {
  if (!m_doc || !m_frame) return;
  if (!m_profileWindow) m_profileWindow = new CMotionProfileWindow(m_frame.get(), m_helpFile);
  m_profileWindow->ShowFrom(*m_doc, entry, tableNo);
}

std::unique_ptr<axcfg::CDocLinkObject> CAxisCfgApp::MakeLink() {
  if (!m_linkLibrary) return nullptr;
  return std::make_unique<CDocUnitLink>(*m_linkLibrary, m_linkDialogs, m_language);
}

void CAxisCfgApp::CreateStartupDocument() {
  m_doc = std::make_unique<axcfg::CAxisCfgDoc>();
  m_doc->SetLinkObject(MakeLink());
  m_frame = std::make_unique<CMainFrame>();
  m_doc->AddView(View());
  m_axisSequence = std::make_unique<CAxisSettingsSequence>(
      m_frame.get(), [this](QDialog& dialog) { return m_prompts.axisDialog(dialog); });
  m_doc->SetAxisSettingsSequence(m_axisSequence.get());
  // The start-up document never asks for its axes.
  m_optionFlags |= 2;
  m_doc->SetAskAxesForNewFile(false);
  m_doc->OnNewDocument();
  m_doc->SetTitle(UiText(kIdsUntitled));
  View()->InitialUpdate(true);
  m_optionFlags &= ~2u;
  m_optionFlags |= 1;
  m_doc->SetAskAxesForNewFile(true);

  // What is being typed into a cell belongs to the document before it closes.
  m_frame->canClose = [this] { return View()->CommitPendingEdit() && SaveModified(); };
  connect(&m_frame->Commands(), &CCommandTable::command, this, [this](int id) { OnCommand(id); });
  connect(m_frame.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
    // One document at a time: the first file dropped is opened.
    if (!paths.isEmpty()) OpenDocumentFile(paths.first().toStdString());
  });
  connect(View(), &CAxisCfgView::sheetChanged, this, [this] { UpdateCommandStates(); });
  connect(View(), &CAxisCfgView::historyChanged, this, [this] {
    UpdateCommandStates();
    // Every change of the tables in the grid: an open preview follows it.
    if (m_profileWindow && m_profileWindow->isVisible()) m_profileWindow->Refresh();
  });
  connect(View(), &CAxisCfgView::previewRequested, this,
          [this](uint32_t entry, int tableNo) { ShowMotionProfile(entry, tableNo); });
  // Menus show the states of the moment (selection, clipboard).
  for (QMenu* menu : m_frame->findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
  RefreshRecentMenu();
  UpdateCommandStates();
  UpdateTitle();
}

bool CAxisCfgApp::InitInstance(const QStringList& arguments) {
  SetAppRegistryKey(kAppRegistryKey);
  SetAppName(axcfg::kMessageCaption);
  SetAppStringModule(axcfg::kStringModule);
  RegisterAxisCfgUiStrings();
  SeedInstallSettings();

  m_instance = new CSingleInstance(kInstanceName, this);
  platform::KeepHelpUsableBesideDialogs();
  if (!m_instance->Take()) {
    delete m_instance;
    m_instance = nullptr;
    return false;
  }
  connect(m_instance, &CSingleInstance::activationRequested, this, &CAxisCfgApp::BringToFront);
  m_recent.Load();
  if (!SelectLanguage()) return false;
  m_helpFile = HelpFileName(m_language);
  SetAppHelpFile(m_helpFile);

  if (m_language == 0) {
    // The English dialog font: 720 / the horizontal dialog base unit, in
    // tenths of a point.
    const int baseUnit = QFontMetrics(QApplication::font()).averageCharWidth();
    if (baseUnit > 0) {
      m_dialogFont = std::make_unique<QFont>(QStringLiteral("MS Sans Serif"));
      m_dialogFont->setStyleHint(QFont::SansSerif);
      m_dialogFont->setPointSizeF(720.0 / baseUnit / 10.0);
      SetDialogFont(m_dialogFont.get());
    }
  }
  ShowSplash(arguments);

  CreateStartupDocument();
  m_frame->RestorePlacement();
  m_frame->ShowWithPlacement();

  m_currentPath = ReadCurrentPath();
  m_toolOprTimes = ReadToolOprTimes();

  const std::string file = CommandLineFile(arguments);
  if (!file.empty()) {
    if (!OpenDocumentFile(file)) return false;
  } else {
    switch (m_prompts.startDialog(m_frame.get())) {
      case StartChoice::New: OnFileNew(); break;
      case StartChoice::Open: OnCommand(ID_FILE_OPEN); break;
      case StartChoice::Upload: OnCommand(ID_UPLOAD); break;
      case StartChoice::Exit: return false;
      case StartChoice::Closed: break;
    }
  }
  m_frame->setProperty(kInstanceName, 1);
  return true;
}

int CAxisCfgApp::ExitInstance() {
  platform::CloseHelpPages();
  if (m_frame) m_frame->SavePlacementAndBars();
  if (m_doc && View()) m_doc->RemoveView(View());
  m_frame.reset();
  m_doc.reset();
  SetDialogFont(nullptr);
  m_dialogFont.reset();
  delete m_instance;
  m_instance = nullptr;
  return 0;
}

bool CAxisCfgApp::OnCommand(int id) {
  // A command works on what the grid shows: an open cell edit is finished
  // first, and a refused value stops the command.
  if (NeedsFinishedEdit(id) && View() && !View()->CommitPendingEdit()) return true;
  return m_commands.Dispatch(id);
}

void CAxisCfgApp::RegisterCommands() {
  CCommandDispatch& c = m_commands;
  const auto withLink = [this] { return m_doc && CDocUnitLink::Of(*m_doc) != nullptr; };
  for (int i = 0; i < kRecentFileCount; ++i)
    c.Add(ID_FILE_MRU_FILE1 + i, [this, i] {
      const auto& files = m_recent.Files();
      if (static_cast<size_t>(i) < files.size()) OpenDocumentFile(files[static_cast<size_t>(i)]);
    });
  c.Add(ID_FILE_NEW, [this] { OnFileNew(); });
  c.Add(ID_FILE_OPEN, [this] { OnFileOpen(); });
  c.Add(ID_FILE_SAVE, [this] { OnFileSave(); });
  c.Add(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
  c.Add(ID_FILE_PROPERTIES, [this] { OnFileProperties(); });
  c.Add(ID_FILE_PRINT, [this] { View()->Print(m_frame.get()); });
  c.Add(ID_FILE_PRINT_PREVIEW, [this] { View()->PrintPreview(m_frame.get()); });
  c.Add(ID_EDIT_UNDO, [this] { View()->OnEditUndo(); }, [this] { return View()->OnUpdateEditUndo() != 0; });
  c.Add(ID_EDIT_REDO, [this] { View()->OnEditRedo(); }, [this] { return View()->OnUpdateEditRedo() != 0; });
  c.Add(ID_SELECT_SLOT, [this] {
    if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc)) {
      CSelectSlotDialog dialog(m_frame.get(), link->Link());
      dialog.exec();
      m_frame->UpdateStatusPanes();
    }
  }, withLink);
  for (int id : {ID_UPLOAD, ID_DOWNLOAD, ID_VERIFY_UNIT, ID_WRITE_FROM})
    c.Add(id, [this, id] {
      if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc))
        RunTransferCommand(id, link->Link(), *m_doc, View(), m_frame.get(), [this] { m_frame->UpdateStatusPanes(); });
    }, withLink);
  for (int id : {ID_DATA_MONITOR, ID_STATUS_DISPLAY})
    c.Add(id, [this, id] {
      if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc))
        RunMonitorCommand(link->Link(), id == ID_STATUS_DISPLAY, m_frame.get(), m_helpFile);
    }, withLink);
  c.Add(ID_TOOL_OPERATION, [this] {
    if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc))
      RunToolOprCommand(link->Link(), m_doc.get(), m_toolOprTimes, m_frame.get());
  }, withLink);
  c.Add(ID_APP_EXIT, [this] { m_frame->close(); });
  c.Add(ID_EDIT_SELECT_ALL, [this] { View()->SelectAll(); }, [this] { return View()->CanSelectAll(); });
  c.Add(ID_EDIT_CUT, [this] { View()->OnEditCut(); }, [this] { return View()->OnUpdateEditCut() != 0; });
  c.Add(ID_EDIT_COPY, [this] { View()->OnEditCopy(); }, [this] { return View()->OnUpdateEditCopy() != 0; });
  c.Add(ID_EDIT_PASTE, [this] { View()->OnEditPaste(); }, [this] { return View()->OnUpdateEditPaste() != 0; });
  c.Add(ID_EDIT_FIND, [this] { View()->OnEditFind(); }, [this] { return View()->OnUpdateEditFind() != 0; });
  c.Add(ID_EDIT_REPLACE, [this] { View()->OnEditReplace(); },
        [this] { return View()->OnUpdateEditReplace() != 0; });
  c.Add(ID_OPTION_CONFIGURATION, [this] { OnOptions(); });
  const auto withDocument = [this] { return m_doc != nullptr; };
  c.Add(ID_CHECK_DATA, [this] { RunDataCheck(View(), true); }, withDocument);
  c.Add(ID_EXPORT_CSV, [this] { OnExportCsv(); }, withDocument);
  c.Add(ID_MOTION_PROFILE, [this] {
    CRect selection;
    CPoint cursor;
    View()->GetSel(selection, cursor);
    ShowMotionProfile(View()->CurrentEntry(), std::max(cursor.y, 0) + 1);
  }, withDocument);
  c.Add(ID_VERIFY_FILE, [this] { OnVerifyFile(); }, withDocument);
  c.Add(ID_PARAMETER_SETTINGS, [this] { OpenParameterEditor(false); }, withDocument);
  c.Add(ID_CHANGE_AXIS, [this] { OnChangeAxis(); }, withDocument);
  c.Add(ID_OPTION_FONT, [this] { View()->ChangeDrawingElements(); });
  c.Add(ID_HELP_CONTENTS, [this] { ShowHelp(m_frame.get(), m_helpFile, 0); });
  c.Add(ID_APP_ABOUT, [] {
    Message(UiText(kIdsAbout) + "\r\n" + UiFormat(kIdsVersion, AXISCFG_VERSION),
            platform::MB_OK | platform::MB_ICONINFORMATION);
  });
  c.Add(ID_OPTION_COMMUNICATION, [this] {
    if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc)) {
      link->Link().CommunicationSettings(m_frame.get());
      m_frame->UpdateStatusPanes();
    }
  }, withLink);
  c.Add(ID_STATION_NO, [this] {
    if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc)) {
      link->Link().SpecifyStationNo(m_frame.get());
      m_frame->UpdateStatusPanes();
    }
  }, withLink);
  // The frame shows and hides its bars itself.
  for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PARAM_STATUS, ID_VIEW_GUIDANCE}) c.AddState(id);
}

void CAxisCfgApp::UpdateCommandStates() { m_commands.UpdateStates(m_frame->Commands()); }

bool CAxisCfgApp::SaveModified() {
  if (!m_doc || !m_doc->IsModified()) return true;
  const int answer = Message(UiFormat(kIdsAskToSave, m_doc->GetTitle()),
                             platform::MB_YESNOCANCEL | platform::MB_ICONEXCLAMATION);
  if (answer == platform::IDCANCEL) return false;
  if (answer == platform::IDNO) return true;
  return OnFileSave();
}

bool CAxisCfgApp::OnFileNew() {
  if (!SaveModified()) return false;
  if (!m_doc->OnNewDocument()) return false;
  m_doc->SetTitle(UiText(kIdsUntitled));
  m_doc->UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  m_doc->SetModifiedFlag(false);
  View()->MarkSaved();
  UpdateTitle();
  m_frame->UpdateStatusPanes();
  return true;
}

void CAxisCfgApp::OnChangeAxis() {
  // The document rebuilds the sheets itself when the layout changed.
  m_doc->ChangeAxes();
  UpdateTitle();
  m_frame->UpdateStatusPanes();
  UpdateCommandStates();
}

bool CAxisCfgApp::OnFileOpen() {
  m_conversion = false;
  const std::string path = m_prompts.openFile(m_frame.get(), m_currentPath);
  if (path.empty()) return false;
  return OpenDocumentFile(path);
}

bool CAxisCfgApp::OpenDocumentFile(const std::string& path) {
  m_conversion = false;
  if (SamePath(path, m_doc->GetPathName())) {
    if (m_doc->IsModified()) {
      if (Message(UiFormat(kIdsReplaceOpen, path), platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return true;  // the open document stays as it is
    } else {
      return true;  // already open and unchanged
    }
  } else if (!SaveModified()) {
    return false;
  }
  const axcfg::FileStatus status = axcfg::OpenDocumentFile(*m_doc, path);
  if (!status.Succeeded()) {
    Message(axcfg::FileStatusText(status, path, m_doc->GetTitle()), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    // A recent file that no longer opens leaves the list.
    if (m_recent.Remove(path)) RefreshRecentMenu();
    return false;
  }
  m_doc->UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  m_doc->SetModifiedFlag(false);
  View()->MarkSaved();
  if (status.id == axcfg::kMsgConverted) {
    m_conversion = true;
    Message(axcfg::FileStatusText(status, path, m_doc->GetTitle()), platform::MB_OK);
  }
  AddRecentFile(path);
  UpdateTitle();
  m_frame->UpdateStatusPanes();
  return true;
}

bool CAxisCfgApp::OnFileSave() {
  if (m_doc->GetPathName().empty()) return OnFileSaveAs();
  return DoSave(axcfg::SavePathOf(*m_doc));
}

bool CAxisCfgApp::OnFileSaveAs() {
  const std::string proposed = axcfg::ProposedSaveAsName(m_doc->GetTitle());
  std::string name = m_prompts.saveFile(m_frame.get(), m_currentPath, proposed);
  if (name.empty()) return false;
  return DoSave(axcfg::WithSettingFileExtension(name));
}

bool CAxisCfgApp::DoSave(const std::string& path) {
  const axcfg::FileStatus status = axcfg::SaveDocumentFile(*m_doc, path);
  if (!status.Succeeded()) {
    Message(axcfg::FileStatusText(status, path, m_doc->GetTitle()), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return false;
  }
  m_conversion = false;
  View()->MarkSaved();
  AddRecentFile(path);
  UpdateTitle();
  return true;
}

void CAxisCfgApp::OnOptions() {
  OptionValues values;
  values.currentPath = m_currentPath.empty() ? ReadCurrentPath() : m_currentPath;
  values.toolOprTimes = m_toolOprTimes;
  values.language = m_language;
  const bool offerLanguage = GetLanguageListRegistry(nullptr, 1) >= 2;
  COptionsDialog dialog(m_frame.get(), values, offerLanguage);
  dialog.onHelp = [this] { ShowHelp(m_frame.get(), m_helpFile, kHelpConfiguration); };
  if (dialog.exec() != QDialog::Accepted) return;
  const OptionValues chosen = dialog.Values();
  // The language applies from the next start.
  if (offerLanguage) SetLanguageRegistry(chosen.language);
  m_currentPath = chosen.currentPath;
  WriteCurrentPath(m_currentPath);
  m_toolOprTimes = ClampToolOprTimes(chosen.toolOprTimes);
  WriteToolOprTimes(m_toolOprTimes);
}

void CAxisCfgApp::OnFileProperties() {
  CFilePropertyDialog dialog(m_frame.get(), m_doc->GetPropertyFileName(), m_doc->GetCreator(), m_doc->GetComment(),
                             FileDateText(m_doc->GetPathName()));
  dialog.onHelp = [this] { ShowHelp(m_frame.get(), m_helpFile, kHelpFileProperty); };
  // A refused OK keeps the dialog open with what the user typed.
  dialog.onAccept = [this](const std::string& creator, const std::string& comment) {
    for (const std::string* text : {&creator, &comment}) {
      const std::string bad = platform::FirstCharNotInCp932(*text);
      if (!bad.empty()) {
        Message(UiFormat(kIdsCharNotStorable, bad), platform::MB_OK | platform::MB_ICONEXCLAMATION);
        return false;
      }
    }
    if (m_doc->ApplyFileProperties(creator, comment)) return true;
    Message(UiText(kIdsPropertyTooLong), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return false;
  };
  dialog.exec();
  UpdateTitle();
}

void CAxisCfgApp::AddRecentFile(const std::string& path) {
  m_recent.Add(path);
  RefreshRecentMenu();
}

void CAxisCfgApp::RefreshRecentMenu() {
  if (!m_frame) return;
  m_recent.FillMenu(m_frame->Commands().RecentFileMenu(), [this](int id) { OnCommand(id); });
}

void CAxisCfgApp::UpdateTitle() {
  if (!m_frame) return;
  m_frame->setWindowTitle(QString::fromStdString(m_doc->GetTitle() + " - " + axcfg::kMessageCaption));
}

}  // namespace axcfgui
