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
  broken_ = false;
  return Open();
}

int CSerialChannel::Command(const std::string& text, int /*station*/, const ExchangeOptions& options,
                            std::string& delivered) {
  // A descriptor whose device went away stays dead even when the device
  // comes back under the same name, so a plain serial line is opened again.
  // The modem kinds keep theirs: a new descriptor would not bring the call back.
  if (broken_) {
    port_.Close();
    if (Open() != kOk) {
      delivered.clear();
      return kErrSerialOpen;
    }
    broken_ = false;
  }
  const int rc = exchange_.Run(text, options, delivered);
  broken_ = (rc == kErrRead || rc == kErrWrite) && config_.Kind() == tavinter::kKindSerial;
  return rc;
}

}  // namespace connsrv
