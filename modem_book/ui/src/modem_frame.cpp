#include "modem_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "book_printer.h"
#include "modem_book/book_json.h"
#include "modem_book/modem_strings.h"
#include "modem_ui.h"
#include "platform/file_util.h"
#include "platform/help_window.h"
#include "tel_connect_view.h"

namespace modembook {

namespace {

struct CommandEntry {
  int id;
  unsigned menu;  // the menu's text id
  unsigned text;
  QKeySequence::StandardKey key;
  QStyle::StandardPixmap icon;  // SP_CustomBase: not on the toolbar
};

const CommandEntry kCommands[] = {
    {kCmdSave, kIdsMenuFile, kIdsMenuSave, QKeySequence::Save, QStyle::SP_DialogSaveButton},
    {kCmdInitialiseAll, kIdsMenuFile, kIdsMenuInitialiseAll, QKeySequence::UnknownKey, QStyle::SP_CustomBase},
    {kCmdPrint, kIdsMenuFile, kIdsMenuPrint, QKeySequence::Print, QStyle::SP_FileDialogDetailedView},
    {kCmdPreview, kIdsMenuFile, kIdsMenuPreview, QKeySequence::UnknownKey, QStyle::SP_CustomBase},
    {kCmdPrintSetup, kIdsMenuFile, kIdsMenuPrintSetup, QKeySequence::UnknownKey, QStyle::SP_CustomBase},
    {kCmdExit, kIdsMenuFile, kIdsMenuExit, QKeySequence::UnknownKey, QStyle::SP_CustomBase},
    {kCmdConnect, kIdsMenuConnection, kIdsMenuConnect, QKeySequence::UnknownKey, QStyle::SP_MediaPlay},
    {kCmdDisconnect, kIdsMenuConnection, kIdsMenuDisconnect, QKeySequence::UnknownKey, QStyle::SP_MediaStop},
    {kCmdViewToolBar, kIdsMenuView, kIdsMenuToolBar, QKeySequence::UnknownKey, QStyle::SP_CustomBase},
    {kCmdViewStatusBar, kIdsMenuView, kIdsMenuStatusBar, QKeySequence::UnknownKey, QStyle::SP_CustomBase},
    {kCmdHelpTopics, kIdsMenuHelp, kIdsMenuHelpTopics, QKeySequence::HelpContents, QStyle::SP_MessageBoxQuestion},
};

bool IsBookFile(const QUrl& url) { return url.isLocalFile() && url.toLocalFile().endsWith(".dat", Qt::CaseInsensitive); }

}  // namespace

CModemFrame::CModemFrame(CTelConnectDoc& doc, IDialUp* dialUp, std::string helpFolder, bool english)
    : doc_(doc), dialUp_(dialUp), helpFolder_(std::move(helpFolder)) {
  setWindowTitle(Qt8(ModemText(kIdsCaption)));
  setAcceptDrops(true);
  view_ = new CTelConnectView(doc_, dialUp_, helpFolder_, english);
  setCentralWidget(view_);
  BuildCommands();
  statusBar()->showMessage(Qt8(ModemText(doc_.ReadOnly() ? kIdsReadOnly : kIdsReady)));
  connect(view_, &CTelConnectView::ModifiedChanged, this, &CModemFrame::UpdateCommands);
  resize(640, 560);
}

CModemFrame::~CModemFrame() = default;

void CModemFrame::BuildCommands() {
  auto* toolBar = new QToolBar(Qt8(ModemText(kIdsToolBar)), this);
  toolBar->setObjectName(QString::number(kToolBarId));
  addToolBar(toolBar);
  std::map<unsigned, QMenu*> menus;
  for (const CommandEntry& c : kCommands) {
    QMenu*& menu = menus[c.menu];
    if (!menu) menu = menuBar()->addMenu(Qt8(ModemText(c.menu)));
    auto* a = new QAction(Qt8(ModemText(c.text)), this);
    a->setData(c.id);
    if (c.key != QKeySequence::UnknownKey) a->setShortcut(c.key);
    if (c.icon != QStyle::SP_CustomBase) {
      a->setIcon(style()->standardIcon(c.icon));
      toolBar->addAction(a);
    }
    if (c.id == kCmdExit || c.id == kCmdPrint) menu->addSeparator();
    menu->addAction(a);
    actions_[c.id] = a;
  }
  Action(kCmdViewToolBar)->setCheckable(true);
  Action(kCmdViewToolBar)->setChecked(true);
  Action(kCmdViewStatusBar)->setCheckable(true);
  Action(kCmdViewStatusBar)->setChecked(true);
  connect(Action(kCmdViewToolBar), &QAction::toggled, toolBar, &QToolBar::setVisible);
  connect(Action(kCmdViewStatusBar), &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  connect(Action(kCmdSave), &QAction::triggered, this, &CModemFrame::Save);
  connect(Action(kCmdInitialiseAll), &QAction::triggered, this, &CModemFrame::InitialiseAll);
  connect(Action(kCmdPrint), &QAction::triggered, this, &CModemFrame::Print);
  connect(Action(kCmdPreview), &QAction::triggered, this, &CModemFrame::Preview);
  connect(Action(kCmdPrintSetup), &QAction::triggered, this, &CModemFrame::PrintSetup);
  connect(Action(kCmdExit), &QAction::triggered, this, &QWidget::close);
  connect(Action(kCmdConnect), &QAction::triggered, view_, &CTelConnectView::ConnectSelection);
  connect(Action(kCmdDisconnect), &QAction::triggered, this, [this] {
    if (dialUp_ && dialUp_->Connected()) dialUp_->Disconnect();
    UpdateCommands();
  });
  connect(Action(kCmdHelpTopics), &QAction::triggered, this,
          [this] { platform::ShowHelpPage(this, helpFolder_, 0); });
  UpdateCommands();
}

void CModemFrame::UpdateCommands() {
  const bool rw = !doc_.ReadOnly();
  Action(kCmdSave)->setEnabled(rw);
  Action(kCmdInitialiseAll)->setEnabled(rw);
  const bool dial = dialUp_ && dialUp_->Available();
  Action(kCmdConnect)->setEnabled(dial && !dialUp_->Connected());
  Action(kCmdDisconnect)->setEnabled(dial && dialUp_->Connected());
}

bool CModemFrame::Save() {
  if (doc_.ReadOnly()) return false;
  view_->CommitEdits();
  const int rc = doc_.SaveModified();
  UpdateCommands();
  if (rc) ModemMessage(static_cast<unsigned>(rc), platform::MB_OK | platform::MB_ICONSTOP, this);
  return rc == 0;
}

void CModemFrame::InitialiseAll() {
  if (doc_.ReadOnly()) return;
  if (ModemMessage(kIdsAskInitialiseAll, platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2,
                   this) != platform::IDYES)
    return;
  doc_.InitialiseRegisteredData();
  view_->InitialUpdate();
  UpdateCommands();
}

bool CModemFrame::ImportFile(const std::string& path) {
  if (doc_.ReadOnly()) return false;
  std::string bytes, error;
  std::vector<CPhoneBookEntry> entries;
  if (!platform::ReadWholeFile(path, bytes, &error) || !EntriesFromImport(bytes, entries, error)) {
    ModemMessageBox(ModemText(kIdsReadFailed) + "\n" + path + ": " + error, platform::MB_OK | platform::MB_ICONSTOP,
                    this);
    return false;
  }
  if (int rc = doc_.Import(entries, false)) {
    ModemMessage(static_cast<unsigned>(rc), platform::MB_OK | platform::MB_ICONSTOP, this);
    return false;
  }
  view_->RefreshList(static_cast<int>(doc_.Count()) - 1);
  UpdateCommands();
  return true;
}

void CModemFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!doc_.ReadOnly() && event->mimeData()->hasUrls() && IsBookFile(event->mimeData()->urls().value(0)))
    event->acceptProposedAction();
}

void CModemFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls())
    if (IsBookFile(url)) ImportFile(url.toLocalFile().toStdString());
  event->acceptProposedAction();
}

bool CModemFrame::CanClose() {
  if (previewing_) return true;
  if (dialUp_ && dialUp_->Connected()) {
    if (ModemMessage(kIdsAskDisconnect, platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2,
                     this) != platform::IDYES)
      return false;
    dialUp_->Disconnect();
  }
  view_->CommitEdits();
  if (doc_.ReadOnly() || !doc_.AnyModified()) return true;
  switch (ModemMessage(kIdsAskSave, platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, this)) {
    case platform::IDYES: return Save();  // a failed save keeps the window and the data
    case platform::IDNO: return true;
    default: return false;
  }
}

void CModemFrame::closeEvent(QCloseEvent* event) {
  if (CanClose()) event->accept();
  else event->ignore();
}

void CModemFrame::Print() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(printer_.get(), this);
  if (dialog.exec() == QDialog::Accepted) PrintBook(doc_, *printer_);
}

void CModemFrame::Preview() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintPreviewDialog dialog(printer_.get(), this);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintBook(doc_, *p); });
  previewing_ = true;
  dialog.exec();
  previewing_ = false;
}

void CModemFrame::PrintSetup() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

}  // namespace modembook
