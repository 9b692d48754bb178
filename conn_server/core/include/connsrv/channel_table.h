#pragma once
// What a port number (1 to 326) means: the channel, its names, its log prefix.
#include <string>

namespace connsrv {

constexpr int kPortMin = 1;
constexpr int kPortMax = 326;
constexpr int kPortSimulation = 326;
constexpr int kPortUsb = 325;

struct ChannelNames {
  std::string channel;   // "TavCom2", "TavEthernet", "TavSml"...
  std::string display;   // the log settings value name: "Com2", "Ethernet", "Simulation"...
  std::string logPrefix; // "TavCom2_", "TavEthernet3_", "TavSml_"...
};

bool IsEthernetPort(int port);  // 5..68
bool IsSerialPort(int port);    // 69..324
int ComNumber(int port);        // serial ports: port - 68
int EthernetNumber(int port);   // Ethernet ports: port - 4

// Names of a valid port number; empty names for others.
ChannelNames NamesForPort(int port);

// The fixed 22-entry channel-name table ("TavCom1".."TavCom15", "TavH0".."TavP",
// "TavEthernet", "TavUSBQP", "TavSml") and its parallel display-name table.
const char* ChannelTableEntry(int index);
const char* DisplayTableEntry(int index);
constexpr int kChannelTableSize = 22;

}  // namespace connsrv
