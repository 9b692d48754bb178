#pragma once
// Finds the connection server started for this test's KELD_HOME and reads
// what the kernel knows of it, for tests that kill it or watch its resources.
#include <dirent.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace keldload {

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The server process of this KELD_HOME, or 0 when none runs.
inline pid_t FindServer() {
  const char* home = std::getenv("KELD_HOME");
  if (!home) return 0;
  const std::string wanted = std::string("KELD_HOME=") + home;
  DIR* d = ::opendir("/proc");
  pid_t found = 0;
  while (dirent* e = d ? ::readdir(d) : nullptr) {
    const pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
    if (pid <= 0) continue;
    const std::string proc = "/proc/" + std::string(e->d_name);
    if (ReadWhole(proc + "/cmdline").find("KELD_TAVMGR") == std::string::npos) continue;
    const std::string env = ReadWhole(proc + "/environ");
    if (env.find(wanted + '\0') != std::string::npos || env.ends_with(wanted)) found = pid;
  }
  if (d) ::closedir(d);
  return found;
}

inline bool Alive(pid_t pid) {
  if (::kill(pid, 0) != 0) return false;
  // A zombie has ended too.
  const std::string stat = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
  const auto close = stat.rfind(')');
  return close == std::string::npos || stat.size() < close + 3 || stat[close + 2] != 'Z';
}

}  // namespace keldload
