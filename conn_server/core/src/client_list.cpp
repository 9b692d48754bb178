#include "connsrv/client_list.h"

#include <algorithm>

namespace connsrv {

bool CClientList::Add(int16_t handle, const std::string& name) {
  if (clients_.size() >= kMaxClients || Contains(handle)) return false;
  clients_.push_back({handle, name.substr(0, kNameBytes - 1)});
  return true;
}

bool CClientList::Remove(int16_t handle) {
  auto it = std::find_if(clients_.begin(), clients_.end(), [&](const Client& c) { return c.handle == handle; });
  if (it == clients_.end()) return false;
  clients_.erase(it);
  return true;
}

bool CClientList::Contains(int16_t handle) const {
  return std::any_of(clients_.begin(), clients_.end(), [&](const Client& c) { return c.handle == handle; });
}

}  // namespace connsrv
