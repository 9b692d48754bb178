#pragma once
// The start-up rules of the configuration tool that need no window: the
// settings read at start, the language and text-table choice, the splash
// picture check and the help file name.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "axcfg_unit/tool_timer_settings.h"

namespace axcfgui {

// The tool's registry key below "Software" and the key path of a section.
using axcfg::kAppRegistryKey;
std::string AppKeyPath();                         // "Software\KELD\Axis Configurator"
std::string AppSectionKey(const std::string& section);

// "Settings"/"ToolOprTimes", shared with the command line.
using axcfg::ClampToolOprTimes;
using axcfg::ReadToolOprTimes;
using axcfg::WriteToolOprTimes;

// "Settings"/"CurrentPath". An empty path becomes <cwd>/Documents when that
// folder exists; otherwise it stays empty.
std::string DefaultCurrentPath(const std::string& path, const std::string& workingDir);
std::string ReadCurrentPath();
void WriteCurrentPath(const std::string& path);

// Writes what the installer would have: the language list (English and
// Japanese) and the selected language, each only where missing.
void SeedInstallSettings();

// The outcome of choosing the language and its text table.
struct LanguageChoice {
  bool ok = false;       // false: no table could be used ("Resource file cannot be found.")
  int language = 0;      // 0 English, 1 Japanese
  bool fellBack = false; // another language than the requested one was taken
};
// Up to three attempts from the requested language (anything but 1 is
// English), the next language after each failure (wrapping after 2 to 0).
// `listed` tells whether a language is registered; `load` puts its table in
// force and returns false when the table cannot be used.
LanguageChoice ChooseLanguage(int requested, const std::function<bool(int)>& listed,
                              const std::function<bool(int)>& load);
// The two fixed messages shown when no table is in force.
inline constexpr const char* kMsgNoResource = "Resource file cannot be found.";
inline constexpr const char* kMsgLanguageFallback = "Can't find resource file for specified language.";

// Puts the text tables of the tool and of the grid library in force for a
// language; false when the language's tool table is missing or damaged.
bool LoadLanguageTables(int language);

// "AxisCfgJpn.chm" for Japanese, "AxisCfgEnu.chm" otherwise, in the
// program's folder.
std::string HelpFileName(int language);

// The splash picture: a Windows bitmap. The size is read from offsets 18
// and 22; nothing when the file cannot be read, does not start with "BM"
// or is too short to hold the size.
struct SplashInfo {
  int width = 0;
  int height = 0;
  std::string bytes;
};
std::optional<SplashInfo> ReadSplashFile(const std::string& path);

}  // namespace axcfgui
