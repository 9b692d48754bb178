#pragma once
// The periods of the tool-operation windows: how often they read the unit and
// how long the keep-alive worker pauses between two writes. Read from an INI
// file that the tool never writes.
#include <cstdint>
#include <string>

namespace axcfg {

struct ToolTimerSettings {
  static constexpr int16_t kDefaultMonitorMs = 200;
  static constexpr int16_t kDefaultWatchMs = 50;
  // The unit stops an axis when the keep-alive word is not renewed in time:
  // a longer pause would let it do so between two writes.
  static constexpr int16_t kMaxWatchMs = 500;

  int16_t monitorMs = kDefaultMonitorMs;
  int16_t watchMs = kDefaultWatchMs;
};

// Reads "MonitorTimerInterval" and "WatchTimerInterval" of the section
// "ToolOprTimerInterVal". Values are kept as 16-bit signed numbers; a missing
// file or key, or a value of 0 or less, gives the default; the pause is
// capped at kMaxWatchMs.
ToolTimerSettings LoadToolTimerSettings(const std::string& path);

// "ToolTimerIntVal.Dat" in the settings folder when it exists there, else in
// the program's folder.
std::string ToolTimerSettingsPath();

// The tool's registry key below "Software", where its settings live.
inline constexpr const char* kAppRegistryKey = "KELD\\Axis Configurator";

// "Settings"/"ToolOprTimes": the seconds the unit waits for the keep-alive
// before it stops an axis and leaves tool operation mode. A value below 1 or
// above 30 becomes 1.
int ClampToolOprTimes(int64_t value);
int ReadToolOprTimes();
void WriteToolOprTimes(int seconds);

}  // namespace axcfg
