#pragma once
// String tables: texts by numeric id, per module ("AxisCfg", "AxView",
// "KELD_TAVMGR", ...). Each module registers its English table, built in;
// other languages are files "<module>.<lang>.txt" in the lang/ folder, one
// "id<TAB>text" line each (\n, \t and \\ escaped; '#' starts a comment).
// The table in force per module is what GetString reads.
#include <map>
#include <memory>
#include <string>

namespace platform {

struct StringEntry {
  unsigned id;
  const char* text;
};

class StringTable {
 public:
  StringTable() = default;
  StringTable(const StringEntry* entries, size_t count);

  void Set(unsigned id, std::string text) { texts_[id] = std::move(text); }
  bool Has(unsigned id) const { return texts_.count(id) != 0; }
  // The text, or an empty string when the id is not in the table.
  std::string Get(unsigned id) const;
  size_t Size() const { return texts_.size(); }
  const std::map<unsigned, std::string>& All() const { return texts_; }

  // Parses a table file. On failure returns false with a message naming the
  // file and the line; the table is then left empty.
  bool LoadFile(const std::string& path, std::string& error);
  bool Parse(const std::string& content, std::string& error);

 private:
  std::map<unsigned, std::string> texts_;
};

enum class LanguageLoad { Ok, Missing, Damaged };

class Strings {
 public:
  // Registers the built-in English table of a module (it is in force until
  // another table is selected).
  static void RegisterBuiltin(const std::string& module, const StringEntry* entries, size_t count);
  static std::shared_ptr<const StringTable> Builtin(const std::string& module);

  // The file name of a module's table for a language suffix ("jpn").
  static std::string TablePath(const std::string& module, const std::string& langSuffix);
  // Loads a language table of a module from lang/ (does not select it).
  static LanguageLoad Load(const std::string& module, const std::string& langSuffix,
                           std::shared_ptr<const StringTable>& table, std::string& error);

  // The table in force for a module; the built-in one unless set.
  static void SetActive(const std::string& module, std::shared_ptr<const StringTable> table);
  static std::shared_ptr<const StringTable> Active(const std::string& module);

  // A text of the table in force; empty when there is none.
  static std::string Get(const std::string& module, unsigned id);
};

}  // namespace platform
