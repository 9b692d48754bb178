#pragma once
// The server's command line: "-PORT -LANG". The text behind the first "-" is
// the port number, the text behind the next "-" the language number; missing
// values keep the defaults (port 1, language 0). The second dash is read as
// the sign of the language number, so "-70 -1" asks for the system language.
#include <string>

namespace connsrv {

struct CommandLine {
  int port = 1;
  int language = 0;
};

CommandLine ParseCommandLine(const std::string& text);

}  // namespace connsrv
