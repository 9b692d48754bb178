// Modem calls: the stored port records, dialling and hanging up through the
// server, and the state of a connected call that the phone book supervises
// (kept in the shared segment by the server).
#include <unistd.h>

#include <cstring>
#include <string>

#include "client_cancel.h"
#include "client_handles.h"
#include "client_request.h"
#include "library_settings.h"
#include "process_util.h"
#include "segment_access.h"
#include "tavinter/connection_record.h"
#include "tavinter/dial_cancel.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

// The client slot of this process that carries the connection name.
SegClient* OwnClientNamed(Segment& s, const char* name) {
  if (!name) return nullptr;
  for (auto& c : s.clients)
    if (c.used && c.owner.pid == ::getpid() && std::strncmp(c.name, name, kNameBytes) == 0) return &c;
  return nullptr;
}

// fn(Segment&, SegClient& own, SegPort* port) under the segment lock, for
// this process's client slot of the connection name and the entry of its port
// (null while it has none); TAV_E_NOT_OPEN when there is no such slot.
template <typename Fn>
int WithOwnClient(const char* channelName, Fn fn) {
  return WithSegment([&](Segment& s) -> int {
    SegClient* own = OwnClientNamed(s, channelName);
    if (!own) return TAV_E_NOT_OPEN;
    return fn(s, *own, ValidPort(own->port) ? &s.ports[own->port - 1] : nullptr);
  });
}

// 1 when no live client but the named one uses its port, 0 while others do.
int OthersGone(const char* channelName) {
  return WithOwnClient(channelName, [](Segment& s, SegClient& own, SegPort*) -> int {
    for (const auto& c : s.clients) {
      if (!c.used || &c == &own || c.port != own.port || c.forcedOff) continue;
      if (ProcessAlive(c.owner.pid, c.owner.startTime)) return 0;
    }
    return 1;
  });
}

// Lifts the take-over of the port from every client of it.
void ReleaseForcedOff(Segment& s, int port) {
  for (auto& c : s.clients)
    if (c.used && c.port == port) c.forcedOff = 0;
}

}  // namespace

namespace tavinter {

int DialRequest(const uint8_t* record, CRequestRecord& request, std::vector<uint8_t>& answer) {
  const int handle = record ? CConnectionRecord(const_cast<uint8_t*>(record)).ClientHandle() : 0;
  // A cancel left from an earlier dial must not end this one.
  if (handle > 0) ClearCancel(handle, &SegClient::cancelDial);
  const int extra = record ? CConnectionRecord(const_cast<uint8_t*>(record)).LineTimeout() : 0;
  return ClientRequest(record, kRequestDial, request, answer, extra);
}

}  // namespace tavinter

extern "C" {

int TavGetModemPortCount(void) { return ModemPortCount(); }

int TavGetModemPorts(int* ports, int capacity) {
  const std::vector<int> list = ModemPorts();
  for (int i = 0; ports && i < capacity && i < static_cast<int>(list.size()); ++i) ports[i] = list[static_cast<size_t>(i)];
  return static_cast<int>(list.size());
}

int TavReadPortRecord(unsigned char* record, int channelId) {
  if (!record) return TAV_E_BAD_RECORD;
  CConnectionRecord r(record);
  if (r.ClientHandle() > 0 && OwnsClientHandle(r.ClientHandle()))
    return TAV_E_BAD_ARGUMENT;  // never overwrite an open connection's record
  r.SetClientHandle(0);
  return ReadChannelRecord(channelId, r) ? 0 : TAV_E_BAD_ARGUMENT;
}

int TavWritePortRecord(const unsigned char* record, int channelId) {
  if (!record) return TAV_E_BAD_RECORD;
  return WriteChannelRecord(channelId, CConnectionRecord(const_cast<unsigned char*>(record))) ? 0 : TAV_E_SETTINGS;
}

int TavDial(unsigned char* record, const char* dialText) {
  if (!dialText) return TAV_E_BAD_ARGUMENT;
  CRequestRecord request;
  if (!request.SetCommandText(dialText)) return TAV_E_BAD_ARGUMENT;
  std::vector<uint8_t> answer;
  return DialRequest(record, request, answer);
}

int TavLineInUse(int connected, const char* channelName) {
  if (!connected) return 0;
  int rc = WithOwnClient(channelName, [](Segment&, SegClient& own, SegPort* p) -> int {
    if (!p || !p->inUse || !ProcessAlive(p->server.pid, p->server.startTime)) return 0;
    return p->modemConnected && p->modemHandle == own.handle ? 1 : 0;
  });
  return rc == 1 ? 1 : 0;
}

int TavOthersReleased(const char* channelName, const char* /*ownName*/) { return OthersGone(channelName); }

int TavPollOthersReleased(const char* channelName, const char* /*ownName*/) {
  int rc = OthersGone(channelName);
  return rc < 0 ? 1 : rc;  // a connection that no longer exists holds nobody back
}

int TavForceOthersOff(const char* channelName) {
  return WithOwnClient(channelName, [](Segment& s, SegClient& own, SegPort* p) -> int {
    if (!p) return TAV_E_NOT_OPEN;
    for (auto& c : s.clients)
      if (c.used && &c != &own && c.port == own.port) c.forcedOff = 1;
    p->modemForced = 1;
    return 0;
  });
}

int TavCancelDial(int port, int handle) {
  // The port is the server's port number or the COM number of a modem line.
  return RaiseCancel(handle, &SegClient::cancelDial,
                     [port](int own) { return own == port || own == PortNumberOf(kKindModem, port); });
}

int TavDialCancelRequested(int port, int handle) { return TakeCancel(port, handle, &SegClient::cancelDial); }

int TavHangUp(void* /*owner*/, const char* /*channelName*/, unsigned char* record) {
  CRequestRecord request;
  // The port's closing command goes to the modem after the hang-up.
  if (record && !request.SetCommandText(CConnectionRecord(record).SecondCommand())) return TAV_E_BAD_ARGUMENT;
  std::vector<uint8_t> answer;
  return ClientRequest(record, kRequestHangUp, request, answer);
}

int TavHangUpDone(const char* channelName) {
  return WithOwnClient(channelName, [](Segment& s, SegClient& own, SegPort* p) -> int {
    if (!p) return TAV_E_NOT_OPEN;
    ReleaseForcedOff(s, own.port);
    p->modemForced = 0;
    return 0;
  });
}

int TavModemConnected(int port, int handle) {
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    p.modemConnected = 1;
    p.modemHandle = handle;
    return 0;
  });
}

int TavModemDialText(int port, const char* dialText) {
  if (!dialText) return TAV_E_BAD_ARGUMENT;
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    std::memset(p.dialText, 0, kNameBytes);
    std::strncpy(p.dialText, dialText, kNameBytes - 1);
    return 0;
  });
}

int TavModemDisconnected(int port) {
  return WithPort(port, [](Segment&, SegPort& p) -> int {
    p.modemConnected = 0;
    p.modemHandle = 0;
    return 0;
  });
}

int TavModemReleased(int port) {
  return WithPort(port, [&](Segment& s, SegPort& p) -> int {
    std::memset(p.dialText, 0, kNameBytes);
    p.modemForced = 0;
    ReleaseForcedOff(s, port);
    return 0;
  });
}

}  // extern "C"
