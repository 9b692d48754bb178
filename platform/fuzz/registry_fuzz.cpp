// Feeds arbitrary bytes to the registry hive reader; a damaged hive must read
// as empty and accept a write afterwards.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/file_util.h"
#include "platform/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool home = [] {
    std::string dir = "/tmp/keld-registry-fuzz-" + std::to_string(getpid());
    setenv("KELD_HOME", dir.c_str(), 1);
    return true;
  }();
  (void)home;
  using platform::Hive;
  using platform::Registry;
  std::string path = Registry::HivePath(Hive::CurrentUser);
  if (!platform::WriteFileAtomic(path, std::string(reinterpret_cast<const char*>(data), size))) return 0;
  for (const auto& k : Registry::SubKeys(Hive::CurrentUser, "Software"))
    for (const auto& v : Registry::ValueNames(Hive::CurrentUser, "Software\\" + k)) {
      (void)Registry::ReadDword(Hive::CurrentUser, "Software\\" + k, v);
      (void)Registry::ReadString(Hive::CurrentUser, "Software\\" + k, v);
    }
  if (!Registry::WriteDword(Hive::CurrentUser, "Software\\KELD", "x", 5)) __builtin_trap();
  if (Registry::ReadDword(Hive::CurrentUser, "Software\\KELD", "x") != 5u) __builtin_trap();
  return 0;
}
