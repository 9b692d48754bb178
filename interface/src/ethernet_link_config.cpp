#include "tavinter/ethernet_link_config.h"

namespace tavinter {

bool IsEthernetKind(int kind) {
  return kind == kKindEthernet || kind == kKindEthernet8 ||
         kind == kKindEthernetListen;
}

EthernetLinkConfig EthernetLinkConfig::From(const CChannelConfig& config) {
  const uint8_t* b = config.Bytes().data();
  const size_t n = config.Bytes().size();
  EthernetLinkConfig c;
  c.kind = config.Kind();
  c.port = config.Port();
  c.timeoutSec = config.Timeout();
  c.destination = GetText(b, n, kDestination, CChannelConfig::kTextWidth);
  c.source = GetText(b, n, kSource, CChannelConfig::kTextWidth);
  const int32_t dstPort = GetI32(b, n, kDestinationPort);
  c.destinationPort = dstPort > 0 && dstPort <= 65535 ? static_cast<uint16_t>(dstPort) : 0;
  c.sourcePort = GetU16(b, n, kSourcePort);
  c.sourceStation = GetI16(b, n, kSourceStation);
  c.destinationStation = GetI16(b, n, kDestinationStation);
  c.header = GetI16(b, n, kHeader) != 0;
  c.connectLimitSec = GetI32(b, n, kConnectLimit);
  c.localAddress = GetI16(b, n, kLocalAddress) != 0;
  const int backlog = GetI16(b, n, kBacklog);
  c.backlog = backlog > 0 ? backlog : 5;
  return c;
}

void EthernetLinkConfig::WriteTo(CChannelConfig& config) const {
  uint8_t* b = config.Bytes().data();
  const size_t n = config.Bytes().size();
  config.SetKind(static_cast<int16_t>(kind));
  config.SetPort(static_cast<int16_t>(port));
  config.SetTimeout(timeoutSec);
  PutText(b, n, kDestination, CChannelConfig::kTextWidth, destination);
  PutText(b, n, kSource, CChannelConfig::kTextWidth, source);
  PutI32(b, n, kDestinationPort, destinationPort);
  PutI16(b, n, kSourcePort, static_cast<int16_t>(sourcePort));
  PutI16(b, n, kSourceStation, static_cast<int16_t>(sourceStation));
  PutI16(b, n, kDestinationStation, static_cast<int16_t>(destinationStation));
  PutI16(b, n, kHeader, header ? 1 : 0);
  PutI32(b, n, kConnectLimit, connectLimitSec);
  PutI16(b, n, kLocalAddress, localAddress ? 1 : 0);
  PutI16(b, n, kBacklog, static_cast<int16_t>(backlog));
}

}  // namespace tavinter
