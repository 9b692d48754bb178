#pragma once
// The command line of the program plcsim.
#include <string>
#include <vector>

#include "sim/modem_emulator.h"
#include "sim/sim_plc.h"

namespace sim {

struct PlcSimOptions {
  enum class Mode { None, Serial, Tcp, Connect, Modem };
  Mode mode = Mode::None;
  std::string device;      // --serial/--modem DEVICE; empty: a new pseudo-terminal
  std::string linkPath;    // --link PATH: symbolic link to the pseudo-terminal
  int tcpPort = -1;        // --tcp PORT (0: any free port)
  std::string host;        // --connect HOST:PORT
  int connectPort = 0;
  PlcConfig plc;
  ModemConfig modem;
  bool logFrames = false;  // --log
  bool header = false;     // --header: TCP frames come and go behind a route header
  bool powerCycle = false; // --power-cycle
  std::string dataDir;     // --data DIR; empty: the data folder
  bool help = false;
};

// Parses the arguments after the program name. False with a message.
bool ParsePlcSimOptions(const std::vector<std::string>& args, PlcSimOptions& options, std::string& error);

std::string PlcSimHelp();

}  // namespace sim
