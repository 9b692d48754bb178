#pragma once
// What the connection core asks of a channel that reaches the PLC through a
// modem: dialling, hanging up, one result for a client, and a look at the
// line for a remote hang-up while a call is up.
#include <functional>
#include <string>

#include "connsrv/modem_dialogue.h"

namespace connsrv {

class IModemLine {
 public:
  virtual ~IModemLine() = default;
  // 0, kErrDialFailed or kErrDialCancelled (cancelled() is asked after every read).
  virtual int Dial(const std::string& dialCommand, const std::function<bool()>& cancelled) = 0;
  // The escape, "ATH0", the closing command, then DTR down and the port
  // closed and opened again. 0, kErrHangUpEscape or kErrHangUpClosing.
  virtual int HangUp(const std::string& closingCommand) = 0;
  virtual ModemClientResult ReadResult(int waitMs, bool callerIdAsked, bool untilCallerId) = 0;
  // Reads what waits without blocking: true when the modem reported the
  // carrier lost since the call came up.
  virtual bool CarrierLost() = 0;
  // Drops what waits to be sent and read.
  virtual void Purge() = 0;
};

}  // namespace connsrv
