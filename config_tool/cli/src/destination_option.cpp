#include "destination_option.h"

#include <cstring>

#include "cli_command.h"
#include "tavinter/connection_record.h"
#include "tavinter/serial_settings.h"

namespace axcfg::cli {

bool ParseDestination(const std::string& text, uint8_t* record, std::string& error) {
  std::memset(record, 0, tavinter::kConnectionRecordSize);
  tavinter::CConnectionRecord r(record);
  r.SetTimeout(3);
  if (text == "sim") {
    r.SetKind(tavinter::kKindSimulation);
    return true;
  }
  if (text == "usb") {
    r.SetKind(tavinter::kKindUsb);
    return true;
  }
  if (text.rfind("com:", 0) == 0) {
    const std::string rest = text.substr(4);
    const size_t comma = rest.find(',');
    long long com = 0;
    if (!ParseNumber(rest.substr(0, comma), com) || com < 1 || com > 256) {
      error = "the COM number must be 1 to 256";
      return false;
    }
    tavinter::CSerialSettings serial;
    serial.parity = tavinter::kParityNone;
    if (comma != std::string::npos && !tavinter::ParseSerialText(rest.substr(comma + 1), serial, error)) return false;
    r.SetKind(tavinter::kKindSerial);
    r.SetPort(static_cast<int16_t>(com));
    tavinter::WriteSerialSettings(r, serial);
    return true;
  }
  if (text.rfind("tcp:", 0) == 0) {
    std::string host;
    int port = 0;
    if (!platform::SplitHostPort(text.substr(4), host, port) ||
        host.size() >= tavinter::CConnectionRecord::kCommandWidth) {
      error = "expected tcp:HOST:PORT";
      return false;
    }
    r.SetKind(tavinter::kKindEthernet);
    r.SetPort(1);
    r.SetInitCommand(host);
    r.SetTcpPort(port);
    return true;
  }
  error = "unknown destination \"" + text + "\" (sim, com:N[,...], tcp:HOST:PORT or usb)";
  return false;
}

}  // namespace axcfg::cli
