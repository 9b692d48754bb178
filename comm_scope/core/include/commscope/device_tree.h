#pragma once
// The workspace tree "Device Information": one item per port in use,
// ascending, and under it its clients "%03d %s" (client number = slot + 1,
// the client's whole name) in client-number order, as many as the port
// counts. A port newly listed is watched (attached once), a port that left
// the list is let go (detached); the destructor lets every port go.
#include <string>
#include <vector>

#include "commscope/viewer_library.h"

namespace commscope {

struct ClientItem {
  int slot = 0;
  int number = 0;  // slot + 1
  int handle = 0;
  std::string name;
  std::string label;  // "%03d %s"
  bool operator==(const ClientItem&) const = default;
};

struct PortItem {
  int index = 0;  // port number - 1
  int port = 0;
  std::string name;
  std::vector<ClientItem> clients;
  bool Expanded() const { return !clients.empty(); }
  bool operator==(const PortItem&) const = default;
};

class CDeviceTree {
 public:
  static constexpr const char* kRootLabel = "Device Information";

  explicit CDeviceTree(IViewerLibrary& library) : library_(library) {}
  ~CDeviceTree();
  CDeviceTree(const CDeviceTree&) = delete;
  CDeviceTree& operator=(const CDeviceTree&) = delete;

  // Takes the status snapshot and rebuilds the items; true when they changed.
  // A failed snapshot keeps the items and returns false.
  bool Refresh();
  const std::vector<PortItem>& Ports() const { return ports_; }
  const PortItem* FindPort(int port) const;
  // The client of a client number (1..512) among the items, or null.
  const ClientItem* FindClient(int number) const;
  // Lets every watched port go.
  void DetachAll();

 private:
  IViewerLibrary& library_;
  std::vector<PortItem> ports_;
  std::vector<int> attached_;  // ports watched, ascending
};

// The items of a status snapshot (no library calls).
std::vector<PortItem> BuildDeviceItems(const TavStatusSnapshot& status);
// "%03d %s" of a client number and a name field of up to 84 bytes, read to its
// NUL or the field's end.
std::string ClientLabel(int number, const char* nameField, size_t fieldBytes);

}  // namespace commscope
