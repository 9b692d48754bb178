#pragma once
// The phone book's main window: menus and toolbar built from one command
// table, the form view, a status bar, saving, re-initialising, printing,
// dropped phone book files, and the questions on closing.
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "modem_book/dial_up.h"
#include "modem_book/tel_connect_doc.h"

class QAction;
class QPrinter;

namespace modembook {

class CTelConnectView;

enum CommandId {
  kCmdSave = 57603, kCmdInitialiseAll = 32771, kCmdPrint = 57607, kCmdPreview = 57609, kCmdPrintSetup = 57606,
  kCmdExit = 57665, kCmdConnect = 20000, kCmdDisconnect = 20010, kCmdHelpTopics = 57667,
  kCmdViewToolBar = 59392, kCmdViewStatusBar = 59393,
};
constexpr int kToolBarId = 128;

class CModemFrame : public QMainWindow {
  Q_OBJECT
 public:
  CModemFrame(CTelConnectDoc& doc, IDialUp* dialUp, std::string helpFolder, bool english);
  ~CModemFrame() override;

  CTelConnectView* View() const { return view_; }
  QAction* Action(int id) const { return actions_.count(id) ? actions_.at(id) : nullptr; }

  // Writes the modified ports and the book; a failure shows its message.
  bool Save();
  void InitialiseAll();
  // Imports a phone book (or JSON export) file as entries appended to the book.
  bool ImportFile(const std::string& path);
  // The enabled state of the commands.
  void UpdateCommands();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildCommands();
  void Preview();
  void Print();
  void PrintSetup();
  bool CanClose();

  CTelConnectDoc& doc_;
  IDialUp* dialUp_;
  std::string helpFolder_;
  CTelConnectView* view_ = nullptr;
  std::map<int, QAction*> actions_;
  std::unique_ptr<QPrinter> printer_;
  bool previewing_ = false;
};

}  // namespace modembook
