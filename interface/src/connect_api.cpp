// The wait of an Ethernet connect: the server publishes it in the waiting
// client's slot, the client's program reads it to show its connecting
// window and raises the cancel flag that the server reads between tries.
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "client_cancel.h"
#include "process_util.h"
#include "tavinter/connect_cancel.h"
#include "tavinter/connection_record.h"

using namespace tavinter;

namespace {

static_assert(TAV_CONNECT_ADDRESS_SIZE == kNameBytes);

void ClearWait(SegClient& c) {
  c.connectWaiting = 0;
  c.connectDispTime = 0;
  c.connectStartMs = 0;
  std::memset(c.connectAddress, 0, kNameBytes);
}

void CopyWait(const SegClient& c, TavConnectWait& wait) {
  wait.port = c.port;
  wait.handle = c.handle;
  wait.dispTimeSec = c.connectDispTime;
  wait.startMs = c.connectStartMs;
  std::memset(wait.address, 0, sizeof wait.address);
  std::memcpy(wait.address, c.connectAddress, ::strnlen(c.connectAddress, kNameBytes - 1));
}

}  // namespace

extern "C" {

long long TavSteadyMs(void) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int TavCancelConnect(int port, int handle) {
  // The port is the server's port number or the Ethernet port number.
  return RaiseCancel(handle, &SegClient::cancelConnect,
                     [port](int own) { return own == port || own == PortNumberOf(kKindEthernet, port); });
}

int TavGetConnectWait(int handle, TavConnectWait* wait) {
  if (!wait) return TAV_E_BAD_ARGUMENT;
  const int pid = static_cast<int>(::getpid());
  const int rc = WithSegment([&](Segment& s) -> int {
    // A wait left by a server that died is over.
    auto mine = [&](const SegClient& c) {
      if (!c.used || c.owner.pid != pid || !c.connectWaiting || !ValidPort(c.port)) return false;
      const SegPort& p = s.ports[c.port - 1];
      return p.inUse && ProcessAlive(p.server.pid, p.server.startTime);
    };
    if (handle != 0) {
      const SegClient* c = FindClient(s, handle);
      if (!c || !mine(*c)) return 0;
      CopyWait(*c, *wait);
      return 1;
    }
    for (const auto& c : s.clients) {
      if (!mine(c)) continue;
      CopyWait(c, *wait);
      return 1;
    }
    return 0;
  });
  return rc == 1 ? 1 : 0;
}

int TavConnectWaitStarted(int port, int handle, const char* address, int elapsedMs, int dispTimeSec) {
  return WithClient(handle, [&](Segment&, SegClient& c) -> int {
    if (c.port != port) return TAV_E_BAD_ARGUMENT;
    ClearWait(c);
    c.cancelConnect = 0;
    c.connectWaiting = 1;
    c.connectDispTime = dispTimeSec < 0 ? 0 : dispTimeSec;
    c.connectStartMs = TavSteadyMs() - (elapsedMs > 0 ? elapsedMs : 0);
    if (address) std::strncpy(c.connectAddress, address, kNameBytes - 1);
    return 0;
  });
}

int TavConnectCancelRequested(int port, int handle) { return TakeCancel(port, handle, &SegClient::cancelConnect); }

int TavConnectWaitEnded(int port, int handle) {
  return WithClient(handle, [&](Segment&, SegClient& c) -> int {
    if (c.port != port) return TAV_E_BAD_ARGUMENT;
    ClearWait(c);
    c.cancelConnect = 0;
    return 0;
  });
}

}  // extern "C"
