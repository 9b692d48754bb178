#include "commscope/device_tree.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "commscope/port_names.h"

namespace commscope {

std::string ClientLabel(int number, const char* nameField, size_t fieldBytes) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%03d ", number);
  return prefix + std::string(nameField, strnlen(nameField, fieldBytes));
}

std::vector<PortItem> BuildDeviceItems(const TavStatusSnapshot& status) {
  std::vector<PortItem> ports;
  for (int i = 0; i < kPortCount; ++i) {
    if (!status.portInUse[i]) continue;
    PortItem item;
    item.index = i;
    item.port = i + 1;
    item.name = PortName(i);
    for (int slot = 0; slot < kClientSlots && static_cast<int>(item.clients.size()) < status.portClients[i]; ++slot) {
      if (status.clientHandle[slot] == 0 || status.clientPort[slot] != item.port) continue;
      ClientItem c;
      c.slot = slot;
      c.number = slot + 1;
      c.handle = status.clientHandle[slot];
      const char* field = status.clientName[slot];
      c.name.assign(field, strnlen(field, sizeof status.clientName[slot]));
      c.label = ClientLabel(c.number, field, sizeof status.clientName[slot]);
      item.clients.push_back(std::move(c));
    }
    ports.push_back(std::move(item));
  }
  return ports;
}

CDeviceTree::~CDeviceTree() { DetachAll(); }

bool CDeviceTree::Refresh() {
  auto status = std::make_unique<TavStatusSnapshot>();
  if (library_.GetStatus(*status) != 0) return false;
  std::vector<PortItem> items = BuildDeviceItems(*status);
  std::vector<int> listed;
  for (const auto& p : items) listed.push_back(p.port);
  // Watching follows the list: once per port while it is listed.
  for (int port : attached_)
    if (!std::binary_search(listed.begin(), listed.end(), port)) library_.DetachPort(port);
  for (int port : listed)
    if (!std::binary_search(attached_.begin(), attached_.end(), port)) library_.AttachPort(port);
  attached_ = std::move(listed);
  if (items == ports_) return false;
  ports_ = std::move(items);
  return true;
}

const PortItem* CDeviceTree::FindPort(int port) const {
  for (const auto& p : ports_)
    if (p.port == port) return &p;
  return nullptr;
}

const ClientItem* CDeviceTree::FindClient(int number) const {
  for (const auto& p : ports_)
    for (const auto& c : p.clients)
      if (c.number == number) return &c;
  return nullptr;
}

void CDeviceTree::DetachAll() {
  for (int port : attached_) library_.DetachPort(port);
  attached_.clear();
}

}  // namespace commscope
