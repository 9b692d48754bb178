#include "destination.h"

#include "tool_texts.h"

namespace tavtools {

using tavinter::CConnectionRecord;

const int kOfferedKinds[5] = {tavinter::kKindSimulation, tavinter::kKindSerial, tavinter::kKindEthernet,
                              tavinter::kKindUsb, tavinter::kKindModem};

bool IsEditableKind(int kind) {
  for (int offered : kOfferedKinds)
    if (offered == kind) return true;
  return false;
}

CDestination CDestination::FromRecord(const CConnectionRecord& r) {
  CDestination d;
  d.kind = r.Kind();
  d.transportPort = r.Port();
  bool ethernet = d.kind == tavinter::kKindEthernet || d.kind == tavinter::kKindEthernet8 ||
                  d.kind == tavinter::kKindEthernetListen;
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
  if (ethernet) d.address = r.InitCommand();
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
      r.SetPort(1);
      r.SetInitCommand(address);
      r.SetTcpPort(tcpPort);
      break;
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
  if (kind == tavinter::kKindEthernet) {
    if (address.empty()) return kTextNoAddress;
    if (tcpPort < 1 || tcpPort > 65535) return kTextBadPort;
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
    case tavinter::kKindEthernetListen:
      return ToolText(kTextNameEthernet, language, d.address + ":" + std::to_string(d.tcpPort));
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
