#include "axiscfg_app.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QTimer>
#include <filesystem>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/document_file.h"
#include "axcfg_data/setting_file.h"
#include "axiscfg_view.h"
#include "axview/helpers.h"
#include "command_ids.h"
#include "command_table.h"
#include "csv_export_dialog.h"
#include "data_check_command.h"
#include "dialog_util.h"
#include "doc_link.h"
#include "help_window.h"
#include "select_slot_dialog.h"
#include "main_frame.h"
#include "monitor_command.h"
#include "platform/folders.h"
#include "platform/message_box.h"
#include "platform/named_mutex.h"
#include "platform/registry.h"
#include "splash_window.h"
#include "startup_rules.h"
#include "ui_strings.h"
#include "verify_result_dialog.h"

using platform::Hive;
using platform::Registry;

namespace axcfgui {

namespace {

constexpr const char* kInstanceName = "AxisCfg";
constexpr const char* kRecentSection = "Recent File List";
constexpr const char* kUntitled = "Untitled";
constexpr int kHelpConfiguration = 6600;
constexpr int kHelpFileProperty = 2500;

std::string InstanceSocketPath() { return platform::RuntimeDir() + "/AxisCfg.instance"; }

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
}

CAxisCfgApp::~CAxisCfgApp() { ExitInstance(); }

CAxisCfgView* CAxisCfgApp::View() const { return m_frame ? m_frame->View() : nullptr; }

bool CAxisCfgApp::TakeSingleInstance() {
  m_mutex = std::make_unique<platform::NamedMutex>(kInstanceName);
  if (!m_mutex->TryLock()) {
    m_mutex.reset();
    // Ask the first instance to come to the front.
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(InstanceSocketPath()));
    if (socket.waitForConnected(1000)) {
      socket.write("show\n");
      socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
    }
    return false;
  }
  QLocalServer::removeServer(QString::fromStdString(InstanceSocketPath()));
  m_server = new QLocalServer(this);
  m_server->listen(QString::fromStdString(InstanceSocketPath()));
  connect(m_server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* peer = m_server->nextPendingConnection()) {
      connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      if (!m_frame) continue;
      if (m_frame->isMinimized()) m_frame->showNormal();
      m_frame->raise();
      m_frame->activateWindow();
      if (QWidget* popup = QApplication::activeModalWidget()) popup->raise();
    }
  });
  return true;
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
  return true;
}

void CAxisCfgApp::ShowSplash(const QStringList& arguments) {
  if (arguments.contains(QStringLiteral("--no-splash"))) return;
  auto info = ReadSplashFile((std::filesystem::path(platform::ProgramDir()) / "AxisCfg.Opn").string());
  if (!info) return;
  std::unique_ptr<CSplashWindow> splash(CSplashWindow::Create(*info));
  if (splash) splash->RunUntilClosed();
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
  // The start-up document never asks for its axes.
  m_optionFlags |= 2;
  m_doc->SetAskAxesForNewFile(false);
  m_doc->OnNewDocument();
  m_doc->SetTitle(kUntitled);
  View()->InitialUpdate(true);
  m_optionFlags &= ~2u;
  m_optionFlags |= 1;
  m_doc->SetAskAxesForNewFile(true);

  m_frame->canClose = [this] { return SaveModified(); };
  connect(&m_frame->Commands(), &CCommandTable::command, this, [this](int id) { OnCommand(id); });
  connect(m_frame.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
    // One document at a time: the first file dropped is opened.
    if (!paths.isEmpty()) OpenDocumentFile(paths.first().toStdString());
  });
  connect(View(), &CAxisCfgView::sheetChanged, this, [this] { UpdateCommandStates(); });
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

  if (!TakeSingleInstance()) return false;
  LoadRecentFiles();
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
  if (m_frame) m_frame->SavePlacementAndBars();
  if (m_doc && View()) m_doc->RemoveView(View());
  m_frame.reset();
  m_doc.reset();
  SetDialogFont(nullptr);
  m_dialogFont.reset();
  if (m_server) {
    m_server->close();
    delete m_server;
    m_server = nullptr;
  }
  if (m_mutex) {
    m_mutex->Unlock();
    m_mutex.reset();
  }
  return 0;
}

bool CAxisCfgApp::OnCommand(int id) {
  if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
    const size_t index = static_cast<size_t>(id - ID_FILE_MRU_FILE1);
    if (index < m_recent.size()) OpenDocumentFile(m_recent[index]);
    return true;
  }
  switch (id) {
    case ID_FILE_NEW: OnFileNew(); return true;
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_SAVE: OnFileSave(); return true;
    case ID_FILE_SAVE_AS: OnFileSaveAs(); return true;
    case ID_FILE_PROPERTIES: OnFileProperties(); return true;
    case ID_FILE_PRINT: View()->Print(m_frame.get()); return true;
    case ID_SELECT_SLOT:
      if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc)) {
        CSelectSlotDialog dialog(m_frame.get(), link->Link());
        dialog.exec();
        m_frame->UpdateStatusPanes();
      }
      return true;
    case ID_DATA_MONITOR:
    case ID_STATUS_DISPLAY:
      if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc))
        RunMonitorCommand(link->Link(), id == ID_STATUS_DISPLAY, m_frame.get(), m_helpFile);
      return true;
    case ID_APP_EXIT: m_frame->close(); return true;
    case ID_EDIT_SELECT_ALL: View()->SelectAll(); return true;
    case ID_EDIT_COPY: View()->OnEditCopy(); return true;
    case ID_EDIT_PASTE: View()->OnEditPaste(); return true;
    case ID_EDIT_FIND: View()->OnEditFind(); return true;
    case ID_EDIT_REPLACE: View()->OnEditReplace(); return true;
    case ID_OPTION_CONFIGURATION: OnOptions(); return true;
    case ID_CHECK_DATA: RunDataCheck(View(), true); return true;
    case ID_EXPORT_CSV: OnExportCsv(); return true;
    case ID_VERIFY_FILE: OnVerifyFile(); return true;
    case ID_OPTION_FONT: View()->ChangeDrawingElements(); return true;
    case ID_HELP_CONTENTS: ShowHelp(m_frame.get(), m_helpFile, 0); return true;
    case ID_APP_ABOUT: Message(UiText(kIdsAbout), platform::MB_OK | platform::MB_ICONINFORMATION); return true;
    case ID_OPTION_COMMUNICATION:
    case ID_STATION_NO:
      if (CDocUnitLink* link = CDocUnitLink::Of(*m_doc)) {
        if (id == ID_OPTION_COMMUNICATION)
          link->Link().CommunicationSettings(m_frame.get());
        else
          link->Link().SpecifyStationNo(m_frame.get());
        m_frame->UpdateStatusPanes();
      }
      return true;
    default: return false;
  }
}

void CAxisCfgApp::UpdateCommandStates() {
  CCommandTable& commands = m_frame->Commands();
  for (int id : commands.CommandIds()) {
    bool enabled = false;
    switch (id) {
      case ID_FILE_NEW: case ID_FILE_OPEN: case ID_FILE_SAVE: case ID_FILE_SAVE_AS: case ID_FILE_PROPERTIES:
      case ID_APP_EXIT: case ID_VIEW_TOOLBAR: case ID_VIEW_STATUS_BAR: case ID_VIEW_PARAM_STATUS:
      case ID_VIEW_GUIDANCE: case ID_OPTION_CONFIGURATION: case ID_OPTION_FONT: case ID_HELP_CONTENTS:
      case ID_APP_ABOUT:
        enabled = true;
        break;
      case ID_FILE_PRINT: enabled = true; break;
      case ID_CHECK_DATA: case ID_EXPORT_CSV: case ID_VERIFY_FILE:
        enabled = m_doc != nullptr;
        break;
      case ID_OPTION_COMMUNICATION: case ID_STATION_NO: case ID_SELECT_SLOT:
      case ID_DATA_MONITOR: case ID_STATUS_DISPLAY:
        enabled = CDocUnitLink::Of(*m_doc) != nullptr;
        break;
      case ID_EDIT_SELECT_ALL:
        enabled = View()->CanSelectAll();
        break;
      case ID_EDIT_COPY: enabled = View()->OnUpdateEditCopy() != 0; break;
      case ID_EDIT_PASTE: enabled = View()->OnUpdateEditPaste() != 0; break;
      case ID_EDIT_FIND: enabled = View()->OnUpdateEditFind() != 0; break;
      case ID_EDIT_REPLACE: enabled = View()->OnUpdateEditReplace() != 0; break;
      default:
        // Commands of the editors, transfers, checks and the clipboard come
        // with their own windows; until then they are shown disabled.
        enabled = false;
    }
    commands.Action(id)->setEnabled(enabled);
  }
}

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
  m_doc->SetTitle(kUntitled);
  m_doc->UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  m_doc->SetModifiedFlag(false);
  UpdateTitle();
  m_frame->UpdateStatusPanes();
  return true;
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
    auto it = std::find(m_recent.begin(), m_recent.end(), path);
    if (it != m_recent.end()) {
      m_recent.erase(it);
      SaveRecentFiles();
      RefreshRecentMenu();
    }
    return false;
  }
  m_doc->UpdateAllViews(nullptr, axcfg::kHintRebuildAll);
  m_doc->SetModifiedFlag(false);
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
  if (dialog.exec() != QDialog::Accepted) return;
  if (!m_doc->ApplyFileProperties(dialog.Creator(), dialog.Comment()))
    Message(UiText(kIdsPropertyTooLong), platform::MB_OK | platform::MB_ICONEXCLAMATION);
  UpdateTitle();
}

void CAxisCfgApp::LoadRecentFiles() {
  m_recent.clear();
  for (int i = 1; i <= kRecentFileCount; ++i) {
    auto v = Registry::ReadString(Hive::CurrentUser, AppSectionKey(kRecentSection), "File" + std::to_string(i));
    if (v && !v->empty()) m_recent.push_back(*v);
  }
}

void CAxisCfgApp::SaveRecentFiles() {
  const std::string key = AppSectionKey(kRecentSection);
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const std::string name = "File" + std::to_string(i);
    if (static_cast<size_t>(i) <= m_recent.size())
      Registry::WriteString(Hive::CurrentUser, key, name, m_recent[static_cast<size_t>(i - 1)]);
    else
      Registry::DeleteValue(Hive::CurrentUser, key, name);
  }
}

void CAxisCfgApp::AddRecentFile(const std::string& path) {
  std::error_code ec;
  std::string full = std::filesystem::absolute(path, ec).lexically_normal().string();
  if (ec) full = path;
  m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), full), m_recent.end());
  m_recent.insert(m_recent.begin(), full);
  if (m_recent.size() > static_cast<size_t>(kRecentFileCount)) m_recent.resize(kRecentFileCount);
  SaveRecentFiles();
  RefreshRecentMenu();
}

void CAxisCfgApp::RefreshRecentMenu() {
  if (!m_frame) return;
  QMenu* menu = m_frame->Commands().RecentFileMenu();
  menu->clear();
  if (m_recent.empty()) {
    menu->addAction(QString::fromStdString(UiText(kIdsMenuBase + 44)))->setEnabled(false);
    return;
  }
  for (size_t i = 0; i < m_recent.size(); ++i) {
    QString label = QStringLiteral("&%1 %2").arg(i + 1 == 10 ? 0 : static_cast<int>(i + 1))
                        .arg(QString::fromStdString(m_recent[i]));
    QAction* action = menu->addAction(label);
    const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  }
}

void CAxisCfgApp::UpdateTitle() {
  if (!m_frame) return;
  m_frame->setWindowTitle(QString::fromStdString(m_doc->GetTitle() + " - " + axcfg::kMessageCaption));
}

}  // namespace axcfgui
