#pragma once
// Private-profile (INI) files read with the original platform's rules:
// section and key names compare without regard to case, a number is the
// leading integer of the value (optional sign, decimal digits; "0x" not
// special), and a missing file, section or key gives the caller's default.
// Writes keep every other line of the file and replace it atomically.
#include <string>
#include <vector>

namespace platform {

class Profile {
 public:
  explicit Profile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  int ReadInt(const std::string& section, const std::string& key, int def) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  bool HasKey(const std::string& section, const std::string& key) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(const std::string& section) const;

  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInt(const std::string& section, const std::string& key, int value);
  bool DeleteKey(const std::string& section, const std::string& key);
  bool DeleteSection(const std::string& section);

  // The leading-integer rule on its own: "  -12abc" gives -12, "abc" gives 0.
  static int ParseLeadingInt(const std::string& text);

 private:
  std::string path_;
};

}  // namespace platform
