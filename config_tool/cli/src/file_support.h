#pragma once
// What the file commands share: opening a setting file as the tool opens
// it, and console output of the tool's texts.
#include <string>
#include <vector>

#include "cli_command.h"

namespace axcfg {
class CAxisCfgDoc;
}

namespace axcfg::cli {

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
