#include "client_handles.h"

#include <unistd.h>

#include <cstring>

#include "process_util.h"
#include "segment_access.h"

namespace tavinter {

namespace {

bool SlotOfDeadProcess(const SegClient& c) { return !ProcessAlive(c.owner.pid, c.owner.startTime); }

// A dead client's slot is taken back when no live server still lists it
// (a live server releases it itself once it notices the client is gone).
bool Reclaimable(const Segment& s, const SegClient& c) {
  if (!c.used || (c.owner.pid == ::getpid() && c.owner.startTime == OwnStartTime())) return false;
  if (!SlotOfDeadProcess(c)) return false;
  if (c.port < 1 || c.port > kPortCount) return true;
  const SegPort& p = s.ports[c.port - 1];
  return !p.inUse || !ProcessAlive(p.server.pid, p.server.startTime);
}

void ClearSlot(Segment& s, SegClient& c) {
  if (c.ring >= 0) FreeClientRing(s, c.ring);
  std::memset(&c, 0, sizeof c);
  c.ring = -1;
}

void PutName(char* dst, const std::string& name) {
  std::memset(dst, 0, kNameBytes);
  std::memcpy(dst, name.data(), std::min<size_t>(name.size(), kNameBytes - 1));
}

// Takes the lowest free slot, so the first 512 slots (what the viewer's
// status shows) fill first, and the next handle no slot holds, wrapping
// within 1..32767. The slots of dead processes are looked for only when no
// slot is free: the look at each process costs a read of /proc, and
// hundreds of clients opening at once all wait on the segment lock.
int AllocateIn(Segment& s, const std::string& name) {
  int slot = -1;
  for (int i = 0; i < kClientSlots && slot < 0; ++i)
    if (!s.clients[i].used) slot = i;
  for (int i = 0; i < kClientSlots && slot < 0; ++i) {
    SegClient& c = s.clients[i];
    if (Reclaimable(s, c)) ClearSlot(s, c);
    if (!c.used) slot = i;
  }
  if (slot < 0) return TAV_E_NO_HANDLE;
  int handle = 0;
  for (int tries = 0; tries < 0x7FFF && handle == 0; ++tries) {
    int candidate = s.header.nextHandle;
    s.header.nextHandle = candidate >= 0x7FFF ? 1 : candidate + 1;
    if (!FindClient(s, candidate)) handle = candidate;
  }
  if (handle == 0) return TAV_E_NO_HANDLE;
  s.handleSlots[handle] = static_cast<int16_t>(slot);
  SegClient* free = &s.clients[slot];
  std::memset(free, 0, sizeof *free);
  free->used = 1;
  free->handle = handle;
  free->ring = -1;
  free->owner = SegProcess{static_cast<int32_t>(::getpid()), 0, OwnStartTime()};
  PutName(free->name, name);
  return handle;
}

}  // namespace

int AllocateClientHandle(const std::string& name) {
  // The process's start time is read from /proc once; not while holding the
  // lock every other process of the user waits for.
  OwnStartTime();
  return WithSegment([&](Segment& s) { return AllocateIn(s, name); });
}

void FreeClientHandle(int handle) {
  WithClient(handle, [](Segment& s, SegClient& c) -> int {
    if (c.owner.pid == ::getpid() || SlotOfDeadProcess(c)) ClearSlot(s, c);
    return 0;
  });
}

bool OwnsClientHandle(int handle) {
  return WithClient(handle, [](Segment&, SegClient& c) -> int {
           return c.owner.pid == ::getpid() && c.owner.startTime == OwnStartTime() ? 1 : 0;
         }) == 1;
}

void SetClientPort(int handle, int port, bool open) {
  WithClient(handle, [&](Segment&, SegClient& c) -> int {
    c.port = port;
    c.open = open ? 1 : 0;
    return 0;
  });
}

void SetClientName(int handle, const std::string& name) {
  WithClient(handle, [&](Segment&, SegClient& c) { return PutName(c.name, name), 0; });
}

bool ClientForcedOff(int handle) {
  return WithClient(handle, [](Segment&, SegClient& c) -> int { return c.forcedOff ? 1 : 0; }) == 1;
}

}  // namespace tavinter
