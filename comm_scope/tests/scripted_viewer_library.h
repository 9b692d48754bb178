#pragma once
// A viewer library scripted by the test: a status snapshot, rings with their
// lines and counters, and a count of every attach and detach.
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commscope/record_text.h"
#include "commscope/viewer_library.h"

namespace commscope::testing {

struct ScriptedRing {
  int owner = 0;
  uint32_t serial = 1;
  int capacity = 0;
  int start = 0;
  int count = 0;
  uint64_t appended = 0;
  int status = 0;
  std::vector<char> lines;

  ScriptedRing(int ownerId, int cap) : owner(ownerId), capacity(cap), lines(static_cast<size_t>(cap) * kLineBytes, 0) {}
  // Appends one line as the library does: the oldest is overwritten when full.
  void Append(const std::string& text) {
    int index = count < capacity ? (start + count) % capacity : start;
    char* p = &lines[static_cast<size_t>(index) * kLineBytes];
    std::memset(p, 0, kLineBytes);
    std::memcpy(p, text.data(), std::min<size_t>(text.size(), kLineChars));
    if (count < capacity) ++count; else start = (start + 1) % capacity;
    ++appended;
    status |= 0x80;
  }
};

class CScriptedViewerLibrary : public IViewerLibrary {
 public:
  CScriptedViewerLibrary() : status(std::make_unique<TavStatusSnapshot>()) { std::memset(status.get(), 0, sizeof *status); }

  void AddPort(int port) { status->portInUse[port - 1] = 1; }
  void AddClient(int slot, int handle, int port, const std::string& name) {
    status->clientHandle[slot] = static_cast<int16_t>(handle);
    status->clientPort[slot] = static_cast<int16_t>(port);
    std::memset(status->clientName[slot], 0, sizeof status->clientName[slot]);
    std::memcpy(status->clientName[slot], name.data(), std::min(name.size(), sizeof status->clientName[slot]));
    if (port >= 1 && port <= TAV_PORT_COUNT) ++status->portClients[port - 1];
  }
  ScriptedRing& PortRing(int port) { return rings.try_emplace(Key({false, port}), port, 3000).first->second; }
  ScriptedRing& ClientRing(int handle) { return rings.try_emplace(Key({true, handle}), handle, 10000).first->second; }

  int RegisterViewer() override { return 0; }
  int GetStatus(TavStatusSnapshot& s) override { return statusCalls++, std::memcpy(&s, status.get(), sizeof s), statusResult; }
  int AttachPort(int port) override { return ++portWatch[port], 0; }
  int DetachPort(int port) override { return --portWatch[port], 0; }
  int AttachRecords(RingRef r) override {
    if (!Find(r)) return TAV_E_NOT_OPEN;
    return ++recordWatch[Key(r)], 0;
  }
  int DetachRecords(RingRef r) override { return --recordWatch[Key(r)], 0; }
  int StatusByte(RingRef r) override { auto* ring = Find(r); return ring ? ring->status : TAV_E_NOT_OPEN; }
  int MarkSeen(RingRef r) override {
    if (auto* ring = Find(r)) ring->status &= ~0x80;
    return ++seenCalls, 0;
  }
  int ClearRecords(RingRef r) override {
    auto* ring = Find(r);
    if (!ring) return TAV_E_NOT_OPEN;
    ring->count = ring->start = 0;
    ring->status |= 0x80;
    return 0;
  }
  int Snapshot(RingRef r, TavRingSnapshot& st, char* lines, int lineCapacity) override {
    ++snapshotCalls;
    if (snapshotResult != 0) return snapshotResult;
    auto* ring = Find(r);
    if (!ring) return TAV_E_NOT_OPEN;
    st = TavRingSnapshot{ring->owner, ring->serial, ring->capacity, ring->start, ring->count, 0, ring->appended};
    if (!lines) return 0;
    if (lineCapacity < ring->capacity) return TAV_E_BUFFER_SMALL;
    ++lineCopies;
    std::memcpy(lines, ring->lines.data(), ring->lines.size());
    return 0;
  }
  int PortConfig(int port, uint8_t* config) override {
    auto it = configs.find(port);
    if (it == configs.end()) return TAV_E_NOT_OPEN;
    std::memcpy(config, it->second.data(), 200);
    return 0;
  }

  int ClientEthernetLink(int handle, uint8_t* record) override {
    auto it = links.find(handle);
    if (it == links.end()) return TAV_E_NOT_OPEN;
    std::memcpy(record, it->second.data(), it->second.size());
    return 0;
  }

  static long Key(RingRef r) { return (r.client ? 100000L : 0L) + r.id; }
  ScriptedRing* Find(RingRef r) {
    auto it = rings.find(Key(r));
    return it == rings.end() ? nullptr : &it->second;
  }

  std::map<int, std::array<uint8_t, 104>> links;  // link records by client handle
  std::unique_ptr<TavStatusSnapshot> status;
  int statusResult = 0;
  int snapshotResult = 0;  // a failure every snapshot returns, 0 = none
  std::map<long, ScriptedRing> rings;
  std::map<int, int> portWatch;     // port -> attaches minus detaches
  std::map<long, int> recordWatch;  // ring -> attaches minus detaches
  std::map<int, std::vector<uint8_t>> configs;
  int statusCalls = 0, snapshotCalls = 0, lineCopies = 0, seenCalls = 0;
};

}  // namespace commscope::testing
