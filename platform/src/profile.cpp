#include "platform/profile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "platform/file_util.h"

namespace platform {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}


// "[name]" -> name; false for other lines.
bool SectionName(const std::string& line, std::string& name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key = value" -> key, value; false for comments and lines without '='.
bool KeyValue(const std::string& line, std::string& key, std::string& value) {
  std::string t = Trim(line);
  if (t.empty() || t.front() == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                            (value.front() == '\'' && value.back() == '\'')))
    value = value.substr(1, value.size() - 2);
  return true;
}

struct Located {
  long sectionLine = -1;  // index of the "[section]" line
  long sectionEnd = -1;   // one past the section's last line
  long keyLine = -1;
  std::string value;
};

Located Locate(const std::vector<std::string>& lines, const std::string& section, const std::string& key) {
  Located loc;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (SectionName(lines[i], name)) {
      if (loc.sectionLine >= 0) {
        loc.sectionEnd = static_cast<long>(i);
        break;
      }
      if (SameName(name, section)) loc.sectionLine = static_cast<long>(i);
      continue;
    }
    std::string k, v;
    if (loc.sectionLine >= 0 && loc.keyLine < 0 && !key.empty() && KeyValue(lines[i], k, v) && SameName(k, key)) {
      loc.keyLine = static_cast<long>(i);
      loc.value = v;
    }
  }
  if (loc.sectionLine >= 0 && loc.sectionEnd < 0) loc.sectionEnd = static_cast<long>(lines.size());
  return loc;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::string content;
  if (!ReadWholeFile(path, content)) return {};
  return SplitLines(content);
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string out;
  for (auto& l : lines) out += l + "\r\n";
  return WriteFileAtomic(path, out);
}

}  // namespace

int Profile::ParseLeadingInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > 0x80000000ll) v = 0x80000000ll;  // saturate rather than overflow
  }
  if (negative) v = -v;
  return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

std::string Profile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  Located loc = Locate(ReadLines(path_), section, key);
  return loc.keyLine >= 0 ? loc.value : def;
}

int Profile::ReadInt(const std::string& section, const std::string& key, int def) const {
  Located loc = Locate(ReadLines(path_), section, key);
  return loc.keyLine >= 0 ? ParseLeadingInt(loc.value) : def;
}

bool Profile::HasKey(const std::string& section, const std::string& key) const {
  return Locate(ReadLines(path_), section, key).keyLine >= 0;
}

std::vector<std::string> Profile::Sections() const {
  std::vector<std::string> out;
  for (auto& l : ReadLines(path_)) {
    std::string name;
    if (SectionName(l, name)) out.push_back(name);
  }
  return out;
}

std::vector<std::string> Profile::Keys(const std::string& section) const {
  std::vector<std::string> lines = ReadLines(path_), out;
  Located loc = Locate(lines, section, {});
  for (long i = loc.sectionLine + 1; loc.sectionLine >= 0 && i < loc.sectionEnd; ++i) {
    std::string k, v;
    if (KeyValue(lines[i], k, v)) out.push_back(k);
  }
  return out;
}

bool Profile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  FileLock lock(path_);
  std::vector<std::string> lines = ReadLines(path_);
  Located loc = Locate(lines, section, key);
  std::string entry = key + "=" + value;
  if (loc.keyLine >= 0) {
    lines[loc.keyLine] = entry;
  } else if (loc.sectionLine >= 0) {
    // After the section's last non-blank line, so blank separators stay between sections.
    long at = loc.sectionEnd;
    while (at - 1 > loc.sectionLine && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + at, entry);
  } else {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  return WriteLines(path_, lines);
}

bool Profile::WriteInt(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool Profile::DeleteKey(const std::string& section, const std::string& key) {
  FileLock lock(path_);
  std::vector<std::string> lines = ReadLines(path_);
  Located loc = Locate(lines, section, key);
  if (loc.keyLine < 0) return true;
  lines.erase(lines.begin() + loc.keyLine);
  return WriteLines(path_, lines);
}

bool Profile::DeleteSection(const std::string& section) {
  FileLock lock(path_);
  std::vector<std::string> lines = ReadLines(path_);
  Located loc = Locate(lines, section, {});
  if (loc.sectionLine < 0) return true;
  lines.erase(lines.begin() + loc.sectionLine, lines.begin() + loc.sectionEnd);
  return WriteLines(path_, lines);
}

}  // namespace platform
