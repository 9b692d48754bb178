#pragma once
// The window's dial-up: the session runs the library calls; this shows the
// dial progress window (the dial runs on a worker thread, Cancel reaches the
// library at once), the connection confirmation, the one-second supervision
// of the line and the hang-up window that waits for other programs.
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <string>

#include "modem_book/dial_up.h"
#include "modem_book/dial_up_session.h"
#include "modem_book/tel_connect_doc.h"

class QDialog;
class QWidget;

namespace modembook {

enum DialWindowControl { kIdDialText = 1020, kIdDialWait = 1021, kIdDialCancel = 2, kIdHangUpText = 1013, kIdForce = 1014 };
// Window ids of the three dialogs, as object names.
constexpr int kDialProgressWindow = 132, kConnectedWindow = 144, kHangUpWindow = 145;

class CWindowDialUp : public QObject, public IDialUp {
  Q_OBJECT
 public:
  CWindowDialUp(CTelConnectDoc& doc, IDialLibrary& library, ISessionClock& clock, bool english, int productNumber);

  // The main window (minimised while connected, its title carries the entry)
  // and what shows the status list and the connected state.
  void SetWindow(QWidget* mainWindow);
  std::function<void(const std::deque<std::string>&)> showStatus;
  std::function<void(bool connected)> connectedChanged;
  // Brought to the front after connecting (the "-h" window); may be empty.
  std::function<void()> raiseNamedWindow;
  // How a dialog runs; tests replace it. Default: exec().
  std::function<int(QDialog&)> runDialog;

  bool Available() const override { return true; }
  bool Connected() const override { return session_.Connected(); }
  void Connect(const CPhoneBookEntry& entry, int port) override;
  void Disconnect() override;

  CDialUpSession& Session() { return session_; }
  // One supervision check (the timer's work).
  void Supervise();

 private:
  int Run(QDialog& dialog);
  // Shows the status list as it is now (GUI thread), over any update still queued.
  void ShowStatusNow();
  DialOutcome DialWithProgress(const CPhoneBookEntry& entry, int port);
  void ShowConnected(const CPhoneBookEntry& entry);
  void HangUp();
  void SetTitle(const std::string& entryTitle);

  CTelConnectDoc& doc_;
  CDialUpSession session_;
  bool english_;
  int productNumber_;
  QWidget* window_ = nullptr;
  QTimer supervision_;
  std::atomic<unsigned> statusSerial_{0};
};

}  // namespace modembook
