#pragma once
// The registry of the original platform, kept as one file per hive under the
// settings root. Key paths use backslashes ("Software\KELD\Axis Configurator")
// and compare without regard to case, as on the original. Every write is a
// read-modify-write under an exclusive file lock, saved through a temporary
// file and a rename, so concurrent writers never lose each other's values and
// a crash never leaves half a file. A damaged hive is reported once on stderr,
// kept aside as "<hive>.damaged" on the next write, and read as empty.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class Hive { CurrentUser, LocalMachine };

class Registry {
 public:
  static bool KeyExists(Hive hive, const std::string& key);
  static bool CreateKey(Hive hive, const std::string& key);
  // Deletes the key with all its subkeys and values. False when it did not exist.
  static bool DeleteKey(Hive hive, const std::string& key);
  static std::vector<std::string> SubKeys(Hive hive, const std::string& key);
  static std::vector<std::string> ValueNames(Hive hive, const std::string& key);

  static std::optional<uint32_t> ReadDword(Hive hive, const std::string& key, const std::string& name);
  static std::optional<std::string> ReadString(Hive hive, const std::string& key, const std::string& name);
  // Writing creates the key when missing.
  static bool WriteDword(Hive hive, const std::string& key, const std::string& name, uint32_t value);
  static bool WriteString(Hive hive, const std::string& key, const std::string& name, const std::string& value);
  static bool DeleteValue(Hive hive, const std::string& key, const std::string& name);

  // The file that holds a hive.
  static std::string HivePath(Hive hive);
};

}  // namespace platform
