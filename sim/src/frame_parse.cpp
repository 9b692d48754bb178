#include "sim/frame_parse.h"

#include <cctype>

#include "plcframe/frame_codec.h"

namespace sim::frame {

namespace {
bool StationValid(std::string_view s) {
  if (s == "EE" || s == "FF") return true;
  return std::isdigit(static_cast<unsigned char>(s[0])) && std::isdigit(static_cast<unsigned char>(s[1]));
}
}  // namespace

std::string Complete(std::string_view text) { return plcframe::CompleteFrame(text); }

ParseResult Parse(std::string_view frame, Parsed& out) {
  out = Parsed{};
  if (frame.empty() || frame.back() != plcframe::kCR) return ParseResult::Malformed;
  plcframe::FrameParts parts;
  if (!plcframe::SplitFrame(frame, parts)) return ParseResult::Malformed;
  if (parts.data[0] != '%' && parts.data[0] != '<') return ParseResult::Malformed;
  // Only the final CR may end the frame.
  if (parts.data.find(plcframe::kCR) != std::string_view::npos) return ParseResult::Malformed;
  if (!StationValid(parts.data.substr(1, 2))) return ParseResult::BadStation;
  out.start = parts.data[0];
  out.station = std::string(parts.data.substr(1, 2));
  out.body = std::string(parts.data.substr(3));
  out.continues = parts.continued;
  return plcframe::CheckFrameCode(frame) ? ParseResult::Ok : ParseResult::BadBcc;
}

}  // namespace sim::frame
