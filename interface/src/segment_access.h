#pragma once
// Access to entries of the shared segment under its lock: each helper takes
// the lock, finds the entry and runs fn on it, or returns the error code of
// what failed (the lock, a port outside 1..kPortCount, no such client or
// ring). fn returns the call's result.
#include <unistd.h>

#include "process_util.h"
#include "shared_segment.h"
#include "tavinter/result_codes.h"

namespace tavinter {

inline bool IsSelf(const SegProcess& p) { return p.pid == ::getpid() && p.startTime == OwnStartTime(); }

// Another process that still runs holds the port as its server.
inline bool HeldByOther(const SegPort& p) {
  return p.inUse && !IsSelf(p.server) && ProcessAlive(p.server.pid, p.server.startTime);
}

inline bool ValidPort(int port) { return port >= 1 && port <= kPortCount; }

// fn(Segment&)
template <typename Fn>
int WithSegment(Fn fn) {
  CSegmentLock lock;
  if (!lock.Held()) return TAV_E_SEGMENT;
  return fn(*lock);
}

// fn(Segment&, SegPort&)
template <typename Fn>
int WithPort(int port, Fn fn) {
  if (!ValidPort(port)) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) { return fn(s, s.ports[port - 1]); });
}

// fn(Segment&, SegClient&); TAV_E_NOT_OPEN when no client has the handle.
template <typename Fn>
int WithClient(int handle, Fn fn) {
  return WithSegment([&](Segment& s) -> int {
    SegClient* c = FindClient(s, handle);
    return c ? fn(s, *c) : TAV_E_NOT_OPEN;
  });
}

// fn(SegRing&, lines) on the ring find(segment, &lines) gives;
// TAV_E_NOT_OPEN when there is none.
template <typename Find, typename Fn>
int WithRing(Find find, Fn fn) {
  return WithSegment([&](Segment& s) -> int {
    char(*lines)[kLineBytes] = nullptr;
    SegRing* r = find(s, &lines);
    return r ? fn(*r, lines) : TAV_E_NOT_OPEN;
  });
}

// fn(SegRing&, lines) on the record ring of a port or a client.
template <typename Fn>
int WithPortRing(int port, Fn fn) {
  return WithRing([port](Segment& s, char(**lines)[kLineBytes]) { return PortRing(s, port, lines); }, fn);
}

template <typename Fn>
int WithClientRing(int handle, Fn fn) {
  return WithRing([handle](Segment& s, char(**lines)[kLineBytes]) { return ClientRing(s, handle, lines); }, fn);
}

}  // namespace tavinter
