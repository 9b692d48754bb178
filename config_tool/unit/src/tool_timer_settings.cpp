#include "axcfg_unit/tool_timer_settings.h"

#include <filesystem>

#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace axcfg {

namespace {

constexpr const char* kFileName = "ToolTimerIntVal.Dat";
constexpr const char* kSection = "ToolOprTimerInterVal";

int16_t PositiveOr(int value, int16_t fallback) {
  const auto kept = static_cast<int16_t>(value);
  return kept > 0 ? kept : fallback;
}

}  // namespace

ToolTimerSettings LoadToolTimerSettings(const std::string& path) {
  const platform::Profile profile(path);
  ToolTimerSettings settings;
  settings.monitorMs = PositiveOr(profile.ReadInt(kSection, "MonitorTimerInterval", settings.monitorMs),
                                  ToolTimerSettings::kDefaultMonitorMs);
  settings.watchMs = PositiveOr(profile.ReadInt(kSection, "WatchTimerInterval", settings.watchMs),
                                ToolTimerSettings::kDefaultWatchMs);
  if (settings.watchMs > ToolTimerSettings::kMaxWatchMs) settings.watchMs = ToolTimerSettings::kMaxWatchMs;
  return settings;
}

std::string ToolTimerSettingsPath() {
  std::error_code ec;
  const std::string inSettings = platform::SettingsRoot() + "/" + kFileName;
  if (std::filesystem::is_regular_file(inSettings, ec)) return inSettings;
  return platform::ProgramDir() + "/" + kFileName;
}

namespace {

std::string SettingsKey() { return std::string("Software\\") + kAppRegistryKey + "\\Settings"; }

}  // namespace

int ClampToolOprTimes(int64_t value) { return (value < 1 || value > 30) ? 1 : static_cast<int>(value); }

int ReadToolOprTimes() {
  auto v = platform::Registry::ReadDword(platform::Hive::CurrentUser, SettingsKey(), "ToolOprTimes");
  // The value is a signed integer: a stored -1 is out of range, not 4 billion.
  return ClampToolOprTimes(v ? static_cast<int32_t>(*v) : 0);
}

void WriteToolOprTimes(int seconds) {
  platform::Registry::WriteDword(platform::Hive::CurrentUser, SettingsKey(), "ToolOprTimes",
                                 static_cast<uint32_t>(ClampToolOprTimes(seconds)));
}

}  // namespace axcfg
