#include "platform/registry.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <cstdio>
#include <map>
#include <mutex>
#include <sys/stat.h>

#include "platform/file_util.h"
#include "platform/folders.h"

namespace platform {

namespace {

constexpr const char* kMagic = "KELDREG 1";

struct Value {
  std::string name;
  bool isDword = false;
  uint32_t dword = 0;
  std::string text;
};

struct Key {
  std::string path;           // as first written
  std::vector<Value> values;  // in the order written
};

std::string Lower(const std::string& s) {
  std::string r = s;
  std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return r;
}

// "\\Software\\\\KELD\\" -> "Software\KELD"
std::string NormalizePath(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '\\') {
      if (!out.empty() && out.back() != '\\') out.push_back('\\');
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

struct HiveData {
  std::map<std::string, Key> keys;  // lower-case path -> key

  Key* Find(const std::string& key) {
    auto it = keys.find(Lower(NormalizePath(key)));
    return it == keys.end() ? nullptr : &it->second;
  }
  Key& Create(const std::string& key) {
    std::string path = NormalizePath(key);
    // Every parent exists as a key of its own.
    for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1)) {
      std::string parent = path.substr(0, pos);
      keys.try_emplace(Lower(parent), Key{parent, {}});
    }
    return keys.try_emplace(Lower(path), Key{path, {}}).first->second;
  }
  static Value* FindValue(Key& k, const std::string& name) {
    std::string l = Lower(name);
    for (auto& v : k.values)
      if (Lower(v.name) == l) return &v;
    return nullptr;
  }
};

std::string Escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '"': r += "\\\""; break;
      case '\n': r += "\\n"; break;
      case '\r': r += "\\r"; break;
      default: r.push_back(c);
    }
  }
  return r;
}

// Reads a quoted text starting at s[pos] == '"'; pos ends after the closing quote.
bool Unquote(const std::string& s, size_t& pos, std::string& out) {
  if (pos >= s.size() || s[pos] != '"') return false;
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\') {
      if (++pos >= s.size()) return false;
      char e = s[pos];
      if (e == 'n') out.push_back('\n');
      else if (e == 'r') out.push_back('\r');
      else if (e == '\\' || e == '"') out.push_back(e);
      else return false;
    } else {
      out.push_back(c);
    }
  }
  return false;
}

std::string Serialize(const HiveData& hive) {
  std::string out = std::string(kMagic) + "\n";
  for (auto& [lower, key] : hive.keys) {
    out += "[" + Escape(key.path) + "]\n";
    for (auto& v : key.values) {
      out += "\"" + Escape(v.name) + "\"=";
      if (v.isDword) {
        char buf[20];
        std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
        out += buf;
      } else {
        out += "\"" + Escape(v.text) + "\"";
      }
      out += "\n";
    }
  }
  return out;
}

bool Parse(const std::string& content, HiveData& hive, std::string& error) {
  hive.keys.clear();
  if (content.empty()) return true;
  size_t lineNo = 0;
  Key* current = nullptr;
  for (const std::string& line : SplitLines(content)) {
    ++lineNo;
    if (lineNo == 1) {
      if (line != kMagic) {
        error = "not a settings hive";
        return false;
      }
      continue;
    }
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') {
        error = "line " + std::to_string(lineNo) + ": bad key line";
        return false;
      }
      std::string path = line.substr(1, line.size() - 2), unescaped;
      size_t p = 0;
      std::string quoted = "\"" + path + "\"";
      if (!Unquote(quoted, p, unescaped)) {
        error = "line " + std::to_string(lineNo) + ": bad key name";
        return false;
      }
      current = &hive.Create(unescaped);
      continue;
    }
    size_t p = 0;
    Value v;
    if (!current || !Unquote(line, p, v.name) || p >= line.size() || line[p] != '=') {
      error = "line " + std::to_string(lineNo) + ": bad value line";
      return false;
    }
    ++p;
    if (line.compare(p, 6, "dword:") == 0) {
      std::string hex = line.substr(p + 6);
      if (hex.size() != 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        error = "line " + std::to_string(lineNo) + ": bad number";
        return false;
      }
      v.isDword = true;
      v.dword = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
    } else if (!Unquote(line, p, v.text) || p != line.size()) {
      error = "line " + std::to_string(lineNo) + ": bad text value";
      return false;
    }
    if (Value* old = HiveData::FindValue(*current, v.name)) *old = v;
    else current->values.push_back(v);
  }
  return true;
}

std::mutex g_mutex;  // one process's threads take turns; processes use the file lock

enum class LoadState { Ok, Damaged };

LoadState Load(const std::string& path, HiveData& hive) {
  std::string content, error;
  if (!ReadWholeFile(path, content)) {
    hive.keys.clear();  // a missing hive is an empty one
    return LoadState::Ok;
  }
  if (Parse(content, hive, error)) return LoadState::Ok;
  static std::map<std::string, bool> reported;
  if (!reported[path]) {
    std::fprintf(stderr, "settings: the file \"%s\" is damaged (%s); it is read as empty\n", path.c_str(),
                 error.c_str());
    reported[path] = true;
  }
  hive.keys.clear();
  return LoadState::Damaged;
}

template <typename Fn>
auto ReadHive(Hive h, Fn fn) {
  std::lock_guard<std::mutex> guard(g_mutex);
  HiveData hive;
  Load(Registry::HivePath(h), hive);
  return fn(hive);
}

// Read-modify-write under the file lock. fn returns whether it changed anything
// that must be saved and the result to give the caller.
bool ModifyHive(Hive h, const std::function<bool(HiveData&, bool& changed)>& fn) {
  std::lock_guard<std::mutex> guard(g_mutex);
  std::string path = Registry::HivePath(h);
  FileLock lock(path);
  if (!lock.Locked()) return false;
  HiveData hive;
  if (Load(path, hive) == LoadState::Damaged) {
    // Keep the damaged file for inspection instead of overwriting it silently.
    std::rename(path.c_str(), (path + ".damaged").c_str());
  }
  bool changed = false;
  bool result = fn(hive, changed);
  if (changed && !WriteFileAtomic(path, Serialize(hive))) return false;
  return result;
}

}  // namespace

std::string Registry::HivePath(Hive hive) {
  std::string dir = SettingsRoot() + "/registry";
  EnsureDir(dir, 0700);
  return dir + (hive == Hive::CurrentUser ? "/HKEY_CURRENT_USER.reg" : "/HKEY_LOCAL_MACHINE.reg");
}

bool Registry::KeyExists(Hive h, const std::string& key) {
  if (NormalizePath(key).empty()) return true;
  return ReadHive(h, [&](HiveData& hive) { return hive.Find(key) != nullptr; });
}

bool Registry::CreateKey(Hive h, const std::string& key) {
  if (NormalizePath(key).empty()) return true;
  return ModifyHive(h, [&](HiveData& hive, bool& changed) {
    changed = hive.Find(key) == nullptr;
    hive.Create(key);
    return true;
  });
}

bool Registry::DeleteKey(Hive h, const std::string& key) {
  std::string lower = Lower(NormalizePath(key));
  if (lower.empty()) return false;
  return ModifyHive(h, [&](HiveData& hive, bool& changed) {
    if (!hive.keys.count(lower)) return false;
    std::string prefix = lower + "\\";
    for (auto it = hive.keys.begin(); it != hive.keys.end();) {
      if (it->first == lower || it->first.compare(0, prefix.size(), prefix) == 0) it = hive.keys.erase(it);
      else ++it;
    }
    changed = true;
    return true;
  });
}

std::vector<std::string> Registry::SubKeys(Hive h, const std::string& key) {
  std::string lower = Lower(NormalizePath(key));
  return ReadHive(h, [&](HiveData& hive) {
    std::vector<std::string> out;
    std::string prefix = lower.empty() ? std::string() : lower + "\\";
    for (auto& [l, k] : hive.keys) {
      if (l.size() <= prefix.size() || l.compare(0, prefix.size(), prefix) != 0) continue;
      if (l.find('\\', prefix.size()) != std::string::npos) continue;  // deeper
      out.push_back(k.path.substr(prefix.size()));
    }
    return out;
  });
}

std::vector<std::string> Registry::ValueNames(Hive h, const std::string& key) {
  return ReadHive(h, [&](HiveData& hive) {
    std::vector<std::string> out;
    if (Key* k = hive.Find(key))
      for (auto& v : k->values) out.push_back(v.name);
    return out;
  });
}

std::optional<uint32_t> Registry::ReadDword(Hive h, const std::string& key, const std::string& name) {
  return ReadHive(h, [&](HiveData& hive) -> std::optional<uint32_t> {
    Key* k = hive.Find(key);
    Value* v = k ? HiveData::FindValue(*k, name) : nullptr;
    if (!v || !v->isDword) return std::nullopt;
    return v->dword;
  });
}

std::optional<std::string> Registry::ReadString(Hive h, const std::string& key, const std::string& name) {
  return ReadHive(h, [&](HiveData& hive) -> std::optional<std::string> {
    Key* k = hive.Find(key);
    Value* v = k ? HiveData::FindValue(*k, name) : nullptr;
    if (!v || v->isDword) return std::nullopt;
    return v->text;
  });
}

bool Registry::WriteDword(Hive h, const std::string& key, const std::string& name, uint32_t value) {
  return ModifyHive(h, [&](HiveData& hive, bool& changed) {
    Key& k = hive.Create(key);
    Value v{name, true, value, {}};
    if (Value* old = HiveData::FindValue(k, name)) *old = v;
    else k.values.push_back(v);
    changed = true;
    return true;
  });
}

bool Registry::WriteString(Hive h, const std::string& key, const std::string& name, const std::string& value) {
  return ModifyHive(h, [&](HiveData& hive, bool& changed) {
    Key& k = hive.Create(key);
    Value v{name, false, 0, value};
    if (Value* old = HiveData::FindValue(k, name)) *old = v;
    else k.values.push_back(v);
    changed = true;
    return true;
  });
}

bool Registry::DeleteValue(Hive h, const std::string& key, const std::string& name) {
  return ModifyHive(h, [&](HiveData& hive, bool& changed) {
    Key* k = hive.Find(key);
    if (!k) return false;
    std::string l = Lower(name);
    auto it = std::find_if(k->values.begin(), k->values.end(), [&](const Value& v) { return Lower(v.name) == l; });
    if (it == k->values.end()) return false;
    k->values.erase(it);
    changed = true;
    return true;
  });
}

}  // namespace platform
