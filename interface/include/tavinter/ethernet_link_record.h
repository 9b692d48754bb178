#pragma once
// The link record of the Ethernet link table (layout in ethernet_links.h),
// read and written field by field.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tavinter/ethernet_link_config.h"
#include "tavinter/ethernet_links.h"

namespace tavinter {

struct EthernetLinkRecord {
  enum Offset : size_t {
    kKind = 0, kHandle = 2, kTransportPort = 4, kSource = 6, kSourcePort = 46, kSourceStation = 48,
    kDestination = 50, kDestinationPort = 90, kDestinationStation = 92, kHeader = 94, kTimeout = 96,
    kConnectLimit = 100,
  };
  static constexpr size_t kSize = TAV_LINK_RECORD_SIZE;
  static constexpr size_t kTextWidth = TAV_LINK_ADDRESS_SIZE;
  using Bytes = std::array<uint8_t, kSize>;

  int kind = 0;
  int handle = 0;
  int transportPort = 0;
  std::string source;
  uint16_t sourcePort = 0;
  int sourceStation = 0;
  std::string destination;
  uint16_t destinationPort = 0;
  int destinationStation = 0;
  bool header = false;
  int timeoutSec = 0;
  int connectLimitSec = 0;

  // Reads kSize bytes; a shorter image reads as zero past its end, and a text
  // field without its NUL gives its first kTextWidth - 1 bytes.
  static EthernetLinkRecord Read(const uint8_t* bytes, size_t size);
  Bytes Write() const;
  // The record of a client's link: its configuration, with the address the
  // socket is bound to as the source address when there is one.
  static EthernetLinkRecord Of(const EthernetLinkConfig& config, int16_t handle, const std::string& boundAddress);
  // An Ethernet kind and a client handle in range.
  bool Sound() const;
};

}  // namespace tavinter
