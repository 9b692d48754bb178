#pragma once
// KELD_TAVSCOPE's command line: the viewer's information for scripts, without
// a window. Exit codes: 0 done, 2 usage, 3 file or registry failure (its text
// on stderr), 4 port not in use or no record area.
#include <ostream>
#include <string>
#include <vector>

#include "commscope/viewer_library.h"

namespace commscope {

enum ExitCode { kExitOk = 0, kExitUsage = 2, kExitFailure = 3, kExitNotInUse = 4 };

// True when the arguments (without the program name) ask for a command.
bool IsScopeCommandLine(const std::vector<std::string>& args);
int RunScopeCommandLine(const std::vector<std::string>& args, IViewerLibrary& library, std::ostream& out,
                        std::ostream& err);

}  // namespace commscope
