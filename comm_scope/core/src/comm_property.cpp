#include "commscope/comm_property.h"

#include "commscope/port_names.h"
#include "tavinter/ethernet_link_record.h"
#include "tavinter/request_record.h"

namespace commscope {

namespace {

using tavinter::CChannelConfig;

int I16(const uint8_t* c, size_t size, size_t offset) { return tavinter::GetI16(c, size, offset); }
std::string LowByte(const uint8_t* c, size_t size, size_t offset) { return std::to_string(I16(c, size, offset) & 0xFF); }

}  // namespace

CommProperty DescribeChannel(const uint8_t* config, size_t size) {
  CommProperty p;
  int kind = I16(config, size, CChannelConfig::kKind);
  std::string timeout = std::to_string(tavinter::GetI32(config, size, CChannelConfig::kTimeout));
  p.rows.push_back({"Network type", NetworkTypeName(kind)});
  switch (kind) {
    case tavinter::kKindSerial:
    case tavinter::kKindModem:
    case tavinter::kKindModemAlarm:
      p.window = PropertyWindow::Serial;
      p.rows.push_back({"Port", "COM" + std::to_string(I16(config, size, CChannelConfig::kPort))});
      p.rows.push_back({"Baudrate", BaudRateText(I16(config, size, CChannelConfig::kBaud))});
      p.rows.push_back({"Data", std::to_string(I16(config, size, CChannelConfig::kDataBits))});
      p.rows.push_back({"Parity", ParityName(I16(config, size, CChannelConfig::kParity))});
      p.rows.push_back({"Stop", I16(config, size, CChannelConfig::kStopBits) == 1 ? "1" : "2"});
      break;
    case tavinter::kKindUsb:
      p.window = PropertyWindow::Usb;
      p.rows.push_back({"Type", std::to_string(I16(config, size, CChannelConfig::kPort))});
      break;
    case tavinter::kKindSimulation:
      p.window = PropertyWindow::Simulation;
      break;
    default:
      // Boards and anything else: the board fields of the open.
      p.window = PropertyWindow::Board;
      p.rows.push_back({"Board No.", LowByte(config, size, CChannelConfig::kPort)});
      p.rows.push_back({"Seg No.", LowByte(config, size, CChannelConfig::kBaud)});
      p.rows.push_back({"IRQ(INT)", LowByte(config, size, CChannelConfig::kParity)});
      break;
  }
  p.rows.push_back({"Timeout(s)", timeout});
  return p;
}

std::string PropertyText(const CommProperty& property) {
  std::string text;
  for (const auto& row : property.rows) text += row.label + ": " + row.value + "\n";
  return text;
}

const std::vector<std::string>& EthernetLinkLabels() {
  static const std::vector<std::string> kLabels{"Source IP address",      "Source port No.",     "Source St No.",
                                                "Destination IP address", "Destination port No.", "Destination St No.",
                                                "Use QE-LAN unit",        "Timeout(s)"};
  return kLabels;
}

CommProperty DescribeEthernetLink(const uint8_t* record, size_t size) {
  const auto link = tavinter::EthernetLinkRecord::Read(record, size);
  const std::vector<std::string> values{link.source,
                                        std::to_string(link.sourcePort),
                                        std::to_string(link.sourceStation),
                                        link.destination,
                                        std::to_string(link.destinationPort),
                                        std::to_string(link.destinationStation),
                                        link.header ? "Yes" : "No",
                                        std::to_string(link.timeoutSec)};
  CommProperty p;
  p.window = PropertyWindow::EthernetLink;
  for (size_t i = 0; i < values.size(); ++i) p.rows.push_back({EthernetLinkLabels()[i], values[i]});
  return p;
}

}  // namespace commscope
