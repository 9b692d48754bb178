#pragma once
// Frames on an Ethernet link. A text frame gets its block check code and
// carriage return; a link with the header flag puts a binary route header in
// front of each frame, sent together with the text:
//
//   0  0x10          3  length of the text, high byte
//   1  0             4  3 (4 for a single unchecked request)
//   2  length, low   5  source station
//   6  3 (0 for a single unchecked request)
//   7  hop count n (0..8), then n pairs (network, station),
//      then the unit number and the destination station: 10 + 2n bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace connsrv {

struct EthernetRoute {
  std::vector<std::pair<uint8_t, uint8_t>> hops;  // (network, station), at most 8
  uint8_t unit = 0;
  uint8_t station = 0;
};

class CEthernetFrame {
 public:
  static constexpr uint8_t kHeaderMark = 0x10;
  static constexpr size_t kMaxHops = 8;
  static constexpr size_t kFixedHeader = 10;
  static constexpr size_t kMaxText = 2050;

  // The command text up to its first NUL, completed with the block check code
  // and a carriage return. Unless every byte counts (a single unchecked
  // request), a trailing "&" stays after the digits and a trailing "*" or
  // "**" is replaced by them; marks elsewhere in the text are data.
  static std::string CompleteText(std::string_view text, bool everyByteCounts);

  // The header for a text of textLength bytes; empty when the route has more
  // than 8 hops or the text is longer than kMaxText.
  static std::string Header(size_t textLength, bool single, uint8_t sourceStation, const EthernetRoute& route);

  enum class Parse { kNeedMore, kBad, kOk };
  // Reads a header from the start of bytes: kOk with its length and the
  // length of the text after it, kNeedMore while bytes are missing, kBad when
  // the mark, the hop count or the text length is out of range.
  static Parse ParseHeader(std::string_view bytes, size_t& headerLength, size_t& textLength);

  // A route text "net.st,net.st,...;unit.st" (numbers 0..255, at most 8
  // hops); false when it does not read.
  static bool ParseRoute(std::string_view text, EthernetRoute& route);
};

}  // namespace connsrv
