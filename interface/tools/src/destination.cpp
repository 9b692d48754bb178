#include "destination.h"

#include "tavinter/ethernet_link_config.h"
#include "tool_texts.h"

namespace tavtools {

using tavinter::CConnectionRecord;

const int kOfferedKinds[6] = {tavinter::kKindSimulation, tavinter::kKindSerial, tavinter::kKindEthernet,
                              tavinter::kKindEthernetListen, tavinter::kKindUsb, tavinter::kKindModem};

bool IsEthernetKind(int kind) { return tavinter::IsEthernetKind(kind); }

bool IsEditableKind(int kind) {
  if (kind == tavinter::kKindEthernet8) return true;
  for (int offered : kOfferedKinds)
    if (offered == kind) return true;
  return false;
}

CDestination CDestination::FromRecord(const CConnectionRecord& r) {
  CDestination d;
  d.kind = r.Kind();
  d.transportPort = r.Port();
  const bool ethernet = IsEthernetKind(d.kind);
  if (!ethernet && r.Port() >= 1 && r.Port() <= 256) d.comPort = r.Port();
  // Each serial field is taken when it is within the encoding; one outside
  // it is shown (and saved) as its default.
  const tavinter::CSerialSettings stored = tavinter::ReadSerialSettings(r);
  for (int16_t tavinter::CSerialSettings::*field : {&tavinter::CSerialSettings::baudIndex,
                                                   &tavinter::CSerialSettings::dataBits,
                                                   &tavinter::CSerialSettings::parity,
                                                   &tavinter::CSerialSettings::stopBits}) {
    tavinter::CSerialSettings candidate = d.serial;
    candidate.*field = stored.*field;
    if (tavinter::IsValidSerial(candidate)) d.serial = candidate;
  }
  if (r.Timeout() > 0) d.timeout = r.Timeout();
  if (ethernet) {
    const tavinter::EthernetLinkConfig c = tavinter::EthernetLinkConfig::From(r.Config());
    d.address = c.destination;
    if (c.port >= 1 && c.port <= 64) d.ethernetPort = c.port;
    d.sourceAddress = c.source;
    d.useLocalAddress = c.localAddress;
    d.sourcePort = c.sourcePort;
    d.sourceStation = c.sourceStation >= 0 && c.sourceStation <= 255 ? c.sourceStation : 0;
    d.header = c.header;
    d.connectLimit = c.connectLimitSec >= 0 && c.connectLimitSec <= 3600 ? c.connectLimitSec : 0;
  }
  if (r.TcpPort() > 0 && r.TcpPort() <= 65535) d.tcpPort = r.TcpPort();
  if (r.Station() >= 0 && r.Station() <= 99) d.station = r.Station();
  return d;
}

void CDestination::ToRecord(CConnectionRecord r) const {
  r.SetStation(static_cast<int16_t>(station));
  if (!IsEditableKind(kind)) return;
  r.SetKind(static_cast<int16_t>(kind));
  switch (kind) {
    case tavinter::kKindSerial:
    case tavinter::kKindModem:
      r.SetPort(static_cast<int16_t>(comPort));
      break;
    case tavinter::kKindEthernet:
    case tavinter::kKindEthernet8:
    case tavinter::kKindEthernetListen: {
      // The other bytes of the configuration stay as they were.
      tavinter::CChannelConfig config = r.Config();
      tavinter::EthernetLinkConfig c = tavinter::EthernetLinkConfig::From(config);
      c.kind = kind;
      c.port = ethernetPort;
      c.destination = address;
      c.destinationPort = static_cast<uint16_t>(tcpPort);
      c.source = useLocalAddress ? std::string() : sourceAddress;
      c.localAddress = useLocalAddress;
      c.sourcePort = static_cast<uint16_t>(sourcePort);
      c.sourceStation = sourceStation;
      c.destinationStation = station;
      c.header = header;
      c.connectLimitSec = connectLimit;
      c.timeoutSec = timeout;
      c.WriteTo(config);
      r.SetConfig(config);
      break;
    }
    default:
      r.SetPort(0);
      break;
  }
  tavinter::WriteSerialSettings(r, serial);
  r.SetTimeout(timeout);
}

unsigned CDestination::Problem() const {
  if (station < 0 || station > 99) return kTextBadStation;
  if (!IsEditableKind(kind)) return 0;  // kept as it is
  if ((kind == tavinter::kKindSerial || kind == tavinter::kKindModem) && (comPort < 1 || comPort > 256))
    return kTextBadPort;
  if (IsEthernetKind(kind)) {
    if (ethernetPort < 1 || ethernetPort > 64) return kTextBadPort;
    if (sourcePort < 0 || sourcePort > 65535 || connectLimit < 0 || connectLimit > 3600) return kTextBadPort;
    if (kind == tavinter::kKindEthernetListen) {
      // The PLC connects to this PC: the port it connects to is needed, its address is optional.
      if (sourcePort == 0) return kTextNoSourcePort;
    } else {
      if (address.empty()) return kTextNoAddress;
      if (tcpPort < 1 || tcpPort > 65535) return kTextBadPort;
    }
  }
  return 0;
}

std::string DestinationName(const CDestination& d, int language) {
  switch (d.kind) {
    case tavinter::kKindSimulation:
      return ToolText(kTextNameSimulation, language);
    case tavinter::kKindSerial:
      return ToolText(kTextNameSerial, language, std::to_string(d.comPort)) + " " +
             std::to_string(tavinter::BaudRateOfIndex(d.serial.baudIndex)) + "bps";
    case tavinter::kKindModem:
    case tavinter::kKindModemAlarm:
      return ToolText(kTextNameModem, language, std::to_string(d.comPort));
    case tavinter::kKindEthernet:
    case tavinter::kKindEthernet8:
      return ToolText(kTextNameEthernet, language, d.address + ":" + std::to_string(d.tcpPort));
    case tavinter::kKindEthernetListen:
      return ToolText(kTextNameEthernetListen, language, std::to_string(d.sourcePort));
    case tavinter::kKindUsb:
      return ToolText(kTextNameUsb, language);
    case tavinter::kKindBoardH:
      return ToolText(kTextNameBoardH, language, std::to_string(d.transportPort));
    case tavinter::kKindBoardP:
      return ToolText(kTextNameBoardP, language);
    default:
      return ToolText(kTextNameUnknown, language);
  }
}

std::string DestinationText(const CDestination& d, int language) {
  std::string station = d.station == 0 ? ToolText(kTextLocalStation, language)
                                       : ToolText(kTextStationSuffix, language, std::to_string(d.station));
  return DestinationName(d, language) + " " + station;
}

}  // namespace tavtools
