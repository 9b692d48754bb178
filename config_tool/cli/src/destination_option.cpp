#include "destination_option.h"

#include <cstring>
#include <sstream>
#include <vector>

#include "cli_command.h"
#include "tavinter/connection_record.h"

namespace axcfg::cli {

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::stringstream in(s);
  std::string p;
  while (std::getline(in, p, sep)) parts.push_back(p);
  return parts;
}

int BaudIndex(long long baud) {
  static const long long kRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};
  for (int i = 0; i < 9; ++i)
    if (kRates[i] == baud) return i;
  return -1;
}

}  // namespace

bool ParseDestination(const std::string& text, uint8_t* record, std::string& error) {
  std::memset(record, 0, tavinter::kConnectionRecordSize);
  tavinter::CConnectionRecord r(record);
  r.SetTimeout(3);
  if (text == "sim") {
    r.SetKind(tavinter::kKindSimulation);
    return true;
  }
  if (text.rfind("com:", 0) == 0) {
    auto f = Split(text.substr(4), ',');
    long long com = 0, baud = 9600, bits = 8, stop = 1;
    if (f.empty() || !ParseNumber(f[0], com) || com < 1 || com > 256) {
      error = "the COM number must be 1 to 256";
      return false;
    }
    if (f.size() > 1 && (!ParseNumber(f[1], baud) || BaudIndex(baud) < 0)) {
      error = "the baud rate must be one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400";
      return false;
    }
    if (f.size() > 2 && (!ParseNumber(f[2], bits) || bits < 5 || bits > 8)) {
      error = "the data bits must be 5 to 8";
      return false;
    }
    int parity = 0;
    if (f.size() > 3) {
      static const std::string kParities = "NOES";
      if (f[3].size() != 1 || kParities.find(static_cast<char>(std::toupper(f[3][0]))) == std::string::npos) {
        error = "the parity must be N, O, E or S";
        return false;
      }
      parity = static_cast<int>(kParities.find(static_cast<char>(std::toupper(f[3][0]))));
    }
    if (f.size() > 4 && (!ParseNumber(f[4], stop) || (stop != 1 && stop != 2))) {
      error = "the stop bits must be 1 or 2";
      return false;
    }
    if (f.size() > 5) {
      error = "too many serial settings";
      return false;
    }
    r.SetKind(tavinter::kKindSerial);
    r.SetPort(static_cast<int16_t>(com));
    r.SetBaudIndex(static_cast<int16_t>(BaudIndex(baud)));
    r.SetDataBits(static_cast<int16_t>(bits));
    r.SetParity(static_cast<int16_t>(parity));
    r.SetStopBits(static_cast<int16_t>(stop));
    return true;
  }
  if (text.rfind("tcp:", 0) == 0) {
    std::string rest = text.substr(4);
    size_t colon = rest.rfind(':');
    long long port = 0;
    if (colon == std::string::npos || colon == 0 || !ParseNumber(rest.substr(colon + 1), port) || port < 1 ||
        port > 65535 || colon >= 40) {
      error = "expected tcp:HOST:PORT";
      return false;
    }
    r.SetKind(tavinter::kKindEthernet);
    r.SetPort(1);
    r.SetInitCommand(rest.substr(0, colon));
    r.SetTcpPort(static_cast<int32_t>(port));
    return true;
  }
  error = "unknown destination \"" + text + "\" (sim, com:N[,...] or tcp:HOST:PORT)";
  return false;
}

}  // namespace axcfg::cli
