#pragma once
// What the file commands share: opening a setting file as the tool opens
// it, and console output of the tool's texts.
#include <cstdint>
#include <string>
#include <vector>

#include "cli_command.h"

namespace axcfg {
class CAxisCfgDoc;
class CAxisLayout;
}

namespace axcfg::cli {

// Opens the file into the document as the configuration tool opens it (an
// old version is converted, with a note on stderr). Returns kExitOk or
// kExitFile after printing the message.
int OpenSettingFile(const std::string& path, CAxisCfgDoc& doc);

// A text of the tool with its CR LF line breaks as plain line breaks.
std::string ConsoleText(const std::string& text);

// "A:1,2 B:3,4,5 6 7": interpolation groups as LETTER:AXES, single axes as
// numbers; groups A to D first, then the single axes ascending. Family 1
// refuses axes 5 to 8.
bool ParseLayout(const std::string& text, uint32_t family, int minGroupAxes, CAxisLayout& layout, std::string& error);

// The written name of -o: ".axc" added when missing. An existing file is
// refused (kExitFile) without --force.
int OutputPath(const char* command, const ParsedArgs& a, std::string& out);

// axcfg dump.
int RunDump(const Args& args);
extern const char* const kDumpHelp;

}  // namespace axcfg::cli
