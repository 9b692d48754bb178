#pragma once
// The one shared-memory segment per user (and KELD_HOME) that every process
// of the library maps: the status of the ports, the client table with its
// handles, and the record rings the log viewer reads. A robust process-shared
// mutex guards it; when a process dies holding it, the next locker repairs
// whatever that process may have left half-written and goes on.
//
// The segment is only ever shared between copies of this library; its
// layout carries a magic number, a version and its size, and a process whose
// build disagrees refuses to use it.
#include <pthread.h>

#include <cstddef>
#include <cstdint>

#include "tavinter/ethernet_links.h"

namespace tavinter {

constexpr int kPortCount = 326;
// Client slots of the user, shared by every port: each server copy takes up
// to 512 clients of its own, so the table holds several ports' worth.
constexpr int kClientSlots = 2048;
constexpr int kHandleCount = 0x8000;  // handles 1..32767
constexpr int kLineBytes = 125;
constexpr int kLineChars = 118;
constexpr int kPortRingLines = 3000;
constexpr int kClientRingLines = 10000;
constexpr int kPortRings = 16;
constexpr int kClientRings = 32;
constexpr int kNameBytes = 84;
// Ethernet links: server ports 5..68, at most one link per client.
constexpr int kFirstEthernetPort = 5;
constexpr int kEthernetPorts = 64;
constexpr int kLinkSlots = kClientSlots;
constexpr int kLinkRecordBytes = 104;
constexpr int kLinkAddressBytes = 40;

struct SegProcess {
  int32_t pid;
  uint32_t pad;
  uint64_t startTime;  // from /proc/<pid>/stat, so a reused pid is not taken for the old process
};

struct SegPort {
  int32_t inUse;       // a server holds the port
  int32_t ready;       // the server has published its endpoint
  SegProcess server;
  int32_t watchers;    // viewers watching the port
  int32_t ring;        // index into the port rings, -1 none
  uint32_t status;     // bit 7: changed since the viewer last looked
  int32_t hasConfig;
  int32_t configValue;
  uint8_t config[200];
  char serverName[32];
  int32_t modemConnected;
  int32_t modemHandle;
  int32_t modemForced;     // the connected call's owner took the port over
  char dialText[kNameBytes];
};

struct SegClient {
  int32_t used;
  int32_t handle;
  SegProcess owner;    // the client process
  int32_t port;        // 0 while not attached to a server
  int32_t open;        // the server confirmed the open
  int32_t ring;        // index into the client rings, -1 none
  int32_t forcedOff;   // the port was taken over by a modem owner
  int32_t cancelDial;  // the client asked to cancel its dial in progress
  int32_t cancelConnect;    // the client asked to cancel its connect in progress
  int32_t connectWaiting;   // the server waits on a connect for the client
  int32_t connectDispTime;  // seconds of that wait before the client shows it
  int64_t connectStartMs;   // steady-clock ms when the connect began
  char connectAddress[kNameBytes];
  char name[kNameBytes];
  char lastCommand[kNameBytes];
};

struct SegRing {
  int32_t owner;       // port number or client handle, 0 = free
  int32_t capacity;
  int32_t count;       // lines in use
  int32_t start;       // index of the oldest line
  uint32_t status;     // bit 7: lines added since the viewer last looked
  int32_t watchers;
  uint32_t serial = 0; // identity of this allocation, given out on a viewer's first look; 0 = none yet
  uint32_t pad = 0;
  uint64_t appended = 0;  // lines appended since the ring was given to its owner
};

// One Ethernet link of a client, registered by the server of its port.
struct SegLink {
  int32_t port;        // server port 5..68; 0 = free slot
  int32_t handle;      // the client's handle
  int32_t state;       // 0 none, 1 listening, 2 connected, 9 opened by the PLC
  int32_t status;      // 10001 once the PLC's connection was accepted
  int32_t peerPort;
  char peerAddress[kLinkAddressBytes];
  uint8_t record[kLinkRecordBytes];  // the link record as the server registered it
};

struct SegLinkTable {
  int32_t announced[kEthernetPorts];  // the port's server started and takes links
  SegLink links[kLinkSlots];
};

struct SegHeader {
  uint32_t magic;
  uint32_t version;
  uint64_t size;
  pthread_mutex_t mutex;
  int32_t nextHandle;
  int32_t viewers;
  uint32_t repairs;    // how often a dead holder's state was repaired
  uint32_t ringSerial; // last ring serial given out
};

struct Segment {
  SegHeader header;
  SegPort ports[kPortCount];
  SegClient clients[kClientSlots];
  int16_t handleSlots[kHandleCount];  // slot of each handle; checked against the slot on every look
  SegRing portRings[kPortRings];
  SegRing clientRings[kClientRings];
  SegLinkTable linkTable;
  char portLines[kPortRings][kPortRingLines][kLineBytes];
  char clientLines[kClientRings][kClientRingLines][kLineBytes];
};

// The mapped segment of this process; created and initialised on first use.
// Null when it cannot be mapped (the caller then reports TAV_E_SEGMENT).
Segment* MappedSegment();

// Holds the segment mutex for a scope. Waits at most a few seconds, so a
// live process stuck while holding it cannot hang the caller.
class CSegmentLock {
 public:
  CSegmentLock();
  ~CSegmentLock();
  CSegmentLock(const CSegmentLock&) = delete;
  CSegmentLock& operator=(const CSegmentLock&) = delete;
  bool Held() const { return segment_ != nullptr; }
  Segment* operator->() const { return segment_; }
  Segment& operator*() const { return *segment_; }

 private:
  Segment* segment_ = nullptr;
};

// The shared-memory name of this user's segment.
const char* SegmentName();

// Makes a segment consistent after a holder died: ring indices in range,
// every line terminated, counts recomputed. Called with the mutex held.
void RepairSegment(Segment& s);
// True for a server port that carries Ethernet links (5..68).
inline bool IsEthernetPort(int port) { return port >= kFirstEthernetPort && port < kFirstEthernetPort + kEthernetPorts; }
// False when an index, count or handle of the segment lies out of range.
bool SegmentIsSound(const Segment& s);
// Each process checks the whole segment at most once a second (and after a
// holder died); this makes its next lock do it at once.
void SweepSegmentAtNextLock();

// The ring of a port or client under the lock; null when there is none.
SegRing* PortRing(Segment& s, int port, char (**lines)[kLineBytes]);
SegRing* ClientRing(Segment& s, int handle, char (**lines)[kLineBytes]);
SegClient* FindClient(Segment& s, int handle);
// Allocates or frees a ring; -1 when the pool is exhausted.
int AllocPortRing(Segment& s, int port);
int AllocClientRing(Segment& s, int handle);
void FreePortRing(Segment& s, int index);
void FreeClientRing(Segment& s, int index);
// An Ethernet link entry is free, or names an Ethernet port and a handle in
// range with its peer address terminated.
bool LinkIsSound(const SegLink& l);
// Makes an entry sound: the peer address terminated, an entry out of range freed.
void RepairLink(SegLink& l);
// Copies an entry out as a reader gets it (either target may be null).
void CopyLink(const SegLink& l, unsigned char* record, TavEthernetLinkState* state);
// Frees the Ethernet links of a port; with unannounce the port takes no
// links until its next server announces it.
void DropEthernetLinks(Segment& s, int port, bool unannounce);
// Appends one line (cut to 118 characters) to a ring.
void AppendLine(SegRing& ring, char (*lines)[kLineBytes], const char* text, size_t length);

}  // namespace tavinter
