#include "startup_rules.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "axcfg_data/axcfg_strings.h"
#include "axview/helpers.h"
#include "platform/registry.h"
#include "platform/settings_seed.h"
#include "platform/strings.h"

using platform::Hive;
using platform::Registry;

namespace axcfgui {

std::string AppKeyPath() { return std::string("Software\\") + kAppRegistryKey; }

std::string AppSectionKey(const std::string& section) { return AppKeyPath() + "\\" + section; }

std::string DefaultCurrentPath(const std::string& path, const std::string& workingDir) {
  if (!path.empty()) return path;
  std::error_code ec;
  std::filesystem::path docs = std::filesystem::path(workingDir) / "Documents";
  if (std::filesystem::is_directory(docs, ec)) return docs.string();
  return {};
}

std::string ReadCurrentPath() {
  auto v = Registry::ReadString(Hive::CurrentUser, AppSectionKey("Settings"), "CurrentPath");
  std::error_code ec;
  return DefaultCurrentPath(v.value_or(""), std::filesystem::current_path(ec).string());
}

void WriteCurrentPath(const std::string& path) {
  Registry::WriteString(Hive::CurrentUser, AppSectionKey("Settings"), "CurrentPath", path);
}

void SeedInstallSettings() {
  const std::string key = AppKeyPath();
  if (!Registry::ReadDword(Hive::LocalMachine, key, "LangMax")) {
    Registry::WriteDword(Hive::LocalMachine, key, "LangMax", 2);
    Registry::WriteString(Hive::LocalMachine, key, "Lang1", "English");
    Registry::WriteString(Hive::LocalMachine, key, "Lang2", "Japanese");
  }
  if (!Registry::ReadString(Hive::LocalMachine, key, "Language"))
    Registry::WriteString(Hive::LocalMachine, key, "Language", "English");
  // The user's own key exists from the first start on, so that window
  // placement and bar state are kept.
  Registry::CreateKey(Hive::CurrentUser, key);
  // The connection servers' settings file, to edit before a server runs.
  platform::SeedSettingsFile("KELD_TAVCOMM.INI");
}

LanguageChoice ChooseLanguage(int requested, const std::function<bool(int)>& listed,
                              const std::function<bool(int)>& load) {
  LanguageChoice choice;
  int language = requested;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int effective = language == 1 ? 1 : 0;
    if (listed(language) && load(effective)) {
      choice.ok = true;
      choice.language = effective;
      choice.fellBack = language != requested;
      return choice;
    }
    language = language >= 2 ? 0 : language + 1;
  }
  return choice;
}

bool LoadLanguageTables(int language) {
  auto builtin = platform::Strings::Builtin(axcfg::kStringModule);
  if (language != 1) {
    platform::Strings::SetActive(axcfg::kStringModule, builtin);
    KELDExSetLanguage(0);
    return true;
  }
  std::shared_ptr<const platform::StringTable> japanese;
  std::string error;
  if (platform::Strings::Load(axcfg::kStringModule, "jpn", japanese, error) != platform::LanguageLoad::Ok)
    return false;
  // Ids without a translation keep their English text rather than showing
  // nothing.
  auto merged = std::make_shared<platform::StringTable>(builtin ? *builtin : platform::StringTable());
  for (const auto& [id, text] : japanese->All()) merged->Set(id, text);
  platform::Strings::SetActive(axcfg::kStringModule, merged);
  KELDExSetLanguage(1);
  return true;
}

std::string HelpFileName(int language) { return language == 1 ? "AxisCfgJpn.chm" : "AxisCfgEnu.chm"; }

std::optional<SplashInfo> ReadSplashFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  SplashInfo info;
  info.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || info.bytes.size() < 26 || info.bytes.compare(0, 2, "BM") != 0) return std::nullopt;
  auto le32 = [&](size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(info.bytes.data() + at);
    return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
  };
  info.width = le32(18);
  info.height = le32(22);
  // A bottom-up bitmap has a positive height, a top-down one a negative.
  if (info.height < 0) info.height = -info.height;
  if (info.width <= 0 || info.height == 0) return std::nullopt;
  return info;
}

}  // namespace axcfgui
