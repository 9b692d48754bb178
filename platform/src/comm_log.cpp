#include "platform/comm_log.h"

#include <sys/stat.h>

#include "platform/folders.h"

namespace platform {

std::string LogSettingsKey() { return "SOFTWARE\\KELD\\KELD_TavScope\\LogFile"; }

std::string DefaultLogFolder() { return DataDir() + "/logs"; }

std::vector<int> PresentComPorts(const std::function<std::string(int)>& devicePath) {
  std::vector<int> present;
  for (int n = 1; n <= 256; ++n) {
    std::string path = devicePath(n);
    struct stat st {};
    if (!path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) present.push_back(n);
  }
  return present;
}

}  // namespace platform
