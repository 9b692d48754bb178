// Any bytes as an Ethernet link record, as an entry of the link table that
// some process of the user damaged, and as a stored route value: a record
// reads back to itself once written, an entry is sound after its repair and
// copies out with terminated texts, and a route value that reads gives a
// header of its hop count.
#include <cstdint>
#include <cstring>
#include <string>

#include "connsrv/ethernet_frame.h"
#include "library_settings.h"
#include "shared_segment.h"
#include "tavinter/ethernet_link_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavinter;
  const EthernetLinkRecord record = EthernetLinkRecord::Read(data, size);
  const auto bytes = record.Write();
  if (EthernetLinkRecord::Read(bytes.data(), bytes.size()).Write() != bytes) __builtin_trap();
  if (record.source.size() >= EthernetLinkRecord::kTextWidth ||
      record.destination.size() >= EthernetLinkRecord::kTextWidth)
    __builtin_trap();

  SegLink entry{};
  std::memcpy(&entry, data, size < sizeof entry ? size : sizeof entry);
  RepairLink(entry);
  if (!LinkIsSound(entry)) __builtin_trap();
  if (entry.port != 0 && !IsEthernetPort(entry.port)) __builtin_trap();
  unsigned char copied[TAV_LINK_RECORD_SIZE];
  TavEthernetLinkState state;
  CopyLink(entry, copied, &state);
  if (std::strlen(state.peerAddress) >= TAV_LINK_ADDRESS_SIZE) __builtin_trap();

  const std::string stored(reinterpret_cast<const char*>(data), size);
  const std::string value = RouteValue(stored);
  if (value.size() > stored.size()) __builtin_trap();
  connsrv::EthernetRoute route;
  if (connsrv::CEthernetFrame::ParseRoute(value, route)) {
    if (route.hops.size() > connsrv::CEthernetFrame::kMaxHops) __builtin_trap();
    const std::string header = connsrv::CEthernetFrame::Header(1, false, 0, route);
    if (header.size() != connsrv::CEthernetFrame::kFixedHeader + 2 * route.hops.size()) __builtin_trap();
    if (static_cast<uint8_t>(header.back()) != route.station) __builtin_trap();
  }
  return 0;
}
