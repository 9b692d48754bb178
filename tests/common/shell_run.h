#pragma once
// Runs a shell command as a script would and collects its standard output
// and exit code.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace keldtest {

struct ShellResult {
  int exitCode = -1;  // -1: not started or ended by a signal
  std::string out;
};

inline ShellResult RunShell(const std::string& command) {
  ShellResult r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t got;
  while ((got = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), got);
  const int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace keldtest
