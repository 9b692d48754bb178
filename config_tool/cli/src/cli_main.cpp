// axcfg: the command-line companion of the configuration tool.
#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "axcfg_data/axcfg_strings.h"
#include "cli_command.h"

namespace axcfg::cli {

bool ParseNumber(const std::string& text, long long& value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  int base = (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) ? 16 : 10;
  if (base == 16) begin += 2;
  if (*begin == '\0' || *begin == '-' || *begin == '+') return false;
  errno = 0;
  value = std::strtoll(begin, &end, base);
  return errno == 0 && end && *end == '\0';
}

int UsageError(const char* command, const std::string& message) {
  std::fprintf(stderr, "axcfg %s: %s\n(axcfg %s --help shows how to use it)\n", command, message.c_str(), command);
  return kExitUsage;
}

namespace {

std::vector<Command> AllCommands() {
  std::vector<Command> all = FileCommands();
  all.insert(all.end(), UnitCommands().begin(), UnitCommands().end());
  all.insert(all.end(), MonitorCommands().begin(), MonitorCommands().end());
  return all;
}

void PrintUsage(FILE* out) {
  std::fprintf(out, "Usage: axcfg COMMAND [arguments]   (axcfg COMMAND --help for details)\n\nCommands:\n");
  for (const auto& c : AllCommands()) std::fprintf(out, "  %-12s %s\n", c.name, c.summary);
}

}  // namespace
}  // namespace axcfg::cli

int main(int argc, char** argv) {
  using namespace axcfg::cli;
  QCoreApplication app(argc, argv);
  axcfg::RegisterAxisCfgDataStrings();
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  for (const auto& c : AllCommands()) {
    if (name != c.name) continue;
    Args args(argv + 2, argv + argc);
    for (const auto& a : args) {
      if (a == "--help" || a == "-h") {
        std::fputs(c.help, stdout);
        return kExitOk;
      }
    }
    return c.run(args);
  }
  std::fprintf(stderr, "axcfg: unknown command \"%s\"\n", name.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
