#pragma once
// The "Recent File" list: the newest file first, at most kRecentFileCount,
// kept under the application's registry section.
#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace axcfgui {

class CRecentFileList {
 public:
  // Reads the list from the registry.
  void Load();
  // Puts path (made absolute) at the front, removing an older entry of it,
  // and stores the list.
  void Add(const std::string& path);
  // Removes path and stores the list; false when it was not listed.
  bool Remove(const std::string& path);
  const std::vector<std::string>& Files() const { return m_files; }

  // Fills menu with one entry a file ("&1 path"), each running
  // onCommand(ID_FILE_MRU_FILE1 + index); a disabled placeholder when empty.
  void FillMenu(QMenu* menu, const std::function<void(int id)>& onCommand) const;

 private:
  void Save() const;
  std::vector<std::string> m_files;
};

}  // namespace axcfgui
