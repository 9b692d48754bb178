#include "shared_segment.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <chrono>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/folders.h"
#include "process_util.h"

namespace tavinter {

namespace {

constexpr uint32_t kMagic = 0x5641544B;  // "KTAV"
constexpr uint32_t kVersion = 6;  // raised with every change of the layout
constexpr int kLockWaitSeconds = 5;
// How often a process checks the whole segment under the lock. Every entry
// an operation follows is checked where it is followed; the whole check
// walks every port and client slot, too long to repeat at each lock when
// hundreds of processes take it in turn.
constexpr auto kSweepPeriod = std::chrono::seconds(1);

std::mutex gMapMutex;
Segment* gSegment = nullptr;
std::string gSegmentName;
// Steady-clock time (ns) from which the next lock of this process sweeps.
std::atomic<int64_t> gNextSweep{0};

int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The whole check when it is due; mends what it finds.
void SweepIfDue(Segment& s) {
  const int64_t now = SteadyNs();
  int64_t due = gNextSweep.load(std::memory_order_relaxed);
  if (now < due || !gNextSweep.compare_exchange_strong(due, now + std::chrono::nanoseconds(kSweepPeriod).count()))
    return;
  if (!SegmentIsSound(s)) {
    RepairSegment(s);
    ++s.header.repairs;
  }
}

bool InitMutex(pthread_mutex_t* m) {
  pthread_mutexattr_t attr;
  if (pthread_mutexattr_init(&attr) != 0) return false;
  bool ok = pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED) == 0 &&
            pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST) == 0 &&
            pthread_mutex_init(m, &attr) == 0;
  pthread_mutexattr_destroy(&attr);
  return ok;
}

void InitSegment(Segment& s) {
  // A fresh object from ftruncate is all zero; only the non-zero fields are set.
  for (auto& p : s.ports) p.ring = -1;
  for (auto& c : s.clients) c.ring = -1;
  for (auto& r : s.portRings) r.capacity = kPortRingLines;
  for (auto& r : s.clientRings) r.capacity = kClientRingLines;
  s.header.nextHandle = 1;
  s.header.size = sizeof(Segment);
  s.header.version = kVersion;
}

Segment* MapLocked() {
  gSegmentName = "/keld_tavinter_" + platform::NamespaceTag();
  // Creation and first initialisation happen under a file lock, so a second
  // process never maps a half-initialised segment.
  std::string error;
  if (!platform::CheckRuntimeDir(error)) return nullptr;
  std::string lockPath = platform::RuntimeDir() + "/tavinter-segment.lock";
  int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd < 0) return nullptr;
  if (::flock(lockFd, LOCK_EX) != 0) {
    ::close(lockFd);
    return nullptr;
  }
  Segment* result = nullptr;
  int fd = -1;
  // Two rounds: a segment left by a build with another layout is replaced
  // (its remaining users keep their mapping) rather than blocking everyone.
  for (int round = 0; round < 2 && !result; ++round) {
    if (fd >= 0) {
      ::close(fd);
      ::shm_unlink(gSegmentName.c_str());
    }
    fd = ::shm_open(gSegmentName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) break;
    // An object of that name that another user made (the name can be
    // guessed) is never mapped; one of ours open to others is closed first.
    if (st.st_uid != ::geteuid()) break;
    if ((st.st_mode & 077) != 0 && ::fchmod(fd, 0600) != 0) break;
    bool fresh = st.st_size == 0;
    if (fresh && ::ftruncate(fd, sizeof(Segment)) != 0) break;
    if (!fresh && st.st_size != static_cast<off_t>(sizeof(Segment))) continue;
    void* p = ::mmap(nullptr, sizeof(Segment), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) break;
    auto* seg = static_cast<Segment*>(p);
    if (fresh && InitMutex(&seg->header.mutex)) {
      InitSegment(*seg);
      seg->header.magic = kMagic;
    }
    if (seg->header.magic == kMagic && seg->header.version == kVersion && seg->header.size == sizeof(Segment)) {
      result = seg;
      // The bookkeeping pages are mapped in now, not one by one while this
      // process holds the lock; the first sweep comes after a period.
      const auto* bytes = reinterpret_cast<const volatile char*>(seg);
      for (size_t at = 0; at < offsetof(Segment, portLines); at += 4096) (void)bytes[at];
      gNextSweep.store(SteadyNs() + std::chrono::nanoseconds(kSweepPeriod).count());
    } else {
      ::munmap(p, sizeof(Segment));
    }
  }
  if (fd >= 0) ::close(fd);
  ::flock(lockFd, LOCK_UN);
  ::close(lockFd);
  return result;
}

void FixRing(SegRing& r, int capacity, char (*lines)[kLineBytes]) {
  r.capacity = capacity;
  if (r.count < 0 || r.count > capacity || r.start < 0 || r.start >= capacity) {
    r.count = 0;
    r.start = 0;
  }
  for (int i = 0; i < r.count; ++i) lines[(r.start + i) % capacity][kLineChars] = 0;
}

}  // namespace

Segment* MappedSegment() {
  std::lock_guard<std::mutex> guard(gMapMutex);
  if (!gSegment) gSegment = MapLocked();
  return gSegment;
}

const char* SegmentName() {
  MappedSegment();
  return gSegmentName.c_str();
}

CSegmentLock::CSegmentLock() {
  Segment* s = MappedSegment();
  if (!s) return;
  timespec deadline {};
  clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_sec += kLockWaitSeconds;
  int rc = pthread_mutex_timedlock(&s->header.mutex, &deadline);
  if (rc == EOWNERDEAD) {
    RepairSegment(*s);
    ++s->header.repairs;
    pthread_mutex_consistent(&s->header.mutex);
    rc = 0;
  }
  // Any process of the user can write the segment: the handle counter is
  // checked at every lock, the rest of the bookkeeping where it is followed
  // (FindClient, PortRing, ClientRing) and all of it by a periodic sweep.
  if (rc == 0 && (s->header.nextHandle <= 0 || s->header.nextHandle > 0x7FFF)) {
    RepairSegment(*s);
    ++s->header.repairs;
  }
  if (rc == 0) SweepIfDue(*s);
  if (rc == 0) segment_ = s;
}

CSegmentLock::~CSegmentLock() {
  if (segment_) pthread_mutex_unlock(&segment_->header.mutex);
}

namespace {

bool RingIsSound(const SegRing& r, int capacity) {
  return r.capacity == capacity && r.count >= 0 && r.count <= capacity && r.start >= 0 && r.start < capacity;
}

}  // namespace

bool SegmentIsSound(const Segment& s) {
  if (s.header.nextHandle <= 0 || s.header.nextHandle > 0x7FFF) return false;
  for (const auto& p : s.ports)
    if (p.ring < -1 || p.ring >= kPortRings) return false;
  for (const auto& c : s.clients) {
    if (c.ring < -1 || c.ring >= kClientRings) return false;
    if (c.used && (c.handle <= 0 || c.handle >= kHandleCount)) return false;
  }
  for (const auto& r : s.portRings)
    if (!RingIsSound(r, kPortRingLines)) return false;
  for (const auto& r : s.clientRings)
    if (!RingIsSound(r, kClientRingLines)) return false;
  for (const auto& l : s.linkTable.links)
    if (!LinkIsSound(l)) return false;
  return true;
}

void RepairSegment(Segment& s) {
  if (s.header.nextHandle <= 0 || s.header.nextHandle > 0x7FFF) s.header.nextHandle = 1;
  for (auto& p : s.ports) {
    if (p.ring < -1 || p.ring >= kPortRings) p.ring = -1;
    p.serverName[sizeof p.serverName - 1] = 0;
    p.dialText[kNameBytes - 1] = 0;
  }
  for (auto& c : s.clients) {
    if (c.ring < -1 || c.ring >= kClientRings) c.ring = -1;
    if (c.handle <= 0 || c.handle >= kHandleCount) c.used = 0;
    if (c.used) s.handleSlots[c.handle] = static_cast<int16_t>(&c - s.clients);
    c.name[kNameBytes - 1] = 0;
    c.lastCommand[kNameBytes - 1] = 0;
    c.connectAddress[kNameBytes - 1] = 0;
  }
  for (auto& l : s.linkTable.links) RepairLink(l);
  for (int i = 0; i < kPortRings; ++i) FixRing(s.portRings[i], kPortRingLines, s.portLines[i]);
  for (int i = 0; i < kClientRings; ++i) FixRing(s.clientRings[i], kClientRingLines, s.clientLines[i]);
}

SegClient* FindClient(Segment& s, int handle) {
  if (handle <= 0 || handle >= kHandleCount) return nullptr;
  const int slot = s.handleSlots[handle];
  if (slot < 0 || slot >= kClientSlots) return nullptr;
  SegClient& c = s.clients[slot];
  return c.used && c.handle == handle ? &c : nullptr;
}

void SweepSegmentAtNextLock() { gNextSweep.store(0); }

namespace {

// A ring about to be used: its counts are mended when out of range.
SegRing* Checked(Segment& s, SegRing& r, int capacity, char (*lines)[kLineBytes]) {
  if (!RingIsSound(r, capacity)) {
    FixRing(r, capacity, lines);
    ++s.header.repairs;
  }
  return &r;
}

// A ring index of a port or client entry: one out of range is cleared.
bool RingIndexIsSound(Segment& s, int32_t& index, int count) {
  if (index >= -1 && index < count) return true;
  index = -1;
  ++s.header.repairs;
  return false;
}

}  // namespace

SegRing* PortRing(Segment& s, int port, char (**lines)[kLineBytes]) {
  if (port < 1 || port > kPortCount) return nullptr;
  int32_t& r = s.ports[port - 1].ring;
  if (!RingIndexIsSound(s, r, kPortRings) || r < 0 || s.portRings[r].owner != port) return nullptr;
  if (lines) *lines = s.portLines[r];
  return Checked(s, s.portRings[r], kPortRingLines, s.portLines[r]);
}

SegRing* ClientRing(Segment& s, int handle, char (**lines)[kLineBytes]) {
  SegClient* c = FindClient(s, handle);
  if (!c || !RingIndexIsSound(s, c->ring, kClientRings) || c->ring < 0 || s.clientRings[c->ring].owner != handle)
    return nullptr;
  if (lines) *lines = s.clientLines[c->ring];
  return Checked(s, s.clientRings[c->ring], kClientRingLines, s.clientLines[c->ring]);
}

namespace {

// A pool of record rings (the ports' or the clients') and the lines of each.
template <int N>
struct CRingPool {
  SegRing (&rings)[N];
  int lines;

  void Free(int index) {
    if (index >= 0 && index < N) rings[index] = SegRing{0, lines, 0, 0, 0, 0};
  }
  int TakeFree(int owner) {
    for (int i = 0; i < N; ++i)
      if (rings[i].owner == 0) return rings[i] = SegRing{owner, lines, 0, 0, 0, 0}, i;
    return -1;
  }
  // A free ring for owner; when the pool is empty, the rings whose owner is
  // gone (stale(index) says so and detaches it) are freed first. -1 when
  // none is left.
  template <typename Stale>
  int Alloc(int owner, Stale stale) {
    int i = TakeFree(owner);
    if (i >= 0) return i;
    for (int k = 0; k < N; ++k)
      if (rings[k].owner != 0 && stale(k)) Free(k);
    return TakeFree(owner);
  }
};

CRingPool<kPortRings> PortPool(Segment& s) { return {s.portRings, kPortRingLines}; }
CRingPool<kClientRings> ClientPool(Segment& s) { return {s.clientRings, kClientRingLines}; }

}  // namespace

int AllocPortRing(Segment& s, int port) {
  // A port ring is stale when no live server holds its port any more.
  return PortPool(s).Alloc(port, [&s](int i) {
    const int owner = s.portRings[i].owner;
    if (owner < 1 || owner > kPortCount) return false;
    SegPort& p = s.ports[owner - 1];
    if (p.inUse && ProcessAlive(p.server.pid, p.server.startTime)) return false;
    if (p.ring == i) p.ring = -1;
    return true;
  });
}

int AllocClientRing(Segment& s, int handle) {
  // A client ring is stale when its client is gone or no longer uses it;
  // that is seen in the segment itself. Whether a listed client's process
  // still lives takes a look at each process, made under the lock, so once
  // such a look found every owner alive it waits a second: a port with
  // hundreds of clients would otherwise pay it on every open.
  auto unused = [&s](int i) {
    SegClient* c = FindClient(s, s.clientRings[i].owner);
    if (c && c->ring == i) return false;
    return true;
  };
  const int ring = ClientPool(s).Alloc(handle, unused);
  static std::atomic<int64_t> nextLook{0};
  const int64_t now = SteadyNs();
  if (ring >= 0 || now < nextLook.load(std::memory_order_relaxed)) return ring;
  const int found = ClientPool(s).Alloc(handle, [&s](int i) {
    SegClient* c = FindClient(s, s.clientRings[i].owner);
    if (c && c->ring == i && ProcessAlive(c->owner.pid, c->owner.startTime)) return false;
    if (c && c->ring == i) c->ring = -1;
    return true;
  });
  if (found < 0) nextLook.store(now + std::chrono::nanoseconds(kSweepPeriod).count(), std::memory_order_relaxed);
  return found;
}

void FreePortRing(Segment& s, int index) { PortPool(s).Free(index); }

void FreeClientRing(Segment& s, int index) { ClientPool(s).Free(index); }

bool LinkIsSound(const SegLink& l) {
  if (l.port == 0) return true;
  return IsEthernetPort(l.port) && l.handle > 0 && l.handle < kHandleCount &&
         l.peerAddress[kLinkAddressBytes - 1] == 0;
}

void RepairLink(SegLink& l) {
  l.peerAddress[kLinkAddressBytes - 1] = 0;
  if (!LinkIsSound(l)) l = SegLink{};
}

void CopyLink(const SegLink& l, unsigned char* record, TavEthernetLinkState* state) {
  if (record) std::memcpy(record, l.record, kLinkRecordBytes);
  if (state) {
    *state = TavEthernetLinkState{};
    state->state = l.state;
    state->status = l.status;
    state->peerPort = l.peerPort;
    std::memcpy(state->peerAddress, l.peerAddress, kLinkAddressBytes);
    state->peerAddress[kLinkAddressBytes - 1] = 0;
  }
}

void DropEthernetLinks(Segment& s, int port, bool unannounce) {
  if (!IsEthernetPort(port)) return;
  for (auto& l : s.linkTable.links)
    if (l.port == port) l = SegLink{};
  if (unannounce) s.linkTable.announced[port - kFirstEthernetPort] = 0;
}

void AppendLine(SegRing& ring, char (*lines)[kLineBytes], const char* text, size_t length) {
  if (ring.capacity <= 0) return;
  if (length > static_cast<size_t>(kLineChars)) length = kLineChars;
  int index = ring.count < ring.capacity ? (ring.start + ring.count) % ring.capacity : ring.start;
  // The line is written before the indices move, so a writer that dies in
  // between leaves the old ring intact.
  std::memset(lines[index], 0, kLineBytes);
  std::memcpy(lines[index], text, length);
  if (ring.count < ring.capacity) {
    ++ring.count;
  } else {
    ring.start = (ring.start + 1) % ring.capacity;
  }
  ring.status |= 0x80u;
  ++ring.appended;
}

}  // namespace tavinter
