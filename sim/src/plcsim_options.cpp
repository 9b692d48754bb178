#include "sim/plcsim_options.h"

#include <algorithm>
#include <cstdint>

#include "platform/command_line.h"

namespace sim {

namespace {

using Mode = PlcSimOptions::Mode;

// The options that take a number, with their range and where it goes.
struct NumberOption {
  const char* name;
  long long min, max;
  void (*set)(PlcSimOptions&, int);
};

const NumberOption kNumbers[] = {
    {"--tcp", 0, 65535, [](PlcSimOptions& o, int n) { o.tcpPort = n; }},
    {"--model", 0, 0xFFFF, [](PlcSimOptions& o, int n) { o.plc.unit.model = static_cast<uint16_t>(n); }},
    {"--station", 1, 99, [](PlcSimOptions& o, int n) { o.plc.station = n; }},
    {"--slot", 0, 28, [](PlcSimOptions& o, int n) { o.plc.slot = n; }},
    {"--axes", 1, 0xFF, [](PlcSimOptions& o, int n) { o.plc.unit.axes = static_cast<uint8_t>(n); }},
    {"--corrupt-bcc", 0, 1000000, [](PlcSimOptions& o, int n) { o.plc.faults.corruptBccEvery = n; }},
    {"--nak", 0, 1000000, [](PlcSimOptions& o, int n) { o.plc.faults.nakEvery = n; }},
    {"--drop", 0, 1000000, [](PlcSimOptions& o, int n) { o.plc.faults.dropEvery = n; }},
    {"--other-station", 0, 1000000, [](PlcSimOptions& o, int n) { o.plc.faults.otherStationEvery = n; }},
    {"--split", 0, 1000000, [](PlcSimOptions& o, int n) { o.plc.faults.splitEvery = n; }},
    {"--split-pause", 0, 60000, [](PlcSimOptions& o, int n) { o.plc.faults.splitPauseMs = n; }},
    {"--delay", 0, 60000, [](PlcSimOptions& o, int n) { o.plc.faults.delayMs = n; }},
    {"--connect-delay", 0, 600000, [](PlcSimOptions& o, int n) { o.modem.connectDelayMs = n; }},
    {"--carrier-loss-after", 0, 86400000, [](PlcSimOptions& o, int n) { o.modem.carrierLossAfterMs = n; }},
    {"--ring-every", 0, 600000, [](PlcSimOptions& o, int n) { o.modem.ringEveryMs = n; }},
};

const NumberOption* FindNumber(const std::string& option) {
  for (const NumberOption& n : kNumbers)
    if (option == n.name) return &n;
  return nullptr;
}

bool SetMode(PlcSimOptions& o, Mode mode, const std::string& option, std::string& error) {
  if (o.mode != Mode::None) {
    error = option + ": only one of --serial, --tcp, --connect and --modem can be given";
    return false;
  }
  o.mode = mode;
  return true;
}

// A caller number goes out on the line as it is: printable and short.
bool SetCallerId(PlcSimOptions& o, const std::string& value, std::string& error) {
  const bool printable = std::all_of(value.begin(), value.end(), [](char c) { return c > ' ' && c < 0x7F; });
  if (value.empty() || value.size() > 20 || !printable) {
    error = "--caller-id needs a number of 1 to 20 characters without blanks, not \"" + value + "\"";
    return false;
  }
  o.modem.callerId = value;
  return true;
}

// One option as given; options later on the line override earlier ones.
bool Apply(PlcSimOptions& o, const std::string& option, const std::string& value, std::string& error) {
  if (const NumberOption* n = FindNumber(option)) {
    long long v = 0;
    if (!platform::ParseNumber(value, v) || v < n->min || v > n->max) {
      error = option + " needs a number from " + std::to_string(n->min) + " to " + std::to_string(n->max) +
              ", not \"" + value + "\"";
      return false;
    }
    if (option == "--tcp" && !SetMode(o, Mode::Tcp, option, error)) return false;
    n->set(o, static_cast<int>(v));
    return true;
  }
  if (option == "--serial") return SetMode(o, Mode::Serial, option, error);
  if (option == "--modem") return SetMode(o, Mode::Modem, option, error);
  if (option == "--connect") {
    if (!SetMode(o, Mode::Connect, option, error)) return false;
    if (platform::SplitHostPort(value, o.host, o.connectPort)) return true;
    error = "--connect needs HOST:PORT, not \"" + value + "\"";
    return false;
  }
  if (option == "--faults") return ParseFaultList(value, o.plc.faults, error);
  if (option == "--busy") o.modem.busyNumbers.push_back(value);
  else if (option == "--no-answer") o.modem.noAnswerNumbers.push_back(value);
  else if (option == "--no-dialtone") o.modem.noDialtone = true;
  else if (option == "--caller-id") return SetCallerId(o, value, error);
  else if (option == "--link") o.linkPath = value;
  else if (option == "--data") o.dataDir = value;
  else if (option == "--log") o.logFrames = true;
  else if (option == "--header") o.header = true;
  else if (option == "--power-cycle") o.powerCycle = true;
  else if (option == "--help" || option == "-h") o.help = true;
  return true;
}

}  // namespace

bool ParsePlcSimOptions(const std::vector<std::string>& args, PlcSimOptions& o, std::string& error) {
  platform::CCommandLine line;
  for (const char* flag : {"h,help", "serial", "modem", "log", "power-cycle", "header", "no-dialtone"}) line.AddFlag(flag);
  for (const NumberOption& n : kNumbers) line.AddValue(n.name + 2);
  for (const char* value : {"link", "connect", "faults", "busy", "no-answer", "data", "caller-id"}) line.AddValue(value);
  if (!line.Parse(args, error)) {
    error += " (see --help)";
    return false;
  }
  for (const auto& [option, value] : line.Given())
    if (!Apply(o, option, value, error)) return false;
  if (o.help) return true;
  // The device of --serial and --modem is the one argument that is not an option.
  const std::vector<std::string> rest = line.Positional();
  if (!rest.empty()) {
    if (rest.size() > 1 || (o.mode != Mode::Serial && o.mode != Mode::Modem)) {
      error = "unexpected argument \"" + rest.back() + "\" (see --help)";
      return false;
    }
    o.device = rest.front();
  }
  if (o.mode == Mode::None) {
    error = "choose one of --serial, --tcp, --connect and --modem (see --help)";
    return false;
  }
  if (!o.linkPath.empty() && !o.device.empty()) {
    error = "--link names a new pseudo-terminal; it cannot be used with a given device";
    return false;
  }
  return ValidatePlcConfig(o.plc, error);
}

std::string PlcSimHelp() {
  return R"(plcsim - a simulated PLC with one positioning unit

Usage: plcsim MODE [options]

The PLC answers the unit memory commands UR and UW (and error 42 to any other
command) for its station and slot, and the unit behaves as a real one at real
time: download and FROM write handshakes, tool operation mode with keep-alive,
servo, JOG, home return, positioning through the tables, interpolation
groups, software limits, error and warning codes. Its working memory and FROM
image are kept in the data folder (plcsim/stationSS-slotNN-modelCODE.*), loaded
at the start and saved at the end (SIGINT, SIGTERM). SIGHUP switches the unit off
and on: working memory is reloaded from the FROM image.

Modes (exactly one):
  --serial [DEVICE]    serve a serial device, or without DEVICE create a
                       pseudo-terminal and print its path
  --tcp PORT           listen on 127.0.0.1:PORT (0: any free port; the port
                       is printed)
  --connect HOST:PORT  connect out to a server that listens for PLCs
                       (reconnects when the link drops)
  --modem [DEVICE]     a Hayes-style modem in front of the PLC on a new
                       pseudo-terminal (or DEVICE): AT commands, ATD dialling,
                       "+++" escape, ATH0 hang-up, V0/V1 result codes, S2
                       escape character

Options:
  --link PATH          make PATH a symbolic link to the new pseudo-terminal
  --model CODE         unit model code (default 5154): 5152-5158,
                       13312-13314
  --station N          PLC station number 1-99 (default 1); "EE" is always
                       answered, broadcast "FF" is carried out silently
  --slot N             slot of the unit 0-28 (default 0)
  --axes MASK          connected axes, bit 0 = axis 1 (default: all axes of
                       the model), e.g. 0x0F
  --data DIR           keep the unit's memory in DIR instead
  --power-cycle        start as after switching the unit off and on
  --log                print every frame in and out on standard error, with
                       the time in seconds to the millisecond; with --modem
                       also every command line, result and escape; with
                       --header also each received header's bytes
  --header             (--tcp, --connect) each frame comes behind a binary
                       route header; answers go back behind the same header
                       with their own length

Modem options:
  --connect-delay MS   time from ATD to CONNECT (default 1000)
  --busy NUMBER        dialling NUMBER gives BUSY (repeatable)
  --no-answer NUMBER   dialling NUMBER gives NO ANSWER (repeatable)
  --no-dialtone        every dial gives NO DIALTONE
  --carrier-loss-after MS
                       the far end hangs up MS after each CONNECT: "NO
                       CARRIER" and back to command mode (SIGUSR1 does the
                       same at once)
  --ring-every MS      while idle, an incoming call rings every MS: "RING";
                       ATA answers it, ATS0=N answers after N rings
  --caller-id NUMBER   each RING is followed by "ID NUMBER"

Fault injection (N = every Nth; 0 = off):
  --corrupt-bcc N      every Nth answer has a wrong block check code
  --nak N              every Nth frame is answered "!40" and not carried out
  --drop N             every Nth answer is not sent (the command is done)
  --other-station N    every Nth answer is preceded by an answer for another
                       station
  --split N            every Nth answer is written in two parts ...
  --split-pause MS     ... with this pause between them (default 50)
  --delay MS           every answer is sent after this delay
  --faults LIST        the same as a list: bcc=N,nak=N,drop=N,other=N,
                       split=N,pause=MS,delay=MS,hangup=N (hangup: close the
                       TCP link after every Nth answer); and download=none
                       (the download request 0x1111 is never answered) or
                       download=HEX (it is answered with that word, e.g.
                       download=CCCC)

Codes the unit raises (as the data monitor shows them):
  errors    00001-E0021 / E0022  upper / lower software limit
            00001-E0031          starting table No. out of 1-600
            00001-E0032          positioning table data out of range
            00001-E0033          an axis of the interpolation group is missing
  warnings  00002-E0011          start while the axis runs
            00002-E0012          start with the servo off
            00002-E0013          servo switched off while moving
            00002-E0021          keep-alive missing for longer than the tool
                                 operation time-out: axes stopped, tool
                                 operation mode ended

A command split into frames ending in "&" gets "%SS&" and its code after
each frame but the last, which gets the answer.

The in-process entry point (PlcSimExchange in libkeld_plcsim) takes its unit
from KELD_SIM_MODEL, KELD_SIM_STATION, KELD_SIM_SLOT, KELD_SIM_AXES and its
faults from KELD_SIM_FAULTS (the form of --faults).
)";
}

}  // namespace sim
