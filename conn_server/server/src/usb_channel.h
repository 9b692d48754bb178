#pragma once
// Channel kind 10 (port 325): a PLC on the PC's USB port. Raw sends and
// single-byte reads stay serial-only, so it offers no plain byte link.
#include "connsrv/channel.h"
#include "connsrv/usb_exchange.h"
#include "connsrv/usb_link.h"

namespace connsrv {

class CUsbChannel : public IChannel {
 public:
  CUsbChannel(IServerLibrary& library, IClock& clock, ILogSink& log, const CServerSettings& settings)
      : link_([&library] { return library.UsbDevicePath(0); }, clock), exchange_(link_, clock, &log, settings) {}

  // Any failure to find or open the device is -10002.
  int Open() override;
  void Close() override { link_.Close(); }
  int Command(const std::string& text, int station, const ExchangeOptions& options, std::string& delivered) override;

 private:
  CUsbLink link_;
  CUsbExchange exchange_;
};

}  // namespace connsrv
