#include "platform/strings.h"

#include <mutex>

#include "platform/file_util.h"
#include "platform/folders.h"

namespace platform {

StringTable::StringTable(const StringEntry* entries, size_t count) {
  for (size_t i = 0; i < count; ++i) texts_[entries[i].id] = entries[i].text ? entries[i].text : "";
}

std::string StringTable::Get(unsigned id) const {
  auto it = texts_.find(id);
  return it == texts_.end() ? std::string() : it->second;
}

bool StringTable::Parse(const std::string& content, std::string& error) {
  texts_.clear();
  std::map<unsigned, std::string> parsed;
  size_t lineNo = 0;
  for (const std::string& line : SplitLines(content)) {
    ++lineNo;
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string::npos || line.find_first_not_of("0123456789") != tab || tab > 9) {
      error = "line " + std::to_string(lineNo) + ": expected a number, a TAB and the text";
      return false;
    }
    unsigned id = static_cast<unsigned>(std::stoul(line.substr(0, tab)));
    std::string text;
    for (size_t i = tab + 1; i < line.size(); ++i) {
      char c = line[i];
      if (c != '\\') {
        text.push_back(c);
        continue;
      }
      if (++i >= line.size()) {
        error = "line " + std::to_string(lineNo) + ": a backslash ends the line";
        return false;
      }
      switch (line[i]) {
        case 'n': text.push_back('\n'); break;
        case 't': text.push_back('\t'); break;
        case 'r': text.push_back('\r'); break;
        case '\\': text.push_back('\\'); break;
        default:
          error = "line " + std::to_string(lineNo) + ": unknown escape \\" + std::string(1, line[i]);
          return false;
      }
    }
    parsed[id] = std::move(text);
  }
  texts_ = std::move(parsed);
  return true;
}

bool StringTable::LoadFile(const std::string& path, std::string& error) {
  std::string content, readError;
  texts_.clear();
  if (!ReadWholeFile(path, content, &readError)) {
    error = readError;
    return false;
  }
  if (!Parse(content, error)) {
    error = "\"" + path + "\" " + error;
    return false;
  }
  return true;
}

namespace {
struct Registry {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<StringTable>> builtin;
  std::map<std::string, std::shared_ptr<const StringTable>> active;
};
Registry& Tables() {
  static Registry r;
  return r;
}
}  // namespace

void Strings::RegisterBuiltin(const std::string& module, const StringEntry* entries, size_t count) {
  auto& r = Tables();
  std::lock_guard<std::mutex> g(r.mutex);
  // Several parts of one program may each register their ids: merge them. A
  // table is never changed in place once handed out, so build a new one.
  auto merged = std::make_shared<StringTable>();
  if (auto it = r.builtin.find(module); it != r.builtin.end()) *merged = *it->second;
  for (size_t i = 0; i < count; ++i) merged->Set(entries[i].id, entries[i].text ? entries[i].text : "");
  auto old = r.builtin[module];
  r.builtin[module] = merged;
  // Whoever used the built-in table as the one in force keeps using it.
  auto act = r.active.find(module);
  if (act != r.active.end() && old && act->second == old) act->second = merged;
}

std::shared_ptr<const StringTable> Strings::Builtin(const std::string& module) {
  auto& r = Tables();
  std::lock_guard<std::mutex> g(r.mutex);
  auto it = r.builtin.find(module);
  if (it == r.builtin.end()) return std::make_shared<StringTable>();
  return it->second;
}

std::string Strings::TablePath(const std::string& module, const std::string& langSuffix) {
  return LangDir() + "/" + module + "." + langSuffix + ".txt";
}

LanguageLoad Strings::Load(const std::string& module, const std::string& langSuffix,
                           std::shared_ptr<const StringTable>& table, std::string& error) {
  std::string path = TablePath(module, langSuffix);
  auto t = std::make_shared<StringTable>();
  std::string content;
  if (!ReadWholeFile(path, content, &error)) return LanguageLoad::Missing;
  if (!t->Parse(content, error)) {
    error = "\"" + path + "\" " + error;
    return LanguageLoad::Damaged;
  }
  table = t;
  return LanguageLoad::Ok;
}

void Strings::SetActive(const std::string& module, std::shared_ptr<const StringTable> table) {
  auto& r = Tables();
  std::lock_guard<std::mutex> g(r.mutex);
  if (table) r.active[module] = std::move(table);
  else r.active.erase(module);
}

std::shared_ptr<const StringTable> Strings::Active(const std::string& module) {
  auto& r = Tables();
  std::lock_guard<std::mutex> g(r.mutex);
  if (auto it = r.active.find(module); it != r.active.end()) return it->second;
  if (auto it = r.builtin.find(module); it != r.builtin.end()) return it->second;
  return std::make_shared<StringTable>();
}

std::string Strings::Get(const std::string& module, unsigned id) { return Active(module)->Get(id); }

}  // namespace platform
