#pragma once
// Display names of the viewer: ports by index (port number - 1), network
// types by channel kind, parities and baud rates by their codes. Codes
// outside the tables give their number, never a read past a table.
#include <string>

namespace commscope {

constexpr int kPortCount = 326;
constexpr int kClientSlots = 512;

// "Tavnet-h(0)".."Tavnet-h(2)", "Tavnet-p", "Ethernet(1)".."Ethernet(64)",
// "Com1".."Com256", "USB-QP", "PLC-Simulation"; "" outside 0..325.
std::string PortName(int index);
// "K-net(RS232C)", "Modem", "Modem & Alarm", "Tavnet-H", "Tavnet-P",
// "Ethernet", "USB", "PLC-Simulation"; the number for other kinds.
std::string NetworkTypeName(int kind);
// "NON", "ODD", "EVEN"; the number for other codes.
std::string ParityName(int code);
// The bit rate of a baud index (0: 1200 .. 8: 230400); the number otherwise.
std::string BaudRateText(int index);

}  // namespace commscope
