#pragma once
// One server copy from start to end: the command line, the language texts,
// the settings, the single-instance lock, the published endpoint, the request
// loop with its one-second housekeeping tick, and the shutdown.
#include <string>

namespace connsrv {

class CServerApp {
 public:
  // Runs the server; the process's exit code.
  int Run(const std::string& commandLine);

  // Asks a running loop to end (from a signal handler).
  static void RequestStop();
};

// The three-letter code of a language number ("Jpn", "Eng", ...); "" for others.
std::string LanguageCode(int language);
// The language the system's locale asks for, as a number.
int SystemLanguage();

}  // namespace connsrv
