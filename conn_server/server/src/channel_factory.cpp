#include "connsrv/channel.h"
#include "connsrv/result_codes.h"
#include "modem_channel.h"
#include "ethernet_channel.h"
#include "serial_channel.h"
#include "simulation_channel.h"
#include "usb_channel.h"

namespace connsrv {

std::unique_ptr<IChannel> MakeChannel(const tavinter::CChannelConfig& config, int port, IServerLibrary& library,
                                      IClock& clock, ILogSink& log, const CServerSettings& settings, int& errorCode) {
  errorCode = kOk;
  switch (config.Kind()) {
    case tavinter::kKindSerial:
      return std::make_unique<CSerialChannel>(config, library, clock, log, settings);
    case tavinter::kKindModem:
    case tavinter::kKindModemAlarm:
      return std::make_unique<CModemChannel>(config, library, clock, log, settings);
    case tavinter::kKindSimulation:
      return std::make_unique<CSimulationChannel>(library, clock, log, settings);
    case tavinter::kKindEthernet:
    case tavinter::kKindEthernet8:
    case tavinter::kKindEthernetListen:
      return std::make_unique<CEthernetChannel>(port, library, clock, log, settings);
    case tavinter::kKindUsb:
      return std::make_unique<CUsbChannel>(library, clock, log, settings);
    case tavinter::kKindBoardH:
      errorCode = kErrLibraryOpen;  // no board library in this build
      return nullptr;
    case tavinter::kKindBoardP:
    case tavinter::kKindNone:
      errorCode = kErrBoardAttach;  // no board driver in this build
      return nullptr;
    default:
      errorCode = kErrChannelKind;  // a kind this build does not know
      return nullptr;
  }
}

int IChannel::AcceptCheck(int16_t) { return kErrChannelKind; }
int IChannel::OpenLink(int16_t, const tavinter::CChannelConfig&) { return kErrChannelKind; }

}  // namespace connsrv
