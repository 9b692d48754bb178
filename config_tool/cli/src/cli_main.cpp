// axcfg: the command-line companion of the configuration tool.
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "axcfg_data/axcfg_strings.h"
#include "cli_command.h"

namespace axcfg::cli {

int UsageError(const char* command, const std::string& message) {
  std::fprintf(stderr, "axcfg %s: %s\n(axcfg %s --help shows how to use it)\n", command, message.c_str(), command);
  return kExitUsage;
}

int ParseArgs(const char* command, const Args& args, const std::set<std::string>& withValue,
              const std::set<std::string>& flags, ParsedArgs& out) {
  auto bare = [](const std::string& option) { return option.substr(option.find_first_not_of('-')); };
  platform::CCommandLine line;
  for (const std::string& option : withValue) line.AddValue(bare(option));
  for (const std::string& option : flags) line.AddFlag(bare(option));
  std::string error;
  if (!line.Parse(args, error)) return UsageError(command, error);
  for (const auto& [option, value] : line.Given()) {
    if (withValue.count(option)) out.values[option] = value;
    else out.flags.insert(option);
  }
  out.positional = line.Positional();
  return kExitOk;
}

namespace {

std::vector<Command> AllCommands() {
  std::vector<Command> all = FileCommands();
  all.insert(all.end(), UnitCommands().begin(), UnitCommands().end());
  all.insert(all.end(), MonitorCommands().begin(), MonitorCommands().end());
  all.insert(all.end(), ToolCommands().begin(), ToolCommands().end());
  all.insert(all.end(), TransferCommands().begin(), TransferCommands().end());
  all.insert(all.end(), AxesCommands().begin(), AxesCommands().end());
  all.insert(all.end(), ParamCommands().begin(), ParamCommands().end());
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
