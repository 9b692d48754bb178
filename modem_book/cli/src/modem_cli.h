#pragma once
// The phone book's command line: list, export, import, add and delete
// entries, show and set the port settings, re-initialise everything. It runs
// without a window on the same document as the program's window.
#include <string>
#include <vector>

namespace modembook {

enum CliExit : int {
  kExitOk = 0,
  kExitUsage = 2,      // usage error or refused input
  kExitDataFile = 3,   // the book file could not be read, written or created
  kExitOtherCopy = 5,  // another copy holds the settings
};

// Runs the command; output on stdout, messages on stderr (UTF-8).
int RunModemCli(const std::vector<std::string>& args);

}  // namespace modembook
