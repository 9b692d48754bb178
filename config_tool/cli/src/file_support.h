#pragma once
// What the file commands share: option parsing, opening a setting file as
// the tool opens it, and console output of the tool's texts.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli_command.h"

namespace axcfg {
class CAxisCfgDoc;
}

namespace axcfg::cli {

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // options with a value
  std::set<std::string> flags;                // options without one
  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};

// Splits the arguments: options in `withValue` take the next argument, those
// in `flags` stand alone; anything else starting with "--" is refused.
// Returns kExitOk or the usage exit code (after printing the problem).
int ParseArgs(const char* command, const Args& args, const std::set<std::string>& withValue,
              const std::set<std::string>& flags, ParsedArgs& out);

// Opens the file into the document as the configuration tool opens it (an
// old version is converted, with a note on stderr). Returns kExitOk or
// kExitFile after printing the message.
int OpenSettingFile(const std::string& path, CAxisCfgDoc& doc);

// A text of the tool with its CR LF line breaks as plain line breaks.
std::string ConsoleText(const std::string& text);

// axcfg dump.
int RunDump(const Args& args);
extern const char* const kDumpHelp;

}  // namespace axcfg::cli
