#include "destination.h"

#include "tool_texts.h"

namespace tavtools {

using tavinter::CConnectionRecord;

const int kOfferedKinds[5] = {tavinter::kKindSimulation, tavinter::kKindSerial, tavinter::kKindEthernet,
                              tavinter::kKindUsb, tavinter::kKindModem};

int BaudRate(int index) {
  static const int rates[kBaudCount] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};
  return index >= 0 && index < kBaudCount ? rates[index] : 0;
}

CDestination CDestination::FromRecord(const CConnectionRecord& r) {
  CDestination d;
  d.kind = r.Kind();
  d.transportPort = r.Port();
  bool ethernet = d.kind == tavinter::kKindEthernet || d.kind == tavinter::kKindEthernet8 ||
                  d.kind == tavinter::kKindEthernetListen;
  if (!ethernet && r.Port() >= 1 && r.Port() <= 256) d.comPort = r.Port();
  if (r.BaudIndex() >= 0 && r.BaudIndex() < kBaudCount) d.baudIndex = r.BaudIndex();
  if (r.DataBits() == 7 || r.DataBits() == 8) d.dataBits = r.DataBits();
  if (r.Parity() >= 0 && r.Parity() <= 2) d.parity = r.Parity();
  if (r.StopBits() == 1 || r.StopBits() == 2) d.stopBits = r.StopBits();
  if (r.Timeout() > 0) d.timeout = r.Timeout();
  if (ethernet) d.address = r.InitCommand();
  if (r.TcpPort() > 0 && r.TcpPort() <= 65535) d.tcpPort = r.TcpPort();
  if (r.Station() >= 0 && r.Station() <= 99) d.station = r.Station();
  return d;
}

void CDestination::ToRecord(CConnectionRecord r) const {
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
  r.SetBaudIndex(static_cast<int16_t>(baudIndex));
  r.SetDataBits(static_cast<int16_t>(dataBits));
  r.SetParity(static_cast<int16_t>(parity));
  r.SetStopBits(static_cast<int16_t>(stopBits));
  r.SetTimeout(timeout);
  r.SetStation(static_cast<int16_t>(station));
}

unsigned CDestination::Problem() const {
  if (station < 0 || station > 99) return kTextBadStation;
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
             std::to_string(BaudRate(d.baudIndex)) + "bps";
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
