#pragma once
// The connecting window (Qt Widgets) and the run of a library call that may
// wait in the server on an Ethernet connect: the call runs on a worker
// thread while the window thread watches the published wait, shows the
// window when it is due and hands its Cancel to the server.
#include <QDialog>
#include <functional>

#include "tavtools/connect_wait.h"

class QLabel;
class QPushButton;
class QTimer;

namespace tavtools {

// Title, "connecting, please wait", the address line and Cancel. It polls
// the wait every 100 ms and closes once finished() is true or the wait is no
// longer shown. Cancel, Escape and the close box cancel the connect; the
// window stays until the server has given it up.
class CConnectWaitDialog : public QDialog {
 public:
  CConnectWaitDialog(CConnectWaitCore& core, std::function<bool()> finished, int language, QWidget* parent);
  QLabel* MessageLine() const { return message_; }
  QLabel* AddressLine() const { return address_; }
  QPushButton* CancelButton() const { return cancel_; }
  void reject() override;

 private:
  void Refresh();

  CConnectWaitCore& core_;
  std::function<bool()> finished_;
  int language_;
  QLabel* message_;
  QLabel* address_;
  QPushButton* cancel_;
  QTimer* timer_;
};

// Runs call and returns its result. On the window thread the call runs on a
// worker and the connecting window of a client of this process shows while
// it is due; elsewhere the call runs directly. language: 0 Japanese, else English.
int RunWatchingConnect(const std::function<int()>& call, int language, QWidget* parent);
// The same with the waits core sees (tests script it).
int RunWatchingConnect(const std::function<int()>& call, int language, QWidget* parent, CConnectWaitCore& core);

}  // namespace tavtools
