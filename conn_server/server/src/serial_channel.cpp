#include "serial_channel.h"

#include "connsrv/result_codes.h"

namespace connsrv {

SerialSettings CSerialChannel::SettingsOf(const tavinter::CChannelConfig& c) {
  SerialSettings s;
  static_cast<tavinter::CSerialSettings&>(s) = tavinter::ReadSerialSettings(c);
  // Hardware flow control is for the modem kinds only; a plain serial link opens without it.
  s.flowControl = c.Kind() != tavinter::kKindSerial && c.FlowControl() != 0;
  return s;
}

int CSerialChannel::Open() {
  std::string path = library_.ComDevicePath(config_.Port());
  if (path.empty() || port_.Open(path, SettingsOf(config_)) != 0) return kErrSerialOpen;
  return kOk;
}

int CSerialChannel::Reopen(const tavinter::CChannelConfig& config) {
  port_.Close();
  config_ = config;
  return Open();
}

int CSerialChannel::Command(const std::string& text, int /*station*/, const ExchangeOptions& options,
                            std::string& delivered) {
  return exchange_.Run(text, options, delivered);
}

}  // namespace connsrv
