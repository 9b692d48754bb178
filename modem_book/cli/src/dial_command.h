#pragma once
// The command line's dial-up: connects an entry of the book, holds the call
// for a time (or until SIGTERM or the line is lost), then hangs up once other
// programs let the line go. Status lines go to stdout as they are added.
#include "modem_book/dial_library.h"
#include "modem_book/tel_connect_doc.h"

namespace modembook {

struct DialCommand {
  int index = 0;          // entry, from 1
  int port = 0;           // COM number; 0: the last-used port
  int holdSeconds = 0;    // < 0: until SIGTERM or the line is lost
  bool force = false;     // force other programs off after five minutes of waiting
  bool writeBack = false; // this copy owns the settings: the port's settings go to the library
  bool english = true;
  int productNumber = 0;
};

// Exit code: 0 done; 2 refused (message 1004 and the like); 4 the connect or
// the hang-up failed ("<text> (<code>)" on stderr).
int RunDial(CTelConnectDoc& doc, const DialCommand& command, IDialLibrary& library, ISessionClock& clock);

}  // namespace modembook
