#include "connsrv/ethernet_frame.h"

#include "plcframe/frame_codec.h"

namespace connsrv {

namespace {

std::string Hex2(uint8_t v) {
  static const char digits[] = "0123456789ABCDEF";
  return {digits[v >> 4], digits[v & 0xF]};
}

// A number 0..255 from the whole of text.
bool ReadByteNumber(std::string_view text, uint8_t& value) {
  if (text.empty() || text.size() > 3) return false;
  unsigned v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  if (v > 255) return false;
  value = static_cast<uint8_t>(v);
  return true;
}

// "a.b" into two numbers.
bool ReadPair(std::string_view text, uint8_t& first, uint8_t& second) {
  const size_t dot = text.find('.');
  if (dot == std::string_view::npos) return false;
  return ReadByteNumber(text.substr(0, dot), first) && ReadByteNumber(text.substr(dot + 1), second);
}

}  // namespace

std::string CEthernetFrame::CompleteText(std::string_view text, bool everyByteCounts) {
  if (const size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::string_view data = text;
  std::string tail;
  if (!everyByteCounts) {
    if (!data.empty() && data.back() == '&') {
      data.remove_suffix(1);
      tail = "&";
    } else if (data.size() >= 2 && data.substr(data.size() - 2) == "**") {
      data.remove_suffix(2);
    } else if (!data.empty() && data.back() == '*') {
      data.remove_suffix(1);
    }
  }
  std::string frame(data);
  frame += Hex2(plcframe::BlockCheck(data));
  frame += tail;
  frame += plcframe::kCR;
  return frame;
}

std::string CEthernetFrame::Header(size_t textLength, bool single, uint8_t sourceStation, const EthernetRoute& route) {
  if (route.hops.size() > kMaxHops || textLength > kMaxText) return {};
  std::string h;
  h.reserve(kFixedHeader + 2 * route.hops.size());
  h += static_cast<char>(kHeaderMark);
  h += '\0';
  h += static_cast<char>(textLength & 0xFF);
  h += static_cast<char>((textLength >> 8) & 0xFF);
  h += static_cast<char>(single ? 4 : 3);
  h += static_cast<char>(sourceStation);
  h += static_cast<char>(single ? 0 : 3);
  h += static_cast<char>(route.hops.size());
  for (const auto& [network, station] : route.hops) {
    h += static_cast<char>(network);
    h += static_cast<char>(station);
  }
  h += static_cast<char>(route.unit);
  h += static_cast<char>(route.station);
  return h;
}

CEthernetFrame::Parse CEthernetFrame::ParseHeader(std::string_view bytes, size_t& headerLength, size_t& textLength) {
  headerLength = textLength = 0;
  if (bytes.empty()) return Parse::kNeedMore;
  if (static_cast<uint8_t>(bytes[0]) != kHeaderMark) return Parse::kBad;
  if (bytes.size() < 8) return Parse::kNeedMore;
  const size_t length = static_cast<uint8_t>(bytes[2]) | (static_cast<size_t>(static_cast<uint8_t>(bytes[3])) << 8);
  const size_t hops = static_cast<uint8_t>(bytes[7]);
  if (hops > kMaxHops || length > kMaxText) return Parse::kBad;
  const size_t total = kFixedHeader + 2 * hops;
  if (bytes.size() < total) return Parse::kNeedMore;
  headerLength = total;
  textLength = length;
  return Parse::kOk;
}

bool CEthernetFrame::ParseRoute(std::string_view text, EthernetRoute& route) {
  route = EthernetRoute{};
  const size_t semi = text.find(';');
  if (semi == std::string_view::npos) return false;
  if (!ReadPair(text.substr(semi + 1), route.unit, route.station)) return false;
  std::string_view hops = text.substr(0, semi);
  while (!hops.empty()) {
    const size_t comma = hops.find(',');
    std::string_view one = hops.substr(0, comma);
    uint8_t network = 0, station = 0;
    if (!ReadPair(one, network, station) || route.hops.size() == kMaxHops) return false;
    route.hops.emplace_back(network, station);
    if (comma == std::string_view::npos) break;
    hops.remove_prefix(comma + 1);
    if (hops.empty()) return false;  // a trailing comma
  }
  return true;
}

}  // namespace connsrv
