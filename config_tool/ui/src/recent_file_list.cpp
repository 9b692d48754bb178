#include "recent_file_list.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <filesystem>

#include "command_ids.h"
#include "platform/registry.h"
#include "startup_rules.h"
#include "ui_strings.h"

using platform::Hive;
using platform::Registry;

namespace axcfgui {

namespace {
constexpr const char* kRecentSection = "Recent File List";
constexpr unsigned kIdsNoRecentFile = kIdsMenuBase + 44;
}  // namespace

void CRecentFileList::Load() {
  m_files.clear();
  for (int i = 1; i <= kRecentFileCount; ++i) {
    auto v = Registry::ReadString(Hive::CurrentUser, AppSectionKey(kRecentSection), "File" + std::to_string(i));
    if (v && !v->empty()) m_files.push_back(*v);
  }
}

void CRecentFileList::Save() const {
  const std::string key = AppSectionKey(kRecentSection);
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const std::string name = "File" + std::to_string(i);
    if (static_cast<size_t>(i) <= m_files.size())
      Registry::WriteString(Hive::CurrentUser, key, name, m_files[static_cast<size_t>(i - 1)]);
    else
      Registry::DeleteValue(Hive::CurrentUser, key, name);
  }
}

void CRecentFileList::Add(const std::string& path) {
  std::error_code ec;
  std::string full = std::filesystem::absolute(path, ec).lexically_normal().string();
  if (ec) full = path;
  m_files.erase(std::remove(m_files.begin(), m_files.end(), full), m_files.end());
  m_files.insert(m_files.begin(), full);
  if (m_files.size() > static_cast<size_t>(kRecentFileCount)) m_files.resize(kRecentFileCount);
  Save();
}

bool CRecentFileList::Remove(const std::string& path) {
  auto it = std::find(m_files.begin(), m_files.end(), path);
  if (it == m_files.end()) return false;
  m_files.erase(it);
  Save();
  return true;
}

void CRecentFileList::FillMenu(QMenu* menu, const std::function<void(int id)>& onCommand) const {
  menu->clear();
  if (m_files.empty()) {
    menu->addAction(QString::fromStdString(UiText(kIdsNoRecentFile)))->setEnabled(false);
    return;
  }
  for (size_t i = 0; i < m_files.size(); ++i) {
    QString label = QStringLiteral("&%1 %2").arg(i + 1 == 10 ? 0 : static_cast<int>(i + 1))
                        .arg(QString::fromStdString(m_files[i]));
    QAction* action = menu->addAction(label);
    const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
    action->setData(id);
    QObject::connect(action, &QAction::triggered, menu, [onCommand, id] { onCommand(id); });
  }
}

}  // namespace axcfgui
