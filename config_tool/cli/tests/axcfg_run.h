#pragma once
// Runs the built axcfg as a user runs it: its exit code and what it printed.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "test_home.h"

namespace axcfg_test {

struct Result {
  int exitCode;
  std::string out;  // stdout, and stderr unless left out
};

// Runs a shell command line; its exit code and standard output.
inline Result Run(const std::string& command) {
  Result r{-1, {}};
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline Result Axcfg(const std::string& arguments, bool withStderr = true) {
  return Run(keldtest::BinPath("axcfg") + " " + arguments + (withStderr ? " 2>&1" : " 2>/dev/null"));
}

}  // namespace axcfg_test
