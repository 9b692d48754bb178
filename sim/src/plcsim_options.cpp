#include "sim/plcsim_options.h"

#include <cerrno>
#include <cstdlib>

namespace sim {

namespace {
// A decimal or 0x-hexadecimal number within [min, max].
bool ToNumber(const std::string& text, long min, long max, long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 0);
  return errno == 0 && *end == '\0' && value >= min && value <= max;
}
}  // namespace

bool ParsePlcSimOptions(const std::vector<std::string>& args, PlcSimOptions& o, std::string& error) {
  auto setMode = [&](PlcSimOptions::Mode m, const std::string& name) {
    if (o.mode != PlcSimOptions::Mode::None) {
      error = name + ": only one of --serial, --tcp, --connect and --modem can be given";
      return false;
    }
    o.mode = m;
    return true;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasNext = i + 1 < args.size();
    auto value = [&](std::string& out) {
      if (!hasNext) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto number = [&](long min, long max, long& out) {
      std::string text;
      if (!value(text)) return false;
      if (!ToNumber(text, min, max, out)) {
        error = a + " needs a number from " + std::to_string(min) + " to " + std::to_string(max) + ", not \"" +
                text + "\"";
        return false;
      }
      return true;
    };
    long n = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--serial" || a == "--modem") {
      if (!setMode(a == "--serial" ? PlcSimOptions::Mode::Serial : PlcSimOptions::Mode::Modem, a)) return false;
      if (hasNext && args[i + 1].rfind("--", 0) != 0) o.device = args[++i];
    } else if (a == "--link") {
      if (!value(o.linkPath)) return false;
    } else if (a == "--tcp") {
      if (!setMode(PlcSimOptions::Mode::Tcp, a) || !number(0, 65535, n)) return false;
      o.tcpPort = static_cast<int>(n);
    } else if (a == "--connect") {
      std::string target;
      if (!setMode(PlcSimOptions::Mode::Connect, a) || !value(target)) return false;
      const size_t colon = target.rfind(':');
      if (colon == std::string::npos || colon == 0 || !ToNumber(target.substr(colon + 1), 1, 65535, n)) {
        error = "--connect needs HOST:PORT, not \"" + target + "\"";
        return false;
      }
      o.host = target.substr(0, colon);
      o.connectPort = static_cast<int>(n);
    } else if (a == "--model") {
      if (!number(0, 0xFFFF, n)) return false;
      o.plc.unit.model = static_cast<uint16_t>(n);
    } else if (a == "--station") {
      if (!number(1, 99, n)) return false;
      o.plc.station = static_cast<int>(n);
    } else if (a == "--slot") {
      if (!number(0, 28, n)) return false;
      o.plc.slot = static_cast<int>(n);
    } else if (a == "--axes") {
      if (!number(1, 0xFF, n)) return false;
      o.plc.unit.axes = static_cast<uint8_t>(n);
    } else if (a == "--corrupt-bcc") {
      if (!number(0, 1000000, n)) return false;
      o.plc.faults.corruptBccEvery = static_cast<int>(n);
    } else if (a == "--nak") {
      if (!number(0, 1000000, n)) return false;
      o.plc.faults.nakEvery = static_cast<int>(n);
    } else if (a == "--drop") {
      if (!number(0, 1000000, n)) return false;
      o.plc.faults.dropEvery = static_cast<int>(n);
    } else if (a == "--other-station") {
      if (!number(0, 1000000, n)) return false;
      o.plc.faults.otherStationEvery = static_cast<int>(n);
    } else if (a == "--split") {
      if (!number(0, 1000000, n)) return false;
      o.plc.faults.splitEvery = static_cast<int>(n);
    } else if (a == "--split-pause") {
      if (!number(0, 60000, n)) return false;
      o.plc.faults.splitPauseMs = static_cast<int>(n);
    } else if (a == "--delay") {
      if (!number(0, 60000, n)) return false;
      o.plc.faults.delayMs = static_cast<int>(n);
    } else if (a == "--faults") {
      std::string list;
      if (!value(list) || !ParseFaultList(list, o.plc.faults, error)) return false;
    } else if (a == "--connect-delay") {
      if (!number(0, 600000, n)) return false;
      o.modem.connectDelayMs = static_cast<int>(n);
    } else if (a == "--busy") {
      std::string number;
      if (!value(number)) return false;
      o.modem.busyNumbers.push_back(number);
    } else if (a == "--no-answer") {
      std::string number;
      if (!value(number)) return false;
      o.modem.noAnswerNumbers.push_back(number);
    } else if (a == "--log") {
      o.logFrames = true;
    } else if (a == "--power-cycle") {
      o.powerCycle = true;
    } else if (a == "--data") {
      if (!value(o.dataDir)) return false;
    } else {
      error = "unknown option \"" + a + "\" (see --help)";
      return false;
    }
  }
  if (o.help) return true;
  if (o.mode == PlcSimOptions::Mode::None) {
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
  --log                print every frame in and out on standard error

Modem options:
  --connect-delay MS   time from ATD to CONNECT (default 1000)
  --busy NUMBER        dialling NUMBER gives BUSY (repeatable)
  --no-answer NUMBER   dialling NUMBER gives NO ANSWER (repeatable)

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
                       split=N,pause=MS,delay=MS

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
