#include "sim/stream_framer.h"

namespace sim {

std::vector<std::string> CStreamFramer::Feed(std::string_view bytes) {
  std::vector<std::string> frames;
  for (char c : bytes) {
    if (buffer_.empty()) {
      if (c == '%' || c == '<') buffer_ += c;
      continue;
    }
    buffer_ += c;
    if (c == '\r') {
      frames.push_back(std::move(buffer_));
      buffer_.clear();
    } else if (buffer_.size() > kMaxFrame) {
      buffer_.clear();
    }
  }
  return frames;
}

}  // namespace sim
