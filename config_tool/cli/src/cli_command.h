#pragma once
// The commands of axcfg: each a name, a one-line summary, its help text and
// the function that runs it with the arguments after its name.
#include <string>
#include <vector>

namespace axcfg::cli {

// Exit codes of every command.
enum ExitCode : int {
  kExitOk = 0,
  kExitDifference = 1,  // a check or comparison found something
  kExitUsage = 2,
  kExitFile = 3,
  kExitCommunication = 4,
  kExitLayout = 5,  // the unit's axis layout words break the layout rules
};

using Args = std::vector<std::string>;

struct Command {
  const char* name;
  const char* summary;
  const char* help;
  int (*run)(const Args& args);
};

// The setting file commands: new, info, check, export-csv, verify, convert, dump.
const std::vector<Command>& FileCommands();

// The unit commands: read-words, write-words, unit-info.
const std::vector<Command>& UnitCommands();

// axcfg monitor.
const std::vector<Command>& MonitorCommands();

// Parses a decimal or 0x-prefixed hexadecimal number; false when it is not one.
bool ParseNumber(const std::string& text, long long& value);

// Prints to stderr "axcfg <command>: <message>" and returns kExitUsage.
int UsageError(const char* command, const std::string& message);

}  // namespace axcfg::cli
