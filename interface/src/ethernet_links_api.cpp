// The Ethernet link table in the shared segment: the server of each Ethernet
// port registers its clients' links there, and viewers read them. Sockets
// stay in the server process; the table holds what others may look at (the
// link record, the state and the PLC's address).
#include <cstring>

#include "library_settings.h"
#include "segment_access.h"
#include "tavinter/ethernet_link_record.h"
#include "tavinter/ethernet_links.h"

using namespace tavinter;

namespace {

SegLink* FindLink(Segment& s, int port, int handle) {
  for (auto& l : s.linkTable.links)
    if (l.port == port && l.handle == handle) return &l;
  return nullptr;
}

int LinkCount(const Segment& s, int port) {
  int n = 0;
  for (const auto& l : s.linkTable.links) n += l.port == port ? 1 : 0;
  return n;
}

bool Announced(const Segment& s, int port) { return s.linkTable.announced[port - kFirstEthernetPort] != 0; }

void PutAddress(char* dst, const char* text) {
  std::memset(dst, 0, kLinkAddressBytes);
  if (text) std::strncpy(dst, text, kLinkAddressBytes - 1);
}

// fn(Segment&) on an Ethernet port that this process serves (or that no live
// server holds).
template <typename Fn>
int WithServedPort(int port, Fn fn) {
  if (!IsEthernetPort(port)) return TAV_E_BAD_ARGUMENT;
  return WithPort(port, [&](Segment& s, SegPort& p) -> int { return HeldByOther(p) ? TAV_E_PORT_BUSY : fn(s); });
}

}  // namespace

static_assert(kLinkRecordBytes == TAV_LINK_RECORD_SIZE && kLinkAddressBytes == TAV_LINK_ADDRESS_SIZE);

extern "C" {

int TavAnnounceEthernetPort(int port) {
  return WithServedPort(port, [&](Segment& s) -> int {
    DropEthernetLinks(s, port, false);
    s.linkTable.announced[port - kFirstEthernetPort] = 1;
    return 0;
  });
}

int TavRegisterEthernetLink(int port, const unsigned char* record) {
  if (!record) return TAV_E_BAD_ARGUMENT;
  EthernetLinkRecord r = EthernetLinkRecord::Read(record, kLinkRecordBytes);
  if (!r.Sound()) return TAV_E_BAD_ARGUMENT;
  const EthernetLinkRecord::Bytes bytes = r.Write();  // texts terminated, fields as read
  return WithServedPort(port, [&](Segment& s) -> int {
    if (!Announced(s, port)) return TAV_E_NOT_OPEN;
    // A handle names one client, served by one port: a link it left on
    // another port belongs to a connection that is over.
    for (auto& l : s.linkTable.links)
      if (l.port != 0 && l.port != port && l.handle == r.handle) l = SegLink{};
    if (SegLink* l = FindLink(s, port, r.handle)) {
      std::memcpy(l->record, bytes.data(), bytes.size());
      return 0;
    }
    if (LinkCount(s, port) >= TAV_LINKS_PER_PORT) return TAV_E_TABLE_FULL;
    for (auto& l : s.linkTable.links) {
      if (l.port != 0) continue;
      l = SegLink{};
      l.port = port;
      l.handle = r.handle;
      std::memcpy(l.record, bytes.data(), bytes.size());
      return 1;
    }
    return TAV_E_TABLE_FULL;
  });
}

int TavRemoveEthernetLink(int port, int handle) {
  return WithServedPort(port, [&](Segment& s) -> int {
    SegLink* l = FindLink(s, port, handle);
    if (!l) return TAV_E_NOT_OPEN;
    *l = SegLink{};
    return 0;
  });
}

int TavSetEthernetLinkState(int port, int handle, int state, int status, const char* peerAddress, int peerPort) {
  const bool knownState = state == TAV_LINK_NONE || state == TAV_LINK_LISTENING || state == TAV_LINK_CONNECTED ||
                          state == TAV_LINK_OPENED_BY_PLC;
  if (!knownState || peerPort < 0 || peerPort > 65535)
    return TAV_E_BAD_ARGUMENT;
  return WithServedPort(port, [&](Segment& s) -> int {
    SegLink* l = FindLink(s, port, handle);
    if (!l) return TAV_E_NOT_OPEN;
    l->state = state;
    l->status = status;
    l->peerPort = peerPort;
    PutAddress(l->peerAddress, peerAddress);
    return 0;
  });
}

int TavReadEthernetLink(int port, int handle, unsigned char* record, TavEthernetLinkState* state) {
  if (!IsEthernetPort(port)) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) -> int {
    const SegLink* l = FindLink(s, port, handle);
    if (!l) return TAV_E_NOT_OPEN;
    CopyLink(*l, record, state);
    return 0;
  });
}

int TavEthernetLinkCount(int port) {
  if (!IsEthernetPort(port)) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) -> int { return LinkCount(s, port); });
}

int TavGetClientEthernetLink(int handle, int* port, unsigned char* record, TavEthernetLinkState* state) {
  if (handle <= 0 || handle >= kHandleCount) return TAV_E_BAD_ARGUMENT;
  return WithSegment([&](Segment& s) -> int {
    for (const auto& l : s.linkTable.links) {
      if (l.port == 0 || l.handle != handle) continue;
      if (port) *port = l.port;
      CopyLink(l, record, state);
      return 0;
    }
    return TAV_E_NOT_OPEN;
  });
}

int TavGetRoute(int index, char* text, int size) {
  if (index < 0 || index > TAV_MAX_ROUTE || !text || size <= 0) return TAV_E_BAD_ARGUMENT;
  text[0] = 0;
  if (index == 0) return 0;
  const std::string route = RouteText(index);
  if (route.empty()) return 0;
  if (route.size() >= static_cast<size_t>(size)) return TAV_E_BUFFER_SMALL;
  std::memcpy(text, route.c_str(), route.size() + 1);
  return 1;
}

}  // extern "C"
