#pragma once
// KELD_TAVSCOPE's main window: the workspace tree of ports and clients in a
// dock, monitor views in a multi-document area, menus, toolbar and status
// bar from the command table, and the watch timer that keeps both current.
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "commscope/device_tree.h"
#include "commscope/monitor_document.h"

class QAction;
class QDockWidget;
class QMdiArea;
class QMenu;
class QPrinter;
class QTreeWidget;
class QTreeWidgetItem;
class QToolBar;
class QDialog;

namespace commscope {

class CMonitorView;

class CScopeFrame : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kWatchMs = 500;

  explicit CScopeFrame(IViewerLibrary& library, QWidget* parent = nullptr);
  ~CScopeFrame() override;

  // Runs a command of the table by id.
  void Execute(int id);
  QAction* Action(int id) const;
  // One tick of the watch timer: the tree, then every open document.
  void WatchTick();

  QTreeWidget* Tree() const { return tree_; }
  QMdiArea* Mdi() const { return mdi_; }
  CMonitorView* ActiveView() const;
  // Opens (or brings up) the view of a port number or a client number.
  CMonitorView* OpenPortView(int port);
  CMonitorView* OpenClientView(int number);
  int DocumentCount() const { return static_cast<int>(documents_.size()); }

  // Dialog hooks, replaced by tests: the file to save to ("" = cancelled),
  // and the showing of a modal dialog.
  std::function<QString()> askSaveFile;
  std::function<int(QDialog&)> runDialog;
  // The folder the terminal program is taken from (the program's own).
  std::string programDir;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildCommands();
  void RebuildTree();
  void OpenSelected();
  CMonitorView* OpenDocument(int id, int handle, const QString& title);
  CMonitorView* ViewOf(const CMonitorDocument* doc) const;
  void CloseActive();
  void SaveAs();
  void PrintRecords(QPrinter* printer);
  void Print(bool preview);
  void ShowProperty();
  void ShowConfiguration();
  void StartTerminalProgram();
  void UpdateCommandStates();
  // The port number the commands act on: the active view's, else the tree's selection (0 = none).
  int SelectedPort() const;
  int SelectedClientNumber() const;
  void RestoreWindowData();
  void SaveWindowData();

  IViewerLibrary& library_;
  CDeviceTree deviceTree_;
  QMdiArea* mdi_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QDockWidget* dock_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QTimer watch_;
  std::map<int, QAction*> actions_;
  std::vector<std::unique_ptr<CMonitorDocument>> documents_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace commscope
