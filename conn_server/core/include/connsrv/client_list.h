#pragma once
// The server's clients in arrival order: at most 512, each a 16-bit handle
// issued by the interface library and a name of at most 79 bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace connsrv {

class CClientList {
 public:
  static constexpr size_t kMaxClients = 512;
  static constexpr size_t kNameBytes = 80;

  struct Client {
    int16_t handle;
    std::string name;
  };

  // False when the list is full or the handle is present already.
  bool Add(int16_t handle, const std::string& name);
  // Removes the client keeping the order of the others; false when absent.
  bool Remove(int16_t handle);
  bool Contains(int16_t handle) const;
  size_t Count() const { return clients_.size(); }
  bool Empty() const { return clients_.empty(); }
  const std::vector<Client>& Clients() const { return clients_; }

 private:
  std::vector<Client> clients_;
};

}  // namespace connsrv
