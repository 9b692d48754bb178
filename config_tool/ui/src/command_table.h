#pragma once
// The menu bar, the accelerators and the toolbar of the main window, built
// from one table. Every command is a QAction carrying its numeric id.
#include <QObject>
#include <map>
#include <vector>

class QAction;
class QIcon;
class QMainWindow;
class QMenu;
class QToolBar;

namespace axcfgui {

// The icon of a command by its theme name: the desktop theme's, else the
// bundled one.
QIcon CommandIcon(const char* themeName);

class CCommandTable : public QObject {
  Q_OBJECT

 public:
  // Creates the actions, the menu bar of the window and its accelerators.
  explicit CCommandTable(QMainWindow* window);

  // The action of a command id, or null.
  QAction* Action(int id) const;
  std::vector<int> CommandIds() const;
  // The "Recent File" submenu of the File menu.
  QMenu* RecentFileMenu() const { return m_recentMenu; }
  // The toolbar buttons (Open gets a drop-down of the recent files).
  void FillToolBar(QToolBar* bar);

 signals:
  // Every command of the table, by id.
  void command(int id);

 private:
  QAction* MakeAction(int id, unsigned labelId);

  QMainWindow* m_window;
  std::map<int, QAction*> m_actions;
  QMenu* m_recentMenu = nullptr;
};

}  // namespace axcfgui
