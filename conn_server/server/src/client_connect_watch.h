#pragma once
// The watch of one client's Ethernet connects: the wait is published in the
// client's slot of the shared segment, where the client's program shows its
// connecting window and may raise the cancel flag that this reads.
#include <cstdint>
#include <string>

#include "connsrv/connect_wait.h"
#include "connsrv/server_library.h"

namespace connsrv {

class CClientConnectWatch : public IConnectWatch {
 public:
  CClientConnectWatch(IServerLibrary& library, int port, int16_t handle, int dispTimeSec)
      : library_(library), port_(port), handle_(handle), dispTimeSec_(dispTimeSec) {}

  void Begin() override { library_.ConnectEnded(port_, handle_); }
  void Waiting(const std::string& address, int64_t elapsedMs) override {
    library_.ConnectWaiting(port_, handle_, address, static_cast<int>(elapsedMs), dispTimeSec_);
  }
  bool Cancelled() override { return library_.ConnectCancelled(port_, handle_); }
  void Ended() override { library_.ConnectEnded(port_, handle_); }

 private:
  IServerLibrary& library_;
  int port_;
  int16_t handle_;
  int dispTimeSec_;
};

}  // namespace connsrv
