#pragma once
// The destination as the settings dialog edits it, read from and written to
// the connection record, and its text for the status bar.
#include <cstdint>
#include <string>

#include "tavinter/connection_record.h"
#include "tavinter/serial_settings.h"

namespace tavtools {

struct CDestination {
  int kind = tavinter::kKindSimulation;
  int comPort = 1;           // serial and modem
  tavinter::CSerialSettings serial;  // serial and modem
  int timeout = 10;          // seconds
  std::string address;       // Ethernet
  int tcpPort = 1025;        // Ethernet
  int station = 1;           // 0..99
  int transportPort = 0;     // the record's port as it was (board number)

  static CDestination FromRecord(const tavinter::CConnectionRecord& record);
  // Writes the destination's fields into the record's channel part; for a
  // kind the dialog cannot edit only the station, so that the record's own
  // channel settings stay as they are.
  void ToRecord(tavinter::CConnectionRecord record) const;
  // Empty when usable, else the id of the text that says what is wrong.
  unsigned Problem() const;
};

// The kinds offered, in the order the dialog lists them.
extern const int kOfferedKinds[5];
// Whether the dialog can edit a destination of the kind (one it offers).
bool IsEditableKind(int kind);

// "COM1 9600bps", "PLC simulation", ... in the given language (0 Japanese).
std::string DestinationName(const CDestination& d, int language);
// The name followed by the station: "COM1 9600bps Station No.1".
std::string DestinationText(const CDestination& d, int language);

}  // namespace tavtools
