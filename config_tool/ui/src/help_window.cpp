#include "help_window.h"

#include <filesystem>

#include "platform/folders.h"
#include "platform/help_window.h"

namespace axcfgui {

std::string HelpFolder(const std::string& helpFile) {
  std::string stem = helpFile.substr(0, helpFile.rfind('.'));
  return (std::filesystem::path(platform::ProgramDir()) / ".." / "share" / "keld" / "help" / stem).string();
}

bool ShowHelp(QWidget* parent, const std::string& helpFile, int context) {
  return platform::ShowHelpPage(parent, HelpFolder(helpFile), context);
}

}  // namespace axcfgui
