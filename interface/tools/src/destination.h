#pragma once
// The destination as the settings dialog edits it, read from and written to
// the connection record, and its text for the status bar.
#include <cstdint>
#include <string>

#include "tavinter/connection_record.h"

namespace tavtools {

struct CDestination {
  int kind = tavinter::kKindSimulation;
  int comPort = 1;           // serial and modem
  int baudIndex = 3;         // 0 1200 .. 8 230400
  int dataBits = 8;
  int parity = 1;            // 0 none, 1 odd, 2 even
  int stopBits = 1;
  int timeout = 10;          // seconds
  std::string address;       // Ethernet
  int tcpPort = 1025;        // Ethernet
  int station = 1;           // 0..99
  int transportPort = 0;     // the record's port as it was (board number)

  static CDestination FromRecord(const tavinter::CConnectionRecord& record);
  // Writes the destination's fields into the record's channel part.
  void ToRecord(tavinter::CConnectionRecord record) const;
  // Empty when usable, else the id of the text that says what is wrong.
  unsigned Problem() const;
};

// The kinds offered, in the order the dialog lists them.
extern const int kOfferedKinds[5];
int BaudRate(int index);  // 0 for an index out of range
constexpr int kBaudCount = 9;

// "COM1 9600bps", "PLC simulation", ... in the given language (0 Japanese).
std::string DestinationName(const CDestination& d, int language);
// The name followed by the station: "COM1 9600bps Station No.1".
std::string DestinationText(const CDestination& d, int language);

}  // namespace tavtools
