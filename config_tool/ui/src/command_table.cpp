#include "command_table.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QIcon>
#include <QToolBar>
#include <QToolButton>

#include "command_ids.h"
#include "ui_strings.h"

// The bundled icons live in this static library; their resource must be
// registered explicitly, as nothing else refers to it.
static void InitBundledIcons() { Q_INIT_RESOURCE(axiscfg_icons); }

namespace axcfgui {

namespace {

// One row of the menu table: a popup starts with kBegin and ends with kEnd,
// kSeparator draws a line; other rows are commands.
enum : int { kBegin = -1, kEnd = -2, kSeparator = 0 };
struct MenuRow {
  int id;
  unsigned label;
};

constexpr unsigned M(int n) { return kIdsMenuBase + n; }

const MenuRow kMenuBar[] = {
    {kBegin, M(0)},
    {ID_FILE_NEW, M(10)}, {ID_FILE_OPEN, M(11)}, {ID_FILE_SAVE, M(12)}, {ID_FILE_SAVE_AS, M(13)},
    {kSeparator, 0},
    {ID_FILE_PRINT, M(45)}, {ID_FILE_PRINT_PREVIEW, kIdsMenuPrintPreview},
    {kSeparator, 0},
    {ID_DOWNLOAD, M(14)}, {ID_UPLOAD, M(15)},
    {kSeparator, 0},
    {ID_FILE_PROPERTIES, M(16)}, {ID_EXPORT_CSV, M(17)},
    {kSeparator, 0},
    {ID_FILE_MRU_FILE1, M(9)},
    {kSeparator, 0},
    {ID_APP_EXIT, M(18)},
    {kEnd, 0},
    {kBegin, M(1)},
    {ID_EDIT_UNDO, kIdsMenuUndo}, {ID_EDIT_REDO, kIdsMenuRedo}, {kSeparator, 0},
    {ID_EDIT_CUT, kIdsMenuCut}, {ID_EDIT_COPY, M(19)}, {ID_EDIT_PASTE, M(20)}, {kSeparator, 0}, {ID_EDIT_SELECT_ALL, M(21)},
    {kSeparator, 0}, {ID_EDIT_FIND, M(22)}, {ID_EDIT_REPLACE, M(23)},
    {kEnd, 0},
    {kBegin, M(2)},
    {ID_VIEW_TOOLBAR, M(24)}, {ID_VIEW_STATUS_BAR, M(25)}, {ID_VIEW_PARAM_STATUS, M(26)},
    {ID_VIEW_GUIDANCE, M(27)},
    {kSeparator, 0}, {ID_MOTION_PROFILE, kIdsMenuMotionProfile},
    {kEnd, 0},
    {kBegin, M(3)},
    {ID_STATION_NO, M(28)}, {ID_SELECT_SLOT, M(29)}, {kSeparator, 0}, {ID_DATA_MONITOR, M(30)},
    {ID_STATUS_DISPLAY, M(31)}, {ID_TOOL_OPERATION, M(32)}, {kSeparator, 0}, {ID_WRITE_FROM, M(33)},
    {kEnd, 0},
    {kBegin, M(4)},
    {ID_CHECK_DATA, M(34)},
    {kBegin, M(8)}, {ID_VERIFY_FILE, M(35)}, {ID_VERIFY_UNIT, M(36)}, {kEnd, 0},
    {kEnd, 0},
    {kBegin, M(5)},
    {ID_CHANGE_AXIS, M(37)}, {ID_PARAMETER_SETTINGS, M(38)},
    {kEnd, 0},
    {kBegin, M(6)},
    {ID_OPTION_COMMUNICATION, M(39)}, {ID_OPTION_CONFIGURATION, M(40)}, {ID_OPTION_FONT, M(41)},
    {kEnd, 0},
    {kBegin, M(7)},
    {ID_HELP_CONTENTS, M(42)}, {kSeparator, 0}, {ID_APP_ABOUT, M(43)},
    {kEnd, 0},
};

// The accelerator table; a command may have several keys, the first one is
// shown in its menu.
struct Accelerator {
  const char* keys;
  int id;
};
const Accelerator kAccelerators[] = {
    {"Ctrl+A", ID_EDIT_SELECT_ALL}, {"Ctrl+C", ID_EDIT_COPY}, {"Ctrl+F", ID_EDIT_FIND},
    {"Ctrl+H", ID_EDIT_REPLACE}, {"Ctrl+N", ID_FILE_NEW}, {"Ctrl+O", ID_FILE_OPEN}, {"Ctrl+P", ID_FILE_PRINT},
    {"Ctrl+Q", ID_PARAMETER_SETTINGS}, {"Ctrl+S", ID_FILE_SAVE}, {"Ctrl+U", ID_CHANGE_AXIS},
    {"Ctrl+V", ID_EDIT_PASTE}, {"Ctrl+Z", ID_EDIT_UNDO}, {"Alt+Backspace", ID_EDIT_UNDO}, {"Shift+Del", ID_EDIT_CUT},
    {"Ctrl+F5", ID_UPLOAD}, {"Ctrl+F6", ID_DOWNLOAD}, {"Ctrl+F7", ID_VERIFY_UNIT},
    {"Ctrl+Ins", ID_EDIT_COPY}, {"Shift+Ins", ID_EDIT_PASTE}, {"Alt+Return", ID_FILE_PROPERTIES},
    {"Ctrl+X", ID_EDIT_CUT}, {"Ctrl+Y", ID_EDIT_REDO},
};

}  // namespace

CCommandTable::CCommandTable(QMainWindow* window) : QObject(window), m_window(window) {
  std::vector<QMenu*> stack;
  for (const MenuRow& row : kMenuBar) {
    if (row.id == kBegin) {
      QString title = QString::fromStdString(UiText(row.label));
      QMenu* menu = stack.empty() ? window->menuBar()->addMenu(title) : stack.back()->addMenu(title);
      stack.push_back(menu);
    } else if (row.id == kEnd) {
      stack.pop_back();
    } else if (row.id == kSeparator) {
      stack.back()->addSeparator();
    } else if (row.id == ID_FILE_MRU_FILE1) {
      m_recentMenu = stack.back()->addMenu(QString::fromStdString(UiText(row.label)));
    } else {
      stack.back()->addAction(MakeAction(row.id, row.label));
    }
  }
  // Commands that only have keys (cut and undo) still exist as actions.
  for (const Accelerator& a : kAccelerators) {
    QAction* action = Action(a.id);
    if (!action) {
      action = MakeAction(a.id, 0);
      window->addAction(action);
    }
    QList<QKeySequence> keys = action->shortcuts();
    keys.append(QKeySequence(QString::fromLatin1(a.keys)));
    action->setShortcuts(keys);
  }
  for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PARAM_STATUS, ID_VIEW_GUIDANCE})
    Action(id)->setCheckable(true);
}

QAction* CCommandTable::MakeAction(int id, unsigned labelId) {
  auto* action = new QAction(QString::fromStdString(labelId ? UiText(labelId) : std::string()), this);
  action->setData(id);
  action->setShortcutContext(Qt::WindowShortcut);
  // "prompt\ntooltip": the prompt goes to the status bar.
  const std::string prompt = UiText(static_cast<unsigned>(id));
  if (!prompt.empty()) {
    const size_t nl = prompt.find('\n');
    action->setStatusTip(QString::fromStdString(prompt.substr(0, nl)));
    if (nl != std::string::npos) action->setToolTip(QString::fromStdString(prompt.substr(nl + 1)));
  }
  connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
  m_actions[id] = action;
  return action;
}

QAction* CCommandTable::Action(int id) const {
  auto it = m_actions.find(id);
  return it == m_actions.end() ? nullptr : it->second;
}

std::vector<int> CCommandTable::CommandIds() const {
  std::vector<int> ids;
  for (const auto& [id, action] : m_actions) ids.push_back(id);
  return ids;
}

QIcon CommandIcon(const char* themeName) {
  // The desktop theme's icon where the theme has one, else the one bundled
  // with the program, so that every button shows its command.
  static const bool registered = (InitBundledIcons(), true);
  (void)registered;
  const QString name = QString::fromLatin1(themeName);
  return QIcon::fromTheme(name, QIcon(QStringLiteral(":/axiscfg/icons/%1.png").arg(name)));
}

void CCommandTable::FillToolBar(QToolBar* bar) {
  struct Button {
    int id;
    const char* icon;  // a name of the freedesktop icon naming rules
  };
  const Button buttons[] = {
      {ID_FILE_NEW, "document-new"}, {ID_FILE_OPEN, "document-open"}, {ID_FILE_SAVE, "document-save"},
      {ID_FILE_PRINT, "document-print"}, {0, nullptr},
      {ID_EDIT_UNDO, "edit-undo"},   {ID_EDIT_REDO, "edit-redo"},     {0, nullptr},
      {ID_EDIT_COPY, "edit-copy"},   {ID_EDIT_PASTE, "edit-paste"},   {0, nullptr},
      {ID_UPLOAD, "go-up"},          {ID_DOWNLOAD, "go-down"},        {0, nullptr},
      {ID_APP_ABOUT, "help-about"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0) {
      bar->addSeparator();
      continue;
    }
    QAction* action = Action(b.id);
    if (action->icon().isNull()) action->setIcon(CommandIcon(b.icon));
    bar->addAction(action);
    if (b.id == ID_FILE_OPEN) {
      // The arrow beside Open drops down the recent-file list.
      if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
        button->setMenu(m_recentMenu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
      }
    }
  }
}

}  // namespace axcfgui
