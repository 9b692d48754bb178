#pragma once
// Cuts the byte stream of a serial line or TCP link into frames: bytes
// before a start character ("%" or "<") are dropped, a frame ends with its
// carriage return. A frame that grows beyond kMaxFrame bytes without a
// carriage return is dropped.
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class CStreamFramer {
 public:
  static constexpr size_t kMaxFrame = 4096;

  // The frames completed by these bytes, in order.
  std::vector<std::string> Feed(std::string_view bytes);
  bool Collecting() const { return !buffer_.empty(); }

 private:
  std::string buffer_;
};

}  // namespace sim
