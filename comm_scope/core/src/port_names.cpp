#include "commscope/port_names.h"

#include <array>

#include "tavinter/serial_settings.h"

namespace commscope {

std::string PortName(int index) {
  if (index < 0 || index >= kPortCount) return {};
  if (index < 3) return "Tavnet-h(" + std::to_string(index) + ")";
  if (index == 3) return "Tavnet-p";
  if (index < 68) return "Ethernet(" + std::to_string(index - 3) + ")";
  if (index < 324) return "Com" + std::to_string(index - 67);
  return index == 324 ? "USB-QP" : "PLC-Simulation";
}

std::string NetworkTypeName(int kind) {
  switch (kind) {
    case 1: return "K-net(RS232C)";
    case 2: return "Tavnet-H";
    case 3: return "Tavnet-P";
    case 5:
    case 8:
    case 9: return "Ethernet";
    case 6: return "Modem";
    case 7: return "Modem & Alarm";
    case 10: return "USB";
    case 11: return "PLC-Simulation";
    default: return std::to_string(kind);
  }
}

std::string ParityName(int code) {
  static constexpr std::array<const char*, 3> kNames{"NON", "ODD", "EVEN"};
  if (code >= 0 && code < static_cast<int>(kNames.size())) return kNames[static_cast<size_t>(code)];
  return std::to_string(code);
}

std::string BaudRateText(int index) {
  int rate = tavinter::BaudRateOfIndex(index);
  return std::to_string(rate != 0 ? rate : index);
}

}  // namespace commscope
