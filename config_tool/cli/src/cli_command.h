#pragma once
// The commands of axcfg: each a name, a one-line summary, its help text and
// the function that runs it with the arguments after its name.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/command_line.h"

namespace axcfg::cli {

// Exit codes of every command.
enum ExitCode : int {
  kExitOk = 0,
  kExitDifference = 1,  // a check or comparison found something
  kExitUsage = 2,
  kExitFile = 3,
  kExitCommunication = 4,
  kExitLayout = 5,  // the unit's axis layout words break the layout rules
  kExitRefused = 5,  // the unit refused, a transfer was aborted or not confirmed
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

// The transfers: upload, download, verify-unit, write-from.
const std::vector<Command>& TransferCommands();
// axcfg change-axes.
const std::vector<Command>& AxesCommands();

// axcfg params and edit-params.
const std::vector<Command>& ParamCommands();

// axcfg monitor.
const std::vector<Command>& MonitorCommands();

// axcfg tool.
const std::vector<Command>& ToolCommands();

// Decimal or 0x-prefixed hexadecimal numbers, as every command reads them.
using platform::ParseNumber;

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // options with a value
  std::set<std::string> flags;                // options without one
  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};

// Splits a command's arguments: options in `withValue` ("-o", "--dir") take
// the next argument (or "--dir=DIR"), those in `flags` stand alone, any other
// option is refused. Returns kExitOk or the usage exit code (after printing
// the problem).
int ParseArgs(const char* command, const Args& args, const std::set<std::string>& withValue,
              const std::set<std::string>& flags, ParsedArgs& out);

// Prints to stderr "axcfg <command>: <message>" and returns kExitUsage.
int UsageError(const char* command, const std::string& message);

}  // namespace axcfg::cli
