// Locked snapshots of the record rings for the log viewer. A viewer that read
// the ring memory directly would race the server's appends (torn lines) and
// could keep reading a ring that was freed and handed to another owner; the
// snapshot copies the state and the lines in one hold of the segment lock and
// names the ring's allocation by a serial, so the viewer can tell.
#include <cstring>

#include "segment_access.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

int Snapshot(Segment& s, SegRing* ring, char (*ringLines)[kLineBytes], TavRingSnapshot* state, char* lines,
             int lineCapacity) {
  if (!ring) return TAV_E_NOT_OPEN;
  // A serial is given out on the first look after an allocation; a freed ring
  // is reset to serial 0, so its next owner gets a new one.
  if (ring->serial == 0) {
    if (++s.header.ringSerial == 0) ++s.header.ringSerial;
    ring->serial = s.header.ringSerial;
  }
  TavRingSnapshot st{};
  st.owner = ring->owner;
  st.serial = ring->serial;
  st.capacity = ring->capacity;
  st.start = ring->start;
  st.count = ring->count;
  st.appended = ring->appended;
  if (state) *state = st;
  if (!lines) return 0;
  if (lineCapacity < ring->capacity) return TAV_E_BUFFER_SMALL;
  // Copies the lines in use, in their ring positions, each cut and terminated.
  for (int i = 0; i < ring->count; ++i) {
    int index = (ring->start + i) % ring->capacity;
    char* out = lines + static_cast<size_t>(index) * kLineBytes;
    size_t n = strnlen(ringLines[index], kLineChars);
    std::memcpy(out, ringLines[index], n);
    std::memset(out + n, 0, kLineBytes - n);
  }
  return 0;
}

}  // namespace

extern "C" {

int TavSnapshotPortRecords(int port, TavRingSnapshot* state, char* lines, int lineCapacity) {
  if (port < 1 || port > kPortCount || (lines && lineCapacity <= 0)) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) {
    char(*ringLines)[kLineBytes] = nullptr;
    SegRing* ring = PortRing(s, port, &ringLines);
    return Snapshot(s, ring, ringLines, state, lines, lineCapacity);
  });
}

int TavSnapshotClientRecords(int handle, TavRingSnapshot* state, char* lines, int lineCapacity) {
  if (handle <= 0 || (lines && lineCapacity <= 0)) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) {
    char(*ringLines)[kLineBytes] = nullptr;
    SegRing* ring = ClientRing(s, handle, &ringLines);
    return Snapshot(s, ring, ringLines, state, lines, lineCapacity);
  });
}

}  // extern "C"
