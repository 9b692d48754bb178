#include "connsrv/channel_table.h"

namespace connsrv {

namespace {
const char* const kChannels[kChannelTableSize] = {
    "TavCom1",  "TavCom2",  "TavCom3",  "TavCom4",  "TavCom5", "TavCom6", "TavCom7",     "TavCom8",
    "TavCom9",  "TavCom10", "TavCom11", "TavCom12", "TavCom13", "TavCom14", "TavCom15", "TavH0",
    "TavH1",    "TavH2",    "TavP",     "TavEthernet", "TavUSBQP", "TavSml"};
const char* const kDisplays[kChannelTableSize] = {
    "Com1",  "Com2",  "Com3",  "Com4",  "Com5", "Com6", "Com7",     "Com8",  "Com9",  "Com10", "Com11",
    "Com12", "Com13", "Com14", "Com15", "H0",   "H1",   "H2",       "P",     "Ethernet", "USBQP", "Simulation"};
}  // namespace

const char* ChannelTableEntry(int i) { return (i >= 0 && i < kChannelTableSize) ? kChannels[i] : ""; }
const char* DisplayTableEntry(int i) { return (i >= 0 && i < kChannelTableSize) ? kDisplays[i] : ""; }

bool IsEthernetPort(int port) { return port >= 5 && port <= 68; }
bool IsSerialPort(int port) { return port >= 69 && port <= 324; }
int ComNumber(int port) { return port - 68; }
int EthernetNumber(int port) { return port - 4; }

ChannelNames NamesForPort(int port) {
  ChannelNames n;
  if (port >= 1 && port <= 4) {
    n.channel = kChannels[port + 14];
    n.display = kDisplays[port + 14];
    n.logPrefix = n.channel + "_";
  } else if (IsEthernetPort(port)) {
    n.channel = "TavEthernet";
    n.display = "Ethernet";
    n.logPrefix = "TavEthernet" + std::to_string(EthernetNumber(port)) + "_";
  } else if (IsSerialPort(port)) {
    std::string com = std::to_string(ComNumber(port));
    n.channel = "TavCom" + com;
    n.display = "Com" + com;
    n.logPrefix = n.channel + "_";
  } else if (port == kPortUsb) {
    n.channel = "TavUSBQP";
    n.display = "USBQP";
    n.logPrefix = "TavUSBQP_";
  } else if (port == kPortSimulation) {
    n.channel = "TavSml";
    n.display = "Simulation";
    n.logPrefix = "TavSml_";
  }
  return n;
}

}  // namespace connsrv
