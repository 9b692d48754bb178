#include "usb_channel.h"

#include "connsrv/result_codes.h"

namespace connsrv {

int CUsbChannel::Open() { return link_.Open() == kUsbOpened ? kOk : kErrLibraryOpen; }

int CUsbChannel::Command(const std::string& text, int /*station*/, const ExchangeOptions& options,
                         std::string& delivered) {
  return exchange_.Run(text, options, delivered);
}

}  // namespace connsrv
