// KELD_TAVMGR: the connection server of one port. Started by the interface
// library with "-PORT -LANG"; ends itself a few seconds after its last client.
#include <csignal>
#include <string>

#include "connsrv/server_app.h"

namespace {
void OnSignal(int) { connsrv::CServerApp::RequestStop(); }
}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  connsrv::CServerApp app;
  return app.Run(commandLine);
}
