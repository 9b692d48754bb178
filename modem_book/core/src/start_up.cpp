#include "modem_book/start_up.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "modem_book/modem_strings.h"
#include "platform/language.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "tavinter/tavinter.h"

namespace modembook {

namespace fs = std::filesystem;

namespace {

bool AllDigits(const std::string& s) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string OemSuffix(int productNumber) {
  const int oem = productNumber / 100;
  if (oem == 0) return {};
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", oem % 1000);
  return digits;
}

std::string Folder(int (*get)(char*, int)) {
  char path[4096] = {};
  return get(path, sizeof path) == 0 ? std::string(path) : std::string();
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

StartArguments ParseStartArguments(const std::vector<std::string>& args) {
  StartArguments out;
  for (const auto& a : args) {
    if (a.size() > 2 && a.compare(0, 2, "-h") == 0 && AllDigits(a.substr(2)) && !out.raiseWindow) {
      out.raiseWindow = std::stoll(a.substr(2));
    } else if (a.size() > 1 && a[0] == '-' && AllDigits(a.substr(1)) && !out.productCode) {
      out.productCode = std::stoi(a.substr(1));
    } else {
      out.rest.push_back(a);
    }
  }
  return out;
}

std::string ProductLanguageKey(int code) {
  const char* product = nullptr;
  switch (code % 1000) {
    case 0: product = "QXWIN GR"; break;
    case 2: product = "QXWIN GR 2"; break;
    case 20: product = "PANELWIN"; break;
    default: return {};
  }
  std::string key = std::string("SOFTWARE\\KELD\\") + product;
  if (code >= 1000) {
    char oem[16];
    std::snprintf(oem, sizeof oem, " OEM%03d", (code / 1000) % 1000);
    key += oem;
  }
  return key + "\\";
}

int LanguageFromName(const std::string& name) {
  static const char* const kNames[] = {"Japanese", "English", "Chinese_s", "Chinese_t", "Korean",
                                       "Spanish",  "Italian", "German",    "French",    "Thai"};
  for (int i = 0; i < 10; ++i)
    if (name == kNames[i]) return i;
  return 1;
}

int LanguageOfProduct(std::optional<int> productCode) {
  const int code = productCode.value_or(0);
  if (code % 1000 >= 10 && code % 1000 <= 19) return code % 1000 - 10;
  std::string key = ProductLanguageKey(code);
  if (key.empty()) return 1;
  // The stored key paths end without the separator.
  key.pop_back();
  auto name = platform::Registry::ReadString(platform::Hive::LocalMachine, key, "Language");
  return LanguageFromName(name.value_or(""));
}

int ProductNumber(std::optional<int> productCode) { return productCode ? (*productCode / 1000) * 100 + 10 : 10; }

std::vector<std::string> LanguageTableNames(int language, int productNumber, int systemLanguage) {
  std::vector<std::string> names;
  auto add = [&](const std::string& suffix) {
    if (suffix.empty()) return;
    std::string name = std::string(kStringModule) + "." + suffix + ".txt";
    if (names.empty() || names.back() != name) names.push_back(name);
  };
  const std::string code = platform::LanguageCode(language);
  add(code.empty() ? std::string() : code + OemSuffix(productNumber));
  add(platform::LanguageCode(systemLanguage));
  add("Eng");
  return names;
}

bool LoadLanguageTable(int language, int productNumber, std::string& missing) {
  RegisterModemStrings();
  const std::string folder = Folder(&TavGetResourceFolder);
  for (const auto& name : LanguageTableNames(language, productNumber, platform::SystemLanguage())) {
    auto table = std::make_shared<platform::StringTable>();
    std::string error;
    missing = name;
    if (!table->LoadFile((fs::path(folder) / name).string(), error)) continue;
    auto merged = std::make_shared<platform::StringTable>(*platform::Strings::Builtin(kStringModule));
    for (const auto& [id, text] : table->All()) merged->Set(id, text);
    platform::Strings::SetActive(kStringModule, merged);
    missing.clear();
    return true;
  }
  platform::Strings::SetActive(kStringModule, platform::Strings::Builtin(kStringModule));
  return false;
}

std::string HelpFolderFor(int language, int productNumber) {
  std::string code = platform::LanguageCode(language);
  if (code.empty()) code = "Eng";
  const fs::path resource = Folder(&TavGetResourceFolder);
  const fs::path own = resource.parent_path() / "help" / ("TAVTL" + Upper(code) + OemSuffix(productNumber));
  std::error_code ec;
  if (fs::is_directory(own, ec)) return own.string();
  return (fs::path(Folder(&TavGetCommonFolder)) / "English" / "TAVTLENG").string();
}

int EnglishFontTenths(int averageCharWidth) { return averageCharWidth > 0 ? 720 / averageCharWidth : 90; }

}  // namespace modembook
