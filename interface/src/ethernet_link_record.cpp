#include "tavinter/ethernet_link_record.h"

#include "tavinter/request_record.h"

namespace tavinter {

namespace {

// A text field as the record holds it: at most width - 1 bytes, so that a
// record read from any bytes is written back unchanged.
std::string Field(const uint8_t* b, size_t n, size_t offset, size_t width) {
  std::string text = GetText(b, n, offset, width);
  if (text.size() >= width) text.resize(width - 1);
  return text;
}

}  // namespace

EthernetLinkRecord EthernetLinkRecord::Read(const uint8_t* b, size_t n) {
  if (!b) n = 0;
  EthernetLinkRecord r;
  r.kind = GetI16(b, n, kKind);
  r.handle = GetI16(b, n, kHandle);
  r.transportPort = GetI16(b, n, kTransportPort);
  r.source = Field(b, n, kSource, kTextWidth);
  r.sourcePort = GetU16(b, n, kSourcePort);
  r.sourceStation = GetI16(b, n, kSourceStation);
  r.destination = Field(b, n, kDestination, kTextWidth);
  r.destinationPort = GetU16(b, n, kDestinationPort);
  r.destinationStation = GetI16(b, n, kDestinationStation);
  r.header = GetI16(b, n, kHeader) != 0;
  r.timeoutSec = GetI32(b, n, kTimeout);
  r.connectLimitSec = GetI32(b, n, kConnectLimit);
  return r;
}

EthernetLinkRecord::Bytes EthernetLinkRecord::Write() const {
  Bytes bytes{};
  uint8_t* b = bytes.data();
  const size_t n = bytes.size();
  PutI16(b, n, kKind, static_cast<int16_t>(kind));
  PutI16(b, n, kHandle, static_cast<int16_t>(handle));
  PutI16(b, n, kTransportPort, static_cast<int16_t>(transportPort));
  PutText(b, n, kSource, kTextWidth, source);
  PutI16(b, n, kSourcePort, static_cast<int16_t>(sourcePort));
  PutI16(b, n, kSourceStation, static_cast<int16_t>(sourceStation));
  PutText(b, n, kDestination, kTextWidth, destination);
  PutI16(b, n, kDestinationPort, static_cast<int16_t>(destinationPort));
  PutI16(b, n, kDestinationStation, static_cast<int16_t>(destinationStation));
  PutI16(b, n, kHeader, header ? 1 : 0);
  PutI32(b, n, kTimeout, timeoutSec);
  PutI32(b, n, kConnectLimit, connectLimitSec);
  return bytes;
}

EthernetLinkRecord EthernetLinkRecord::Of(const EthernetLinkConfig& c, int16_t handle, const std::string& bound) {
  EthernetLinkRecord r;
  r.kind = c.kind;
  r.handle = handle;
  r.transportPort = c.port;
  r.source = bound.empty() ? c.source : bound;
  r.sourcePort = c.sourcePort;
  r.sourceStation = c.sourceStation;
  r.destination = c.destination;
  r.destinationPort = c.destinationPort;
  r.destinationStation = c.destinationStation;
  r.header = c.header;
  r.timeoutSec = c.timeoutSec;
  r.connectLimitSec = c.connectLimitSec;
  return r;
}

bool EthernetLinkRecord::Sound() const { return IsEthernetKind(kind) && handle > 0 && handle <= 0x7FFF; }

}  // namespace tavinter
