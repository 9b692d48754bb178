#include "connsrv/ethernet_link_config.h"

namespace connsrv {

using tavinter::GetI16;
using tavinter::GetI32;
using tavinter::GetText;
using tavinter::GetU16;

bool IsEthernetKind(int kind) {
  return kind == tavinter::kKindEthernet || kind == tavinter::kKindEthernet8 ||
         kind == tavinter::kKindEthernetListen;
}

EthernetLinkConfig EthernetLinkConfig::From(const tavinter::CChannelConfig& config) {
  const uint8_t* b = config.Bytes().data();
  const size_t n = config.Bytes().size();
  EthernetLinkConfig c;
  c.kind = config.Kind();
  c.port = config.Port();
  c.timeoutSec = config.Timeout();
  c.destination = GetText(b, n, kDestination, tavinter::CChannelConfig::kTextWidth);
  c.source = GetText(b, n, kSource, tavinter::CChannelConfig::kTextWidth);
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

void EthernetLinkConfig::WriteTo(tavinter::CChannelConfig& config) const {
  uint8_t* b = config.Bytes().data();
  const size_t n = config.Bytes().size();
  config.SetKind(static_cast<int16_t>(kind));
  config.SetPort(static_cast<int16_t>(port));
  config.SetTimeout(timeoutSec);
  tavinter::PutText(b, n, kDestination, tavinter::CChannelConfig::kTextWidth, destination);
  tavinter::PutText(b, n, kSource, tavinter::CChannelConfig::kTextWidth, source);
  tavinter::PutI32(b, n, kDestinationPort, destinationPort);
  tavinter::PutI16(b, n, kSourcePort, static_cast<int16_t>(sourcePort));
  tavinter::PutI16(b, n, kSourceStation, static_cast<int16_t>(sourceStation));
  tavinter::PutI16(b, n, kDestinationStation, static_cast<int16_t>(destinationStation));
  tavinter::PutI16(b, n, kHeader, header ? 1 : 0);
  tavinter::PutI32(b, n, kConnectLimit, connectLimitSec);
  tavinter::PutI16(b, n, kLocalAddress, localAddress ? 1 : 0);
  tavinter::PutI16(b, n, kBacklog, static_cast<int16_t>(backlog));
}

}  // namespace connsrv
