#pragma once
// The communication property of a port, from its 200-byte channel
// configuration: which of the read-only windows shows it and its
// "Label: value" rows in window order. Unknown codes show their number.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace commscope {

enum class PropertyWindow { Serial, Usb, Simulation, Board, EthernetLink };

struct PropertyRow {
  std::string label;
  std::string value;
};

struct CommProperty {
  PropertyWindow window = PropertyWindow::Board;
  std::vector<PropertyRow> rows;
};

// size must be 200; shorter images read as zero past their end.
CommProperty DescribeChannel(const uint8_t* config, size_t size);

// The rows as "Label: value" lines.
std::string PropertyText(const CommProperty& property);

// The labels of an Ethernet client's link window, in window order.
const std::vector<std::string>& EthernetLinkLabels();
// An Ethernet client's link window from the library's link record (104 bytes).
CommProperty DescribeEthernetLink(const uint8_t* record, size_t size);
// Told when the client has no link in the library's table.
constexpr unsigned kIdNoEthernetLink = 57614;

}  // namespace commscope
