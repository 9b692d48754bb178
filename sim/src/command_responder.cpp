#include "sim/command_responder.h"

#include <cstdint>
#include <vector>

#include "plcframe/frame_codec.h"
#include "sim/frame_parse.h"

namespace sim {

namespace {
constexpr uint32_t kMaxWords = 0x1F4;

// Reads n characters of upper-case hexadecimal; false on any other character.
bool ParseHex(std::string_view s, size_t pos, size_t n, uint32_t& value) {
  if (pos > s.size() || n > s.size() - pos) return false;
  value = 0;
  for (size_t i = 0; i < n; ++i) {
    const char c = s[pos + i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  return true;
}

bool ParseDecimal2(std::string_view s, size_t pos, int& value) {
  if (pos > s.size() || s.size() - pos < 2) return false;
  const char a = s[pos], b = s[pos + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return false;
  value = (a - '0') * 10 + (b - '0');
  return true;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";
void AppendHex4(std::string& out, uint16_t w) {
  for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(w >> shift) & 0xF];
}
void AppendHex2(std::string& out, uint8_t b) {
  out += kHexDigits[b >> 4];
  out += kHexDigits[b & 0xF];
}
}  // namespace

CCommandResponder::CCommandResponder(CUnitModel& unit, int station, int slot)
    : unit_(unit), station_(station), slot_(slot) {}

CCommandResponder::Target CCommandResponder::Classify(std::string_view bytes) const {
  frame::Parsed f;
  const auto r = frame::Parse(bytes, f);
  if (r == frame::ParseResult::Malformed || r == frame::ParseResult::BadStation) return Target::Malformed;
  if (f.station == "FF") return Target::Broadcast;
  if (f.station == "EE" || f.station == plcframe::StationText(station_)) return Target::Ours;
  return Target::Other;
}

std::string CCommandResponder::Error(char start, const std::string& station, int code) const {
  std::string text(1, start);
  text += station;
  text += '!';
  text += static_cast<char>('0' + code / 10);
  text += static_cast<char>('0' + code % 10);
  return frame::Complete(text);
}

std::string CCommandResponder::ErrorAnswer(std::string_view bytes, int code) const {
  frame::Parsed f;
  const auto r = frame::Parse(bytes, f);
  if (r == frame::ParseResult::Malformed || r == frame::ParseResult::BadStation)
    return Error('%', plcframe::StationText(station_), code);
  return Error(f.start, f.station, code);
}

CCommandResponder::Result CCommandResponder::Handle(std::string_view bytes) {
  Result result;
  frame::Parsed f;
  switch (frame::Parse(bytes, f)) {
    case frame::ParseResult::Malformed:
    case frame::ParseResult::BadStation:
      pending_.clear();
      result.answer = Error('%', plcframe::StationText(station_), 41);
      return result;
    case frame::ParseResult::BadBcc:
      if (Classify(bytes) != Target::Ours) return result;
      pending_.clear();
      result.answer = Error(f.start, f.station, 40);
      return result;
    case frame::ParseResult::Ok:
      break;
  }
  const Target target = f.station == "FF" ? Target::Broadcast
                        : (f.station == "EE" || f.station == plcframe::StationText(station_)) ? Target::Ours
                                                                                            : Target::Other;
  if (target == Target::Other) return result;

  // A text starting with "#" begins a command; anything else continues one.
  if (!f.body.empty() && f.body[0] == '#') pending_.clear();
  else if (pending_.empty()) {
    if (target == Target::Ours) result.answer = Error(f.start, f.station, 41);
    return result;
  }
  pending_ += f.body;
  if (pending_.size() > kMaxCommandText) {
    pending_.clear();
    if (target == Target::Ours) result.answer = Error(f.start, f.station, 41);
    return result;
  }
  if (f.continues) {
    if (target == Target::Ours) {
      std::string ack(1, f.start);
      ack += f.station;
      ack += '&';
      AppendHex2(ack, plcframe::BlockCheck(ack));
      result.answer = ack + "\r";
      result.continuation = true;
    }
    return result;
  }
  std::string text;
  text.swap(pending_);
  std::string answer = Run(f.start, f.station, text);
  if (target == Target::Ours) result.answer = std::move(answer);
  return result;
}

std::string CCommandResponder::Run(char start, const std::string& station, const std::string& body) {
  if (body.size() < 3) return Error(start, station, 41);
  const std::string command = body.substr(1, 2);
  if (command != "UR" && command != "UW") return Error(start, station, 42);
  const std::string_view args = std::string_view(body).substr(3);
  int slot = 0;
  uint32_t address = 0, count = 0;
  if (!ParseDecimal2(args, 0, slot) || !ParseHex(args, 2, 5, address) || !ParseHex(args, 7, 3, count) ||
      count == 0 || count > kMaxWords)
    return Error(start, station, 41);
  const size_t dataLength = command == "UR" ? 0 : 4 * static_cast<size_t>(count);
  if (args.size() != 10 + dataLength) return Error(start, station, 41);
  std::vector<uint16_t> words(command == "UW" ? count : 0);
  for (size_t i = 0; i < words.size(); ++i) {
    uint32_t w = 0;
    if (!ParseHex(args, 10 + 4 * i, 4, w)) return Error(start, station, 41);
    words[i] = static_cast<uint16_t>(w);
  }
  if (slot != slot_) return Error(start, station, 60);
  if (!unit_.Memory().InRange(address, count)) return Error(start, station, 61);

  std::string answer(1, start);
  answer += station;
  answer += '$';
  answer += command;
  if (command == "UW") {
    unit_.Write(address, words);
  } else {
    std::vector<uint16_t> out;
    unit_.Read(address, count, out);
    answer.reserve(answer.size() + 4 * out.size() + 3);
    for (uint16_t w : out) AppendHex4(answer, w);
  }
  return frame::Complete(answer);
}

}  // namespace sim
