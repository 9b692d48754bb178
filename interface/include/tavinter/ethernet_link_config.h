#pragma once
// The Ethernet fields of a channel configuration (the 200 bytes a client
// opens with, or hands over later to replace its link):
//
//   0   int16     kind (5, 8: the server connects; 9: the PLC connects)
//   2   int16     Ethernet port 1..64
//   4   int32     time-out, seconds
//   16  char[40]  destination address or host name
//   56  char[40]  source address (empty: any)
//   96  int32     destination TCP port
//   100 uint16    source TCP port (kind 9: the port listened on)
//   102 int16     source station, 104 int16 destination station
//   106 int16     1: frames carry the route header
//   108 int32     connect limit, seconds (0: 180)
//   112 int16     1: bind to this PC's address on the way to the destination
//   114 int16     listen backlog (0: 5)
#include <cstdint>
#include <string>

#include "tavinter/request_record.h"

namespace tavinter {

struct EthernetLinkConfig {
  enum Offset : size_t {
    kDestination = 16, kSource = 56, kDestinationPort = 96, kSourcePort = 100, kSourceStation = 102,
    kDestinationStation = 104, kHeader = 106, kConnectLimit = 108, kLocalAddress = 112, kBacklog = 114,
  };

  int kind = 0;
  int port = 0;
  int timeoutSec = 0;
  std::string destination;
  std::string source;
  uint16_t destinationPort = 0;
  uint16_t sourcePort = 0;
  int sourceStation = 0;
  int destinationStation = 0;
  bool header = false;
  int connectLimitSec = 0;
  bool localAddress = false;
  int backlog = 5;

  static EthernetLinkConfig From(const CChannelConfig& config);
  void WriteTo(CChannelConfig& config) const;
  bool PlcConnects() const { return kind == kKindEthernetListen; }
};

bool IsEthernetKind(int kind);

}  // namespace tavinter
