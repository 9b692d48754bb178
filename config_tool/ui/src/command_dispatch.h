#pragma once
// What each command id of the command table does and when it is enabled.
// A command without an entry is not handled here and shows disabled: its
// window has not been built yet.
#include <functional>
#include <map>

namespace axcfgui {

class CCommandTable;

class CCommandDispatch {
 public:
  using Run = std::function<void()>;
  using Enabled = std::function<bool()>;

  // Registers id; without enabled the command is always available.
  void Add(int id, Run run, Enabled enabled = {});
  // The state only, for a command another object carries out (the frame's
  // bar toggles).
  void AddState(int id, Enabled enabled = {}) { Add(id, {}, std::move(enabled)); }
  // Runs the command of id; false when id has no entry or runs elsewhere.
  bool Dispatch(int id) const;
  bool IsEnabled(int id) const;
  // Enables or disables every action of the table by its entry.
  void UpdateStates(CCommandTable& table) const;

 private:
  struct Entry {
    Run run;
    Enabled enabled;
  };
  std::map<int, Entry> m_entries;
};

}  // namespace axcfgui
