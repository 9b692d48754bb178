// Integers under the application's registry key and the language settings.
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <strings.h>

#include "axview/helpers.h"
#include "platform/registry.h"

using platform::Hive;
using platform::Registry;

namespace {

// "Software\<application key>" without a trailing backslash; empty when the
// application or its key name is unknown.
std::string AppKeyPath() {
  if (!QCoreApplication::instance()) return {};
  std::string key = GetAppRegistryKey();
  while (!key.empty() && key.back() == '\\') key.pop_back();
  if (key.empty()) return {};
  return "Software\\" + key;
}

std::string SectionKey(const char* section) {
  std::string path = AppKeyPath();
  if (path.empty()) return {};
  if (section && *section) path += "\\" + std::string(section);
  return path;
}

// The language a name gives among the first `known` of English, Japanese, Chinese.
int LanguageOfName(const std::string& name, int known) {
  static const char* const kNames[] = {"English", "Japanese", "Chinese"};
  for (int i = 0; i < known; ++i)
    if (strcasecmp(name.c_str(), kNames[i]) == 0) return i;
  return -1;
}

}  // namespace

int CanOpenRegistory(std::string& path) {
  std::string key = AppKeyPath();
  if (key.empty()) {
    path.clear();
    return 0;
  }
  path = key + "\\";
  return Registry::KeyExists(Hive::CurrentUser, key) ? 1 : 0;
}

extern "C" {

BOOL KELDExWriteProfileInt(const char* section, const char* entry, int value) {
  if (!entry) return 0;
  std::string key = SectionKey(section);
  if (key.empty()) return 0;
  // The key is created when missing, so that a first setting is not lost.
  return Registry::WriteDword(Hive::CurrentUser, key, entry, static_cast<uint32_t>(value)) ? 1 : 0;
}

int KELDExReadProfileInt(const char* section, const char* entry, int defaultValue) {
  if (!entry) return defaultValue;
  std::string key = SectionKey(section);
  if (key.empty()) return defaultValue;
  auto value = Registry::ReadDword(Hive::CurrentUser, key, entry);
  return value ? static_cast<int>(*value) : defaultValue;
}

int GetLanguageRegistry(void) {
  std::string key = AppKeyPath();
  if (key.empty()) return -1;
  auto value = Registry::ReadString(Hive::LocalMachine, key, "Language");
  // The value is read into 128 bytes; a longer one is no language name.
  if (!value || value->size() >= 128) return -1;
  return LanguageOfName(*value, 3);
}

void SetLanguageRegistry(int language) {
  std::string key = AppKeyPath();
  if (key.empty()) return;
  Registry::WriteString(Hive::LocalMachine, key, "Language", language == 1 ? "Japanese" : "English");
}

int GetLanguageListRegistry(DWORD* cursor, BOOL countOnly) {
  std::string key = AppKeyPath();
  std::optional<uint32_t> langMax;
  if (!key.empty()) langMax = Registry::ReadDword(Hive::LocalMachine, key, "LangMax");
  if (countOnly) return langMax.has_value() ? static_cast<int>(langMax.value()) : -1;
  if (!cursor) return -1;
  DWORD index, count;
  if (*cursor == 0xFFFFFFFFu) {
    if (!langMax.has_value()) return -1;  // nothing to walk; the cursor stays "finished"
    index = 0;
    count = std::min<uint32_t>(langMax.value(), 0xFFFFu);
  } else {
    index = *cursor & 0xFFFFu;
    count = *cursor >> 16;
  }
  if (index >= count) {
    *cursor = 0xFFFFFFFFu;
    return -1;
  }
  char name[32];
  std::snprintf(name, sizeof name, "Lang%u", static_cast<unsigned>(index + 1));
  auto value = Registry::ReadString(Hive::LocalMachine, key, name);
  ++index;
  *cursor = index >= count ? 0xFFFFFFFFu : ((count << 16) | index);
  if (!value) return -1;
  return LanguageOfName(*value, 2);
}

BOOL IsLanguageListRegistry(int language) {
  if (language < 0) return 0;
  DWORD cursor = 0xFFFFFFFFu;
  do {
    if (GetLanguageListRegistry(&cursor, 0) == language) return 1;
  } while (cursor != 0xFFFFFFFFu);
  return 0;
}

}  // extern "C"
