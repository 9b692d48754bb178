#include "help_window.h"

#include <filesystem>

#include "axcfg_data/axcfg_strings.h"
#include "platform/folders.h"
#include "platform/help_window.h"
#include "startup_rules.h"

namespace axcfgui {

std::string HelpFolder(const std::string& helpFile) {
  std::string stem = helpFile.substr(0, helpFile.rfind('.'));
  return (std::filesystem::path(platform::ProgramDir()) / ".." / "share" / "keld" / "help" / stem).string();
}

namespace {
std::string g_appHelpFile;
}

void SetAppHelpFile(const std::string& helpFile) { g_appHelpFile = helpFile; }
std::string AppHelpFile() { return g_appHelpFile.empty() ? HelpFileName(0) : g_appHelpFile; }

bool ShowHelp(QWidget* parent, const std::string& helpFile, int context) {
  return platform::ShowHelpPage(parent, HelpFolder(helpFile), context, axcfg::kMessageCaption);
}

}  // namespace axcfgui
