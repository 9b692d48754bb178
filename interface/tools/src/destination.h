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
  std::string address;       // Ethernet: the PLC's address or host name
  int tcpPort = 1025;        // Ethernet: the PLC's TCP port
  int ethernetPort = 1;      // Ethernet port 1..64 (server port 4 + n)
  std::string sourceAddress; // Ethernet: this PC's address to bind to (empty: any)
  bool useLocalAddress = false;  // bind to this PC's address on the way to the PLC
  int sourcePort = 0;        // this PC's TCP port (kind 9: where the PLC connects; required)
  int sourceStation = 0;     // this PC's station in the route header
  bool header = false;       // frames carry the binary route header
  int connectLimit = 0;      // seconds a connect may take (0: 180)
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
extern const int kOfferedKinds[6];
// Whether the dialog can edit a destination of the kind (one it offers, or
// Ethernet kind 8, edited as "Ethernet" and kept as 8).
bool IsEditableKind(int kind);
bool IsEthernetKind(int kind);

// "COM1 9600bps", "PLC simulation", ... in the given language (0 Japanese).
std::string DestinationName(const CDestination& d, int language);
// The name followed by the station: "COM1 9600bps Station No.1".
std::string DestinationText(const CDestination& d, int language);

}  // namespace tavtools
