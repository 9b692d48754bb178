#include "connsrv/log_settings.h"

#include <cstdio>

#include "connsrv/channel_table.h"
#include "platform/registry.h"

namespace connsrv {

std::string FormLogFileName(int port, const std::tm& t) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d_%02d%02d%02d", t.tm_year % 100, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return NamesForPort(port).logPrefix + stamp + ".Log";
}

void CLogState::Refresh(std::time_t now) {
  using platform::Hive;
  using platform::Registry;
  auto sw = Registry::ReadString(Hive::CurrentUser, LogSettingsKey(), NamesForPort(port_).display);
  if (!sw || sw->empty() || (*sw)[0] != '1') {
    fileName_.clear();
    folder_.clear();
    return;
  }
  folder_ = Registry::ReadString(Hive::CurrentUser, LogSettingsKey(), "Folder").value_or(DefaultLogFolder());
  if (fileName_.empty()) {
    std::tm local{};
    localtime_r(&now, &local);
    fileName_ = FormLogFileName(port_, local);
  }
}

}  // namespace connsrv
