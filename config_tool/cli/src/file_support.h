#pragma once
// What the file commands share: opening a setting file as the tool opens
// it, and console output of the tool's texts.
#include <cstdint>
#include <string>
#include <vector>

#include "axcfg_data/difference_list.h"

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

// The written name from -o: ".axc" is added when missing. Refuses to
// replace a file without --force (kExitFile, before anything else is done).
int OutputPath(const char* command, const ParsedArgs& a, std::string& out);
// Saves the document to the path and prints the path; kExitOk or kExitFile.
int Save(CAxisCfgDoc& doc, const std::string& path);
// Runs the data check and prints its result as axcfg check does; kExitOk
// when the data are valid, else kExitDifference.
int PrintDataCheck(const CAxisCfgDoc& doc);
// "A:1,2 B:3,4,5 6 7": interpolation groups as LETTER:AXES, single axes as
// numbers; groups A to D first, then the single axes ascending. Family 1
// refuses axes 5 to 8.
bool ParseLayout(const std::string& text, uint32_t family, int minGroupAxes, CAxisLayout& layout, std::string& error);


// axcfg dump.
int RunDump(const Args& args);
extern const char* const kDumpHelp;

// axcfg diff, and the difference list that axcfg verify --list prints too.
int RunDiff(const Args& args);
extern const char* const kDiffHelp;
void PrintDifferenceLines(const std::vector<DifferenceItem>& items);

}  // namespace axcfg::cli
