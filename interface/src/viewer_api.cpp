// Viewer side of the library (KELD_TAVSCOPE): the status snapshot and the
// record rings of the ports and clients.
#include <cstring>

#include "process_util.h"
#include "segment_access.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

int CopyLine(const SegRing& r, char (*lines)[kLineBytes], int index, char* out, int size) {
  if (!out || size <= 0 || index < 0 || index >= r.capacity) return TAV_E_BAD_ARGUMENT;
  size_t n = strnlen(lines[index], kLineChars);
  if (n >= static_cast<size_t>(size)) n = static_cast<size_t>(size) - 1;
  std::memcpy(out, lines[index], n);
  out[n] = 0;
  return 0;
}

// The ports in use and the clients with their ports, as the viewer shows them.
int Snapshot(const Segment& s, TavStatusSnapshot& status) {
  for (int i = 0; i < kPortCount; ++i) {
    const SegPort& p = s.ports[i];
    // A port whose server died is not in use, whatever its entry says.
    status.portInUse[i] = p.inUse && ProcessAlive(p.server.pid, p.server.startTime) ? 1 : 0;
  }
  // Every client counts for its port; the first TAV_CLIENT_SLOTS slots (which
  // fill first) are listed one by one.
  for (int i = 0; i < kClientSlots; ++i) {
    const SegClient& c = s.clients[i];
    if (!c.used) continue;
    const bool attached = c.port >= 1 && c.port <= kPortCount && status.portInUse[c.port - 1];
    if (attached) ++status.portClients[c.port - 1];
    if (i >= TAV_CLIENT_SLOTS) continue;
    status.clientHandle[i] = static_cast<int16_t>(c.handle);
    std::memcpy(status.clientName[i], c.name, kNameBytes - 1);
    if (attached) status.clientPort[i] = static_cast<int16_t>(c.port);
  }
  return 0;
}

}  // namespace

extern "C" {

int TavRegisterViewer(void) {
  return WithSegment([](Segment& s) { return ++s.header.viewers, 0; });
}

int TavGetStatus(TavStatusSnapshot* status) {
  if (!status) return TAV_E_BAD_ARGUMENT;
  std::memset(status, 0, sizeof *status);
  return WithSegment([&](Segment& s) { return Snapshot(s, *status); });
}

int TavGetClientName(int slot, char* name, int size) {
  if (slot < 0 || slot >= kClientSlots || !name || size <= 0) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) -> int {
    const SegClient& c = s.clients[slot];
    if (!c.used) return TAV_E_NOT_OPEN;
    size_t n = strnlen(c.name, kNameBytes - 1);
    if (n >= static_cast<size_t>(size)) n = static_cast<size_t>(size) - 1;
    std::memcpy(name, c.name, n);
    name[n] = 0;
    return 0;
  });
}

int TavGetPortConfig(int port, unsigned char* config) {
  if (!config) return TAV_E_BAD_ARGUMENT;
  return WithPort(port, [&](Segment&, SegPort& p) -> int {
    if (!p.hasConfig) return TAV_E_NOT_OPEN;
    std::memcpy(config, p.config, sizeof p.config);
    return 0;
  });
}

const char* TavPortRecordArea(int port, int* capacity) {
  const char* area = nullptr;
  WithPortRing(port, [&](SegRing& r, char (*lines)[kLineBytes]) -> int {
    area = lines[0];
    if (capacity) *capacity = r.capacity;
    return 0;
  });
  return area;
}

const char* TavClientRecordArea(int handle, int* capacity) {
  const char* area = nullptr;
  WithClientRing(handle, [&](SegRing& r, char (*lines)[kLineBytes]) -> int {
    area = lines[0];
    if (capacity) *capacity = r.capacity;
    return 0;
  });
  return area;
}

int TavPortLineCount(int port) { return WithPortRing(port, [](SegRing& r, auto) -> int { return r.count; }); }
int TavClientLineCount(int handle) { return WithClientRing(handle, [](SegRing& r, auto) -> int { return r.count; }); }
int TavPortOldestLine(int port) { return WithPortRing(port, [](SegRing& r, auto) -> int { return r.start; }); }
int TavClientOldestLine(int handle) { return WithClientRing(handle, [](SegRing& r, auto) -> int { return r.start; }); }
int TavPortStatusByte(int port) {
  // New lines, and changes of the port's clients, both mark the port changed.
  return WithPortRing(port, [&](SegRing& r, auto) -> int {
    return static_cast<int>((r.status | MappedSegment()->ports[port - 1].status) & 0xFF);
  });
}
int TavClientStatusByte(int handle) {
  return WithClientRing(handle, [](SegRing& r, auto) -> int { return static_cast<int>(r.status & 0xFF); });
}
int TavMarkPortSeen(int port) {
  return WithPortRing(port, [&](SegRing& r, auto) -> int {
    r.status &= ~0x80u;
    MappedSegment()->ports[port - 1].status &= ~0x80u;
    return 0;
  });
}
int TavMarkClientSeen(int handle) {
  return WithClientRing(handle, [](SegRing& r, auto) -> int { return r.status &= ~0x80u, 0; });
}
int TavDetachPortRecords(int port) {
  return WithPortRing(port, [](SegRing& r, auto) -> int { return r.watchers > 0 ? --r.watchers, 0 : 0; });
}
int TavDetachClientRecords(int handle) {
  return WithClientRing(handle, [](SegRing& r, auto) -> int { return r.watchers > 0 ? --r.watchers, 0 : 0; });
}
int TavClearPortRecords(int port) {
  return WithPortRing(port, [](SegRing& r, auto) -> int { return r.count = 0, r.start = 0, r.status |= 0x80u, 0; });
}
int TavClearClientRecords(int handle) {
  return WithClientRing(handle, [](SegRing& r, auto) -> int { return r.count = 0, r.start = 0, r.status |= 0x80u, 0; });
}
int TavCopyPortLine(int port, int index, char* line, int size) {
  return WithPortRing(port, [&](SegRing& r, char (*lines)[kLineBytes]) -> int { return CopyLine(r, lines, index, line, size); });
}
int TavCopyClientLine(int handle, int index, char* line, int size) {
  return WithClientRing(handle,
                        [&](SegRing& r, char (*lines)[kLineBytes]) -> int { return CopyLine(r, lines, index, line, size); });
}

}  // extern "C"
