#include "destination_option.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "cli_command.h"
#include "tavinter/ethernet_link_config.h"
#include "tavinter/connection_record.h"
#include "tavinter/serial_settings.h"
#include "tavinter/tavinter.h"

namespace axcfg::cli {

namespace {

constexpr int kAcceptCheck = 40;
constexpr int kAccepted = 10001;
constexpr int kAcceptPollMs = 200;

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

bool NumberIn(const std::string& text, long long min, long long max, long long& value) {
  return ParseNumber(text, value) && value >= min && value <= max;
}

// The options after the first comma of tcp: and listen:, into the link's
// configuration; false with a message.
bool TakeEthernetOptions(const std::vector<std::string>& options, bool listen, tavinter::EthernetLinkConfig& c,
                         int& waitSec, std::string& error) {
  for (size_t i = 1; i < options.size(); ++i) {
    const std::string& item = options[i];
    const size_t eq = item.find('=');
    const std::string key = item.substr(0, eq), value = eq == std::string::npos ? "" : item.substr(eq + 1);
    long long n = 0;
    if (key == "eth" && NumberIn(value, 1, 64, n)) {
      c.port = static_cast<int>(n);
    } else if (!listen && item == "header") {
      c.header = true;
    } else if (!listen && key == "src" && NumberIn(value, 1, 65535, n)) {
      c.sourcePort = static_cast<uint16_t>(n);
    } else if (!listen && key == "srcaddr" && !value.empty() && value.size() < 40) {
      c.source = value;
    } else if (!listen && key == "limit" && NumberIn(value, 0, 3600, n)) {
      c.connectLimitSec = static_cast<int>(n);
    } else if (listen && key == "from" && !value.empty() && value.size() < 40) {
      c.destination = value;
    } else if (listen && key == "wait" && NumberIn(value, 0, 3600, n)) {
      waitSec = static_cast<int>(n);
    } else {
      error = "\"" + item + "\" is not an option of " + (listen ? "listen:" : "tcp:") +
              (listen ? " (eth=1..64, from=ADDR, wait=S)"
                      : " (eth=1..64, header, src=PORT, srcaddr=ADDR, limit=0..3600)");
      return false;
    }
  }
  return true;
}

// Polls the accept check until the PLC has connected or waitSec have passed.
int WaitForPlc(uint8_t* context, int waitSec) {
  tavinter::CConnectionRecord r(context);
  std::fprintf(stderr, "axcfg: waiting up to %d s for the PLC to connect to TCP port %u\n", waitSec,
               tavinter::EthernetLinkConfig::From(r.Config()).sourcePort);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(waitSec);
  for (;;) {
    unsigned char answer[16];
    int length = 0;
    const int rc = TavRequest(context, kAcceptCheck, nullptr, answer, sizeof answer, &length);
    if (rc == kAccepted) return 0;
    if (rc != 0) return rc;
    if (std::chrono::steady_clock::now() >= until) return -10047;
    std::this_thread::sleep_for(std::chrono::milliseconds(kAcceptPollMs));
  }
}

bool ParseEthernet(const std::string& text, bool listen, uint8_t* record, int& waitSec, std::string& error) {
  const std::vector<std::string> options = SplitCommas(text.substr(listen ? 7 : 4));
  tavinter::EthernetLinkConfig c;
  c.port = 1;
  c.timeoutSec = 3;
  c.destinationStation = 0;
  if (listen) {
    long long port = 0;
    if (!NumberIn(options[0], 1, 65535, port)) {
      error = "expected listen:PORT[,eth=N][,from=ADDR][,wait=S]";
      return false;
    }
    c.kind = tavinter::kKindEthernetListen;
    c.sourcePort = static_cast<uint16_t>(port);
  } else {
    std::string host;
    int port = 0;
    if (!platform::SplitHostPort(options[0], host, port) || host.size() >= tavinter::CConnectionRecord::kCommandWidth) {
      error = "expected tcp:HOST:PORT[,eth=N][,header][,src=PORT][,srcaddr=ADDR][,limit=S]";
      return false;
    }
    c.kind = tavinter::kKindEthernet;
    c.destination = host;
    c.destinationPort = static_cast<uint16_t>(port);
  }
  if (!TakeEthernetOptions(options, listen, c, waitSec, error)) return false;
  tavinter::CConnectionRecord r(record);
  tavinter::CChannelConfig config = r.Config();
  c.WriteTo(config);
  r.SetConfig(config);
  return true;
}

}  // namespace

bool ParseDestination(const std::string& text, uint8_t* record, std::string& error) {
  int waitSec = 0;
  return ParseDestination(text, record, waitSec, error);
}

bool ParseDestination(const std::string& text, uint8_t* record, int& acceptWaitSec, std::string& error) {
  std::memset(record, 0, tavinter::kConnectionRecordSize);
  acceptWaitSec = 0;
  tavinter::CConnectionRecord r(record);
  r.SetTimeout(3);
  if (text == "sim") {
    r.SetKind(tavinter::kKindSimulation);
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
  if (text.rfind("tcp:", 0) == 0) return ParseEthernet(text, false, record, acceptWaitSec, error);
  if (text.rfind("listen:", 0) == 0) return ParseEthernet(text, true, record, acceptWaitSec, error);
  error = "unknown destination \"" + text + "\" (sim, com:N[,...], tcp:HOST:PORT[,...] or listen:PORT[,...])";
  return false;
}

std::function<int(uint8_t*)> AcceptWait(int acceptWaitSec) {
  if (acceptWaitSec <= 0) return {};
  return [acceptWaitSec](uint8_t* context) { return WaitForPlc(context, acceptWaitSec); };
}

}  // namespace axcfg::cli
