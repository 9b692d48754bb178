// Feeds arbitrary bytes to the INI reader and writer: every read must give a
// value or the default, and a write must keep the file readable.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/file_util.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/keld-profile-fuzz-" + std::to_string(getpid()) + ".ini";
  std::string content(reinterpret_cast<const char*>(data), size);
  if (!platform::WriteFileAtomic(path, content)) return 0;
  platform::Profile p(path);
  for (const auto& section : p.Sections()) {
    for (const auto& key : p.Keys(section)) {
      (void)p.ReadInt(section, key, 0);
      (void)p.ReadString(section, key, "");
    }
  }
  (void)p.ReadInt("TavCom1", "Retry", 3);
  p.WriteString("TavCom1", "Retry", "5");
  if (p.ReadInt("TavCom1", "Retry", 3) != 5) __builtin_trap();
  std::remove(path.c_str());
  return 0;
}
