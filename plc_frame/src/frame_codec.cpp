#include "plcframe/frame_codec.h"

#include <cstdio>

namespace plcframe {

uint8_t BlockCheck(std::string_view bytes) {
  uint8_t x = 0;
  for (unsigned char c : bytes) x ^= c;
  return x;
}

namespace {
std::string Hex2(uint8_t v) {
  static const char digits[] = "0123456789ABCDEF";
  return {digits[v >> 4], digits[v & 0xF]};
}
}  // namespace

std::string CompleteFrame(std::string_view text) {
  bool continued = !text.empty() && text.back() == '&';
  std::string_view data = continued ? text.substr(0, text.size() - 1) : text;
  std::string frame(data);
  frame += Hex2(BlockCheck(data));
  if (continued) frame += '&';
  frame += kCR;
  return frame;
}

bool SplitFrame(std::string_view frame, FrameParts& parts) {
  if (!frame.empty() && frame.back() == kCR) frame.remove_suffix(1);
  parts.continued = !frame.empty() && frame.back() == '&';
  if (parts.continued) frame.remove_suffix(1);
  // Start character, two station characters, at least one more, two code characters.
  if (frame.size() < 6) return false;
  parts.code = frame.substr(frame.size() - 2);
  parts.data = frame.substr(0, frame.size() - 2);
  return true;
}

bool CheckFrameCode(std::string_view frame) {
  FrameParts parts;
  if (!SplitFrame(frame, parts)) return false;
  if (parts.code == "**") return true;
  return parts.code == Hex2(BlockCheck(parts.data));
}

std::string StationText(int station) {
  if (station == 0) return "EE";
  if (station == 255) return "FF";
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", station % 100);
  return buf;
}

}  // namespace plcframe
