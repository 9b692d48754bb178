#pragma once
// Runs the built axcfg as a user runs it: its exit code and what it printed.
#include <string>

#include "shell_run.h"
#include "test_home.h"

namespace axcfg_test {

using Result = keldtest::ShellResult;  // stdout, and stderr unless left out

// Runs a shell command line; its exit code and standard output.
inline Result Run(const std::string& command) { return keldtest::RunShell(command); }

inline Result Axcfg(const std::string& arguments, bool withStderr = true) {
  return Run(keldtest::BinPath("axcfg") + " " + arguments + (withStderr ? " 2>&1" : " 2>/dev/null"));
}

}  // namespace axcfg_test
