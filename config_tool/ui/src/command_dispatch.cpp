#include "command_dispatch.h"

#include <QAction>

#include "command_table.h"

namespace axcfgui {

void CCommandDispatch::Add(int id, Run run, Enabled enabled) {
  m_entries[id] = Entry{std::move(run), std::move(enabled)};
}

bool CCommandDispatch::Dispatch(int id) const {
  auto it = m_entries.find(id);
  if (it == m_entries.end() || !it->second.run) return false;
  it->second.run();
  return true;
}

bool CCommandDispatch::IsEnabled(int id) const {
  auto it = m_entries.find(id);
  if (it == m_entries.end()) return false;
  return !it->second.enabled || it->second.enabled();
}

void CCommandDispatch::UpdateStates(CCommandTable& table) const {
  for (int id : table.CommandIds())
    if (QAction* action = table.Action(id)) action->setEnabled(IsEnabled(id));
}

}  // namespace axcfgui
