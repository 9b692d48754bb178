// KELD_TavModem: the modem phone book. With a command ("--list", "--add",
// ...) it runs as a command line without a window; otherwise it opens its
// window.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "modem_app.h"
#include "modem_book/start_up.h"
#include "modem_cli.h"

using namespace modembook;

int main(int argc, char** argv) {
  // A write beyond the file size limit fails with an error (reported as
  // 1002) instead of ending the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const StartArguments start = ParseStartArguments(args);
  const int language = LanguageOfProduct(start.productCode);
  const int productNumber = ProductNumber(start.productCode);

  bool cli = false;
  for (size_t i = 0; i < start.rest.size(); ++i) {
    if (IsWindowOption(start.rest[i])) ++i;
    else if (start.rest[i].rfind("--", 0) == 0) cli = true;
  }
  if (!cli) return RunModemWindow(argc, argv, start, language, productNumber);

  std::string missing;
  if (!LoadLanguageTable(language, productNumber, missing))
    std::fprintf(stderr, "Can't find Resource DLL [%s] !!!\n", missing.c_str());
  return RunModemCli(start.rest);
}
