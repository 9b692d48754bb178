// Server side of the library, called by KELD_TAVMGR: the port's status entry
// and record ring, its published request socket, the client bookkeeping, the
// answers handed back to clients, the pre-command, the monitor registration
// cache and the channel configuration.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "library_settings.h"
#include "plcsim_bridge.h"
#include "process_util.h"
#include "request_transport.h"
#include "segment_access.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

// What only the server process needs: the answers of the requests in
// progress, the monitor registrations and the published sockets.
struct CServerState {
  std::mutex mutex;
  std::map<int, std::vector<uint8_t>> answers;
  std::map<int, std::array<uint8_t, TAV_REGISTRATION_SIZE>> registrations;
  std::map<int, int> endpoints;
};

CServerState& State() {
  static CServerState state;
  return state;
}

bool IsServerOf(const Segment& s, int port) {
  return ValidPort(port) && s.ports[port - 1].inUse && IsSelf(s.ports[port - 1].server);
}

void PutName(char* dst, size_t width, const char* name) {
  std::memset(dst, 0, width);
  if (name) std::strncpy(dst, name, width - 1);
}

void ClearRing(SegRing& r) {
  r.count = 0;
  r.start = 0;
  r.status |= 0x80u;
}

}  // namespace

extern "C" {

int TavAttachPort(int port, int role) {
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    if (role == TAV_ROLE_VIEWER) {
      ++p.watchers;
      return 0;
    }
    // A second copy for the same port announces itself before it finds the
    // first one's mutex; it must not take the entry over.
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    p.inUse = 1;
    p.ready = 0;
    p.server = SegProcess{static_cast<int32_t>(::getpid()), 0, OwnStartTime()};
    p.status |= 0x80u;
    return 0;
  });
}

int TavDetachPort(int port, int role) {
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    if (role == TAV_ROLE_VIEWER) {
      if (p.watchers > 0) --p.watchers;
      return 0;
    }
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    p.ready = 0;
    return 0;
  });
}

int TavResetPortRecords(int port) {
  return WithPort(port, [&](Segment& s, SegPort& p) -> int {
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    if (SegRing* r = PortRing(s, port, nullptr)) ClearRing(*r);
    return 0;
  });
}

int TavAttachPortRecords(int port) {
  return WithPort(port, [&](Segment& s, SegPort& p) -> int {
    if (SegRing* r = PortRing(s, port, nullptr)) {
      if (!IsServerOf(s, port)) ++r->watchers;
      return 0;
    }
    if (!IsServerOf(s, port)) return TAV_E_NOT_OPEN;
    p.ring = AllocPortRing(s, port);
    return p.ring >= 0 ? 0 : TAV_E_SEGMENT;
  });
}

int TavServerReady(int port, const char* serverName) {
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    PutName(p.serverName, sizeof p.serverName, serverName);
    p.ready = 1;
    p.status |= 0x80u;
    return 0;
  });
}

int TavPublishEndpoint(int port, int publish) {
  if (!ValidPort(port)) return TAV_E_BAD_ARGUMENT;
  CServerState& st = State();
  std::lock_guard<std::mutex> guard(st.mutex);
  auto it = st.endpoints.find(port);
  if (!publish) {
    if (it == st.endpoints.end() &&
        WithPort(port, [](Segment&, SegPort& p) -> int { return HeldByOther(p) ? TAV_E_PORT_BUSY : 0; }) != 0)
      return TAV_E_PORT_BUSY;
    RemoveEndpoint(port, it == st.endpoints.end() ? -1 : it->second);
    if (it != st.endpoints.end()) st.endpoints.erase(it);
    WithPort(port, [](Segment&, SegPort& p) -> int {
      p.ready = 0;
      return 0;
    });
    return 0;
  }
  if (it != st.endpoints.end()) return it->second;
  // Never replace the socket of a server copy that still runs.
  int busy = WithPort(port, [](Segment&, SegPort& p) -> int { return HeldByOther(p) ? TAV_E_PORT_BUSY : 0; });
  if (busy != 0) return busy;
  int fd = ListenEndpoint(port);
  if (fd >= 0) st.endpoints[port] = fd;
  return fd;
}

int TavChannelTearDown(int port) {
  if (port == 326) SaveSimulation();
  {
    CServerState& st = State();
    std::lock_guard<std::mutex> guard(st.mutex);
    for (auto it = st.registrations.begin(); it != st.registrations.end();)
      it = (it->first >> 8) == port ? st.registrations.erase(it) : std::next(it);
  }
  return WithPort(port, [&](Segment& s, SegPort& p) -> int {
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    p.hasConfig = 0;
    p.configValue = 0;
    std::memset(p.config, 0, sizeof p.config);
    p.modemConnected = 0;
    p.modemHandle = 0;
    p.modemForced = 0;
    std::memset(p.dialText, 0, sizeof p.dialText);
    for (auto& c : s.clients)
      if (c.used && c.port == port) c.port = 0, c.open = 0, c.forcedOff = 0;
    DropEthernetLinks(s, port, false);
    p.status |= 0x80u;
    return 0;
  });
}

int TavReleasePort(int port) {
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    p.inUse = 0;
    p.ready = 0;
    p.status |= 0x80u;
    return 0;
  });
}

int TavReleasePortFinal(int port) {
  return WithPort(port, [&](Segment& s, SegPort& p) -> int {
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    if (p.ring >= 0) FreePortRing(s, p.ring);
    DropEthernetLinks(s, port, true);
    int watchers = p.watchers;
    std::memset(&p, 0, sizeof p);
    p.ring = -1;
    p.watchers = watchers;
    p.status = 0x80u;
    return 0;
  });
}

int TavClientAlive(int handle, int /*reserved*/) {
  // The process is looked at after the lock is given back: a server asks
  // this for each of its clients at every tick.
  SegProcess owner{};
  int rc = WithClient(handle, [&owner](Segment&, SegClient& c) -> int { return owner = c.owner, 0; });
  if (rc == TAV_E_SEGMENT) return 1;  // cannot tell: never drop a client on a guess
  return rc == 0 && ProcessAlive(owner.pid, owner.startTime) ? 1 : 0;
}

int TavAddClient(int port, int handle, const char* name) {
  if (!ValidPort(port)) return TAV_E_BAD_ARGUMENT;
  return WithClient(handle, [&](Segment& s, SegClient& c) -> int {
    // A viewer asks only whether the client is an item of the port.
    if (!IsServerOf(s, port)) return c.port == port ? 0 : TAV_E_NOT_OPEN;
    c.port = port;
    c.open = 0;
    if (name && *name) PutName(c.name, kNameBytes, name);
    s.ports[port - 1].status |= 0x80u;
    return 0;
  });
}

int TavRemoveClient(int port, int handle) {
  return WithClient(handle, [&](Segment& s, SegClient& c) -> int {
    if (c.port != port) return TAV_E_NOT_OPEN;
    if (!IsServerOf(s, port)) return 0;  // a viewer drops its item; nothing shared changes
    c.port = 0;
    c.open = 0;
    if (ValidPort(port)) s.ports[port - 1].status |= 0x80u;
    return 0;
  });
}

int TavAttachClientRecords(int handle) {
  return WithClient(handle, [&](Segment& s, SegClient& c) -> int {
    if (SegRing* r = ClientRing(s, handle, nullptr)) {
      if (!IsServerOf(s, c.port)) ++r->watchers;
      return 0;
    }
    if (!IsServerOf(s, c.port)) return TAV_E_NOT_OPEN;
    c.ring = AllocClientRing(s, handle);
    return c.ring >= 0 ? 0 : TAV_E_SEGMENT;
  });
}

int TavOpenFailed(int port, int handle) {
  return WithClient(handle, [&](Segment& s, SegClient& c) -> int {
    if (c.port == port) c.port = 0;
    c.open = 0;
    if (c.ring >= 0) FreeClientRing(s, c.ring), c.ring = -1;
    return 0;
  });
}

int TavOpenDone(int port, int handle) {
  if (!ValidPort(port)) return TAV_E_BAD_ARGUMENT;
  return WithClient(handle, [&](Segment& s, SegClient& c) -> int {
    c.port = port;
    c.open = 1;
    s.ports[port - 1].status |= 0x80u;
    return 0;
  });
}

int TavTouchPortStatus(int port) {
  return WithPort(port, [](Segment&, SegPort& p) -> int {
    p.status |= 0x80u;
    return 0;
  });
}

int TavReleaseClient(int handle) {
  {
    CServerState& st = State();
    std::lock_guard<std::mutex> guard(st.mutex);
    st.answers.erase(handle);
  }
  return WithClient(handle, [&](Segment& s, SegClient& c) -> int {
    if (c.ring >= 0) FreeClientRing(s, c.ring), c.ring = -1;
    c.port = 0;
    c.open = 0;
    // A client that died leaves its slot to be freed here; a live one frees
    // its own handle when its close returns.
    if (!ProcessAlive(c.owner.pid, c.owner.startTime)) c.used = 0;
    return 0;
  });
}

int TavNoteCommand(int handle, int /*port*/, const char* command) {
  return WithClient(handle, [&](Segment&, SegClient& c) -> int {
    PutName(c.lastCommand, kNameBytes, command ? command : "");
    return 0;
  });
}

int TavDeliverAnswer(int handle, int length, const void* bytes) {
  if (length < 0 || (length > 0 && !bytes)) return TAV_E_BAD_ARGUMENT;
  if (static_cast<uint32_t>(length) > kMaxAnswer) return TAV_E_BUFFER_SMALL;
  CServerState& st = State();
  std::lock_guard<std::mutex> guard(st.mutex);
  auto* p = static_cast<const uint8_t*>(bytes);
  st.answers[handle].assign(p, p + length);
  return 0;
}

int TavAnswerFirstByte(int handle) {
  CServerState& st = State();
  std::lock_guard<std::mutex> guard(st.mutex);
  auto it = st.answers.find(handle);
  return it == st.answers.end() || it->second.empty() ? -1 : it->second.front();
}

int TavGetPreCommand(int handle, char* command, int size) {
  if (!command || size <= 0) return TAV_E_BAD_ARGUMENT;
  command[0] = 0;
  int port = 0;
  WithClient(handle, [&](Segment&, SegClient& c) { return port = c.port, 0; });
  if (!ValidPort(port)) return 0;
  std::string text = PreCommand(port);
  if (text.empty()) return 0;
  if (text.size() >= static_cast<size_t>(size)) return TAV_E_BUFFER_SMALL;
  std::memcpy(command, text.c_str(), text.size() + 1);
  return 1;
}

int TavGetMonitorRegistration(int port, int station, unsigned char* frames) {
  if (!ValidPort(port) || station < 0 || station > 255 || !frames) return TAV_E_BAD_ARGUMENT;
  CServerState& st = State();
  std::lock_guard<std::mutex> guard(st.mutex);
  auto it = st.registrations.find((port << 8) | station);
  if (it == st.registrations.end()) {
    std::memset(frames, 0, TAV_REGISTRATION_SIZE);
    return 0;
  }
  std::memcpy(frames, it->second.data(), TAV_REGISTRATION_SIZE);
  return 1;
}

int TavSetMonitorRegistration(int port, int station, const unsigned char* frames) {
  if (!ValidPort(port) || station < 0 || station > 255 || !frames) return TAV_E_BAD_ARGUMENT;
  CServerState& st = State();
  std::lock_guard<std::mutex> guard(st.mutex);
  int key = (port << 8) | station;
  bool empty = std::all_of(frames, frames + TAV_REGISTRATION_SIZE, [](unsigned char b) { return b == 0; });
  if (empty) {
    st.registrations.erase(key);
  } else {
    std::memcpy(st.registrations[key].data(), frames, TAV_REGISTRATION_SIZE);
  }
  return 0;
}

int TavSetChannelConfig(int port, const unsigned char* config, int value) {
  if (!config) return TAV_E_BAD_ARGUMENT;
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    if (HeldByOther(p)) return TAV_E_PORT_BUSY;
    std::memcpy(p.config, config, sizeof p.config);
    p.configValue = value;
    p.hasConfig = 1;
    p.status |= 0x80u;
    return 0;
  });
}

int TavAcceptRequest(int listenFd, int* code, unsigned char* record, int timeoutMs) {
  if (listenFd < 0 || !code || !record) return TAV_E_BAD_ARGUMENT;
  int32_t c = 0;
  CRequestRecord request;
  int fd = AcceptOneRequest(listenFd, timeoutMs, c, request);
  if (fd < 0) return fd;
  *code = c;
  std::memcpy(record, request.Bytes().data(), kRequestRecordSize);
  CServerState& st = State();
  std::lock_guard<std::mutex> guard(st.mutex);
  st.answers.erase(request.ClientHandle());  // a new request starts without an answer
  return fd;
}

int TavReplyRequest(int connectionFd, int handle, int result) {
  std::vector<uint8_t> answer;
  {
    CServerState& st = State();
    std::lock_guard<std::mutex> guard(st.mutex);
    auto it = st.answers.find(handle);
    if (it != st.answers.end()) {
      answer = std::move(it->second);
      st.answers.erase(it);
    }
  }
  return SendReply(connectionFd, result, answer);
}

}  // extern "C"
