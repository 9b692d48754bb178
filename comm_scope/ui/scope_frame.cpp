#include "scope_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <array>

#include "commscope/comm_property.h"
#include "commscope/log_settings.h"
#include "commscope/port_names.h"
#include "commscope/record_text.h"
#include "commscope/scope_texts.h"
#include "commscope/terminal.h"
#include "config_dialog.h"
#include "monitor_view.h"
#include "platform/folders.h"
#include "platform/message_box.h"
#include "property_dialog.h"
#include "tavinter/ethernet_links.h"
#include "scope_commands.h"

namespace commscope {

namespace {

constexpr int kRolePort = Qt::UserRole;        // port number of a port item
constexpr int kRoleClient = Qt::UserRole + 1;  // client number of a client item

bool IsEthernetPort(int port) { return port >= 5 && port <= 68; }

}  // namespace

CScopeFrame::CScopeFrame(IViewerLibrary& library, QWidget* parent)
    : QMainWindow(parent), library_(library), deviceTree_(library) {
  setWindowTitle("KELD_TavScope");
  askSaveFile = [this] {
    QFileDialog dialog(this, "Save As", QString(), "Text files (*.txt);;All Files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("txt");
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                    : QString();
  };
  runDialog = [](QDialog& d) { return d.exec(); };
  programDir = platform::ProgramDir();
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setObjectName("workspace");
  dock_ = new QDockWidget("Workspace", this);
  dock_->setObjectName("workspaceDock");
  dock_->setWidget(tree_);
  addDockWidget(Qt::LeftDockWidgetArea, dock_);
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommandStates(); });
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandStates(); });
  BuildCommands();
  statusBar()->showMessage("Ready");
  library_.RegisterViewer();
  RestoreWindowData();
  WatchTick();
  connect(&watch_, &QTimer::timeout, this, &CScopeFrame::WatchTick);
  watch_.start(kWatchMs);
}

CScopeFrame::~CScopeFrame() {
  watch_.stop();
  // Views go before their documents; the documents then detach.
  for (QMdiSubWindow* w : mdi_->subWindowList()) delete w;
  documents_.clear();
  deviceTree_.DetachAll();
}

void CScopeFrame::BuildCommands() {
  toolbar_ = addToolBar("Toolbar");
  toolbar_->setObjectName("toolbar");
  std::map<QString, QMenu*> menus;
  for (const auto& c : ScopeCommands()) {
    QMenu* menu = nullptr;
    if (c.menu) {
      auto it = menus.find(c.menu);
      if (it == menus.end()) it = menus.emplace(c.menu, menuBar()->addMenu(c.menu)).first;
      menu = it->second;
    }
    if (c.id == 0) {
      if (menu) menu->addSeparator();
      continue;
    }
    auto* a = new QAction(c.text, this);
    a->setData(c.id);
    a->setCheckable(c.checkable);
    if (*c.shortcut) a->setShortcut(QKeySequence(c.shortcut));
    connect(a, &QAction::triggered, this, [this, id = c.id] { Execute(id); });
    actions_[c.id] = a;
    if (menu) menu->addAction(a);
    if (c.toolbar) toolbar_->addAction(a);
  }
  actions_[ID_VIEW_TOOLBAR]->setChecked(true);
  actions_[ID_VIEW_STATUS_BAR]->setChecked(true);
  UpdateCommandStates();
}

QAction* CScopeFrame::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CScopeFrame::Execute(int id) {
  CMonitorView* view = ActiveView();
  switch (id) {
    case ID_FILE_OPEN_MONITOR: OpenSelected(); break;
    case ID_FILE_CLOSE_MONITOR: CloseActive(); break;
    case ID_FILE_SAVE_AS: SaveAs(); break;
    case ID_FILE_PRINT: Print(false); break;
    case ID_FILE_PRINT_PREVIEW: Print(true); break;
    case ID_FILE_PRINT_SETUP: {
      if (!printer_) printer_ = std::make_unique<QPrinter>();
      QPageSetupDialog dialog(printer_.get(), this);
      runDialog(dialog);
      break;
    }
    case ID_APP_EXIT: close(); break;
    case ID_VIEW_TOOLBAR: toolbar_->setVisible(actions_[id]->isChecked()); break;
    case ID_VIEW_STATUS_BAR: statusBar()->setVisible(actions_[id]->isChecked()); break;
    case ID_OPTION_PROPERTY:
    case ID_VIEW_PROPERTY: ShowProperty(); break;
    case ID_OPTION_CONFIG: ShowConfiguration(); break;
    case ID_OPTION_TERMINAL: StartTerminalProgram(); break;
    case ID_WINDOW_CASCADE: mdi_->cascadeSubWindows(); break;
    case ID_WINDOW_TILE: mdi_->tileSubWindows(); break;
    case ID_WINDOW_ARRANGE:
      for (QMdiSubWindow* w : mdi_->subWindowList())
        if (w->isMinimized()) w->showMinimized();
      mdi_->tileSubWindows();
      break;
    case ID_APP_ABOUT:
      platform::ShowMessageBox("KELD_TavScope\nCommunication log viewer", platform::MB_OK | platform::MB_ICONINFORMATION,
                               kCaption, this);
      break;
    case ID_MONITOR_START:
      if (view) view->Document().SetPaused(!actions_[id]->isChecked());
      break;
    case ID_MONITOR_CLEAR:
      if (view) view->Document().Clear();
      break;
    default: break;
  }
  UpdateCommandStates();
}

void CScopeFrame::UpdateCommandStates() {
  CMonitorView* view = ActiveView();
  bool hasView = view != nullptr;
  for (int id : {ID_FILE_CLOSE_MONITOR, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_MONITOR_START,
                 ID_MONITOR_CLEAR})
    if (auto* a = Action(id)) a->setEnabled(hasView);
  if (auto* a = Action(ID_MONITOR_START)) a->setChecked(hasView && !view->Document().Paused());
  if (auto* a = Action(ID_MONITOR_CLEAR)) a->setEnabled(hasView && !view->Document().Ended());
  int port = SelectedPort();
  for (int id : {ID_OPTION_PROPERTY, ID_VIEW_PROPERTY, ID_OPTION_TERMINAL})
    if (auto* a = Action(id)) a->setEnabled(port > 0);
  QTreeWidgetItem* item = tree_->currentItem();
  if (auto* a = Action(ID_FILE_OPEN_MONITOR))
    a->setEnabled(item && (item->data(0, kRolePort).toInt() > 0 || item->data(0, kRoleClient).toInt() > 0));
}

void CScopeFrame::WatchTick() {
  if (deviceTree_.Refresh()) RebuildTree();
  for (auto& doc : documents_) doc->Watch();
  UpdateCommandStates();
}

void CScopeFrame::RebuildTree() {
  // Keep the selection across the rebuild.
  int selPort = 0, selClient = 0;
  if (QTreeWidgetItem* cur = tree_->currentItem()) {
    selPort = cur->data(0, kRolePort).toInt();
    selClient = cur->data(0, kRoleClient).toInt();
  }
  tree_->clear();
  auto* root = new QTreeWidgetItem(tree_, QStringList{CDeviceTree::kRootLabel});
  QTreeWidgetItem* select = nullptr;
  for (const auto& p : deviceTree_.Ports()) {
    auto* portItem = new QTreeWidgetItem(root, QStringList{QString::fromStdString(p.name)});
    portItem->setData(0, kRolePort, p.port);
    if (selPort == p.port && selClient == 0) select = portItem;
    for (const auto& c : p.clients) {
      auto* clientItem = new QTreeWidgetItem(portItem, QStringList{QString::fromUtf8(c.label)});
      clientItem->setData(0, kRoleClient, c.number);
      if (selClient == c.number) select = clientItem;
    }
    portItem->setExpanded(p.Expanded());
  }
  root->setExpanded(true);
  if (select) tree_->setCurrentItem(select);
  UpdateCommandStates();
}

CMonitorView* CScopeFrame::ActiveView() const {
  QMdiSubWindow* w = mdi_->activeSubWindow();
  if (!w && !mdi_->subWindowList().isEmpty()) w = mdi_->subWindowList().last();
  return w ? qobject_cast<CMonitorView*>(w->widget()) : nullptr;
}

void CScopeFrame::OpenSelected() {
  QTreeWidgetItem* item = tree_->currentItem();
  if (!item) return;
  if (int port = item->data(0, kRolePort).toInt(); port > 0) OpenPortView(port);
  if (int number = item->data(0, kRoleClient).toInt(); number > 0) OpenClientView(number);
}

CMonitorView* CScopeFrame::OpenPortView(int port) {
  return OpenDocument(CMonitorDocument::PortId(port - 1), 0, QString::fromStdString(PortName(port - 1)));
}

CMonitorView* CScopeFrame::OpenClientView(int number) {
  const ClientItem* c = deviceTree_.FindClient(number);
  if (!c) return nullptr;
  const PortItem* p = nullptr;
  for (const auto& port : deviceTree_.Ports())
    for (const auto& client : port.clients)
      if (client.number == number) p = &port;
  QString title = QString::fromStdString((p ? p->name + " " : std::string()) + c->label);
  return OpenDocument(CMonitorDocument::ClientId(c->slot), c->handle, title);
}

CMonitorView* CScopeFrame::ViewOf(const CMonitorDocument* doc) const {
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (auto* v = qobject_cast<CMonitorView*>(w->widget()); v && &v->Document() == doc) return v;
  return nullptr;
}

CMonitorView* CScopeFrame::OpenDocument(int id, int handle, const QString& title) {
  // A live document of the same port or client is brought up; an ended one
  // keeps its view, and a new document is opened beside it.
  for (auto& d : documents_) {
    if (d->Id() != id || d->Handle() != handle || d->Ended()) continue;
    if (CMonitorView* v = ViewOf(d.get())) {
      mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(v->parentWidget()));
      return v;
    }
  }
  auto owned = std::make_unique<CMonitorDocument>(library_, id, handle);
  if (owned->Open() != 0) {
    statusBar()->showMessage("No records for " + title, 5000);
    return nullptr;
  }
  CMonitorDocument* doc = owned.get();
  documents_.push_back(std::move(owned));
  auto* view = new CMonitorView(*doc);
  view->SetBaseTitle(title);
  auto* menu = new QMenu(view);
  for (int cmd : ViewContextCommands()) {
    if (cmd == 0) menu->addSeparator();
    else menu->addAction(actions_[cmd]);
  }
  view->SetContextMenu(menu);
  QMdiSubWindow* sub = mdi_->addSubWindow(view);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // The document goes with its last view.
  connect(view, &QObject::destroyed, this, [this, doc] {
    if (doc->ViewCount() == 0)
      std::erase_if(documents_, [doc](const auto& d) { return d.get() == doc; });
    UpdateCommandStates();
  });
  sub->resize(560, 320);
  sub->show();
  view->Refresh();
  mdi_->setActiveSubWindow(sub);
  UpdateCommandStates();
  return view;
}

void CScopeFrame::CloseActive() {
  if (QMdiSubWindow* w = mdi_->activeSubWindow() ? mdi_->activeSubWindow()
                         : (mdi_->subWindowList().isEmpty() ? nullptr : mdi_->subWindowList().last()))
    w->close();
}

void CScopeFrame::SaveAs() {
  CMonitorView* view = ActiveView();
  if (!view) return;
  QString file = askSaveFile();
  if (file.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  unsigned id = ExportText(view->Document().Records(), file.toStdString());
  QApplication::restoreOverrideCursor();
  if (id != 0) ScopeMessage(id, platform::MB_OK | platform::MB_ICONEXCLAMATION, this);
  else statusBar()->showMessage("Saved " + file, 5000);
}

void CScopeFrame::PrintRecords(QPrinter* printer) {
  CMonitorView* view = ActiveView();
  if (!view) return;
  QPainter painter(printer);
  painter.setFont(view->font());
  int lineHeight = painter.fontMetrics().lineSpacing();
  QRect page = painter.viewport();
  int perPage = std::max(1, page.height() / lineHeight - 2);
  auto pages = PaginateRecords(view->Document().Records(), perPage);
  for (size_t n = 0; n < pages.size(); ++n) {
    if (n > 0) printer->newPage();
    int y = lineHeight;
    painter.drawText(0, y, QString::fromStdString(PageHeader(static_cast<int>(n) + 1)));
    y += 2 * lineHeight;
    for (const auto& line : pages[n]) {
      painter.drawText(0, y, QString::fromUtf8(line));
      y += lineHeight;
    }
  }
}

void CScopeFrame::Print(bool preview) {
  if (!ActiveView()) return;
  if (!printer_) printer_ = std::make_unique<QPrinter>();
  if (preview) {
    QPrintPreviewDialog dialog(printer_.get(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintRecords(p); });
    runDialog(dialog);
    return;
  }
  QPrintDialog dialog(printer_.get(), this);
  if (runDialog(dialog) == QDialog::Accepted) PrintRecords(printer_.get());
}

int CScopeFrame::SelectedPort() const {
  // The tree's item while the tree has the focus, else the active view's port.
  QTreeWidgetItem* item = tree_->currentItem();
  CMonitorView* view = ActiveView();
  if (view && !(item && tree_->hasFocus())) {
    const auto& doc = view->Document();
    if (!doc.IsClient()) return doc.Port();
    for (const auto& p : deviceTree_.Ports())
      for (const auto& c : p.clients)
        if (c.slot == doc.Slot() && c.handle == doc.Handle()) return p.port;
  }
  if (!item) return 0;
  if (int port = item->data(0, kRolePort).toInt(); port > 0) return port;
  if (item->parent()) return item->parent()->data(0, kRolePort).toInt();
  return 0;
}

int CScopeFrame::SelectedClientNumber() const {
  QTreeWidgetItem* item = tree_->currentItem();
  return item ? item->data(0, kRoleClient).toInt() : 0;
}

void CScopeFrame::ShowProperty() {
  int port = SelectedPort();
  if (port <= 0) return;
  CMonitorView* view = ActiveView();
  bool client = SelectedClientNumber() > 0 || (view && view->Document().IsClient() && !tree_->hasFocus());
  if (client && IsEthernetPort(port)) {
    // An Ethernet client shows its own link, as the server registered it.
    int handle = view && view->Document().IsClient() ? view->Document().Handle() : 0;
    if (const ClientItem* c = deviceTree_.FindClient(SelectedClientNumber()); c && SelectedClientNumber() > 0)
      handle = c->handle;
    std::array<uint8_t, TAV_LINK_RECORD_SIZE> record{};
    if (handle <= 0 || library_.ClientEthernetLink(handle, record.data()) != 0) {
      ScopeMessage(kIdNoEthernetLink, platform::MB_OK | platform::MB_ICONINFORMATION, this);
      return;
    }
    CPropertyDialog dialog(QString::fromStdString(PortName(port - 1)), DescribeEthernetLink(record.data(), record.size()),
                           this);
    runDialog(dialog);
    return;
  }
  std::array<uint8_t, TAV_CHANNEL_CONFIG_SIZE> config{};
  if (library_.PortConfig(port, config.data()) != 0) {
    statusBar()->showMessage(QString::fromStdString(PortName(port - 1)) + " is not in use", 5000);
    return;
  }
  CPropertyDialog dialog(QString::fromStdString(PortName(port - 1)), DescribeChannel(config.data(), config.size()),
                         this);
  runDialog(dialog);
}

void CScopeFrame::ShowConfiguration() {
  CConfigDialog dialog(CLogSettings::Load(CLogSettings::PresentComPorts()), this);
  runDialog(dialog);
}

void CScopeFrame::StartTerminalProgram() {
  int port = SelectedPort();
  if (port <= 0) return;
  if (unsigned id = StartTerminal(programDir, port); id != 0)
    ScopeMessage(id, platform::MB_OK | platform::MB_ICONEXCLAMATION, this);
}

void CScopeFrame::RestoreWindowData() {
  std::array<int, 8> v{};
  bool have = true;
  for (int i = 0; i < 4; ++i) have = ReadWindowData(i, &v[static_cast<size_t>(i)]) && have;
  if (have && v[2] > 200 && v[3] > 150) setGeometry(v[0], v[1], v[2], v[3]);
  else resize(1000, 680);
  if (ReadWindowData(5, &v[5]) && v[5] > 50) resizeDocks({dock_}, {v[5]}, Qt::Horizontal);
  else resizeDocks({dock_}, {240}, Qt::Horizontal);
  if (ReadWindowData(6, &v[6]) && v[6] == 0) actions_[ID_VIEW_TOOLBAR]->setChecked(false), toolbar_->hide();
  if (ReadWindowData(7, &v[7]) && v[7] == 0) actions_[ID_VIEW_STATUS_BAR]->setChecked(false), statusBar()->hide();
  if (ReadWindowData(4, &v[4]) && v[4] != 0) setWindowState(windowState() | Qt::WindowMaximized);
}

void CScopeFrame::SaveWindowData() {
  QRect g = normalGeometry();
  WriteWindowData(0, g.x());
  WriteWindowData(1, g.y());
  WriteWindowData(2, g.width());
  WriteWindowData(3, g.height());
  WriteWindowData(4, isMaximized() ? 1 : 0);
  WriteWindowData(5, dock_->width());
  WriteWindowData(6, actions_[ID_VIEW_TOOLBAR]->isChecked() ? 1 : 0);
  WriteWindowData(7, actions_[ID_VIEW_STATUS_BAR]->isChecked() ? 1 : 0);
}

void CScopeFrame::closeEvent(QCloseEvent* event) {
  SaveWindowData();
  event->accept();
}

}  // namespace commscope
