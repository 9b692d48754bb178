#pragma once
// The connecting window's decisions, without widgets: while a request of this
// process waits in the server on an Ethernet connect, the wait is published
// in the shared segment; the window shows once it has run DISPTIME seconds
// (DISPTIME 0: as soon as it is published, which the server does at the
// first retry of a connect that did not complete at once) and goes when the
// wait ends. Cancel asks the server to give the connect up.
#include <functional>
#include <string>

#include "tavinter/connect_cancel.h"

namespace tavtools {

// What the connecting window shows.
struct ConnectWaitView {
  bool visible = false;
  int port = 0;
  int handle = 0;
  std::string address;
};

class CConnectWaitCore {
 public:
  // The published wait of the client (true while there is one).
  using Source = std::function<bool(TavConnectWait&)>;
  // Milliseconds on the clock of TavConnectWait::startMs.
  using Clock = std::function<long long()>;
  // Asks the server to cancel the client's connect (0 or the library's code).
  using CancelCall = std::function<int(int port, int handle)>;

  // The waits of a client of this process (handle 0: of any of them), on
  // the library's clock, cancelled through the library.
  explicit CConnectWaitCore(int handle = 0);
  CConnectWaitCore(Source source, Clock clock, CancelCall cancel);

  // Reads the published wait and decides what the window shows now.
  const ConnectWaitView& Poll();
  const ConnectWaitView& View() const { return view_; }
  // The window's Cancel: the connect shown is cancelled once (0, or the
  // library's code; TAV_E_NOT_OPEN when nothing is shown).
  int Cancel();
  // Cancel was pressed for the wait shown now.
  bool Cancelled() const { return cancelled_; }

 private:
  Source source_;
  Clock clock_;
  CancelCall cancel_;
  ConnectWaitView view_;
  long long shownStart_ = 0;  // start of the wait shown or due, to tell a new wait
  bool cancelled_ = false;
};

// The window's texts in the language (0 Japanese, else English).
struct ConnectWaitTexts {
  std::string title, message, addressLine, cancel;
};
ConnectWaitTexts ConnectWaitTextsFor(const ConnectWaitView& view, int language);

}  // namespace tavtools
