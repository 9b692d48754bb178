#include "connsrv/header_link.h"

#include <algorithm>
#include <cstring>

#include "connsrv/ethernet_frame.h"
#include "connsrv/result_codes.h"

namespace connsrv {

namespace {
constexpr size_t kReadChunk = 2100;
}

void CHeaderLink::Purge() {
  raw_.clear();
  text_.clear();
  textLeft_ = 0;
  fault_ = 0;
  inner_.Purge();
}

bool CHeaderLink::Strip() {
  while (!raw_.empty()) {
    if (textLeft_ > 0) {
      const size_t n = std::min(textLeft_, raw_.size());
      text_.append(raw_, 0, n);
      raw_.erase(0, n);
      textLeft_ -= n;
      continue;
    }
    if (raw_[0] == '%' || raw_[0] == '<') return false;  // a bare frame on a header link
    size_t headerLength = 0, textLength = 0;
    switch (CEthernetFrame::ParseHeader(raw_, headerLength, textLength)) {
      case CEthernetFrame::Parse::kBad: return false;
      case CEthernetFrame::Parse::kNeedMore: return true;
      case CEthernetFrame::Parse::kOk:
        raw_.erase(0, headerLength);
        textLeft_ = textLength;
        break;
    }
  }
  return true;
}

int CHeaderLink::Read(char* buffer, size_t capacity, int waitMs) {
  if (fault_ != 0) return -1;
  if (text_.empty()) {
    char chunk[kReadChunk];
    const int n = inner_.Read(chunk, sizeof chunk, waitMs);
    if (n < 0) {
      fault_ = kErrEthernetReceive;
      return -1;
    }
    raw_.append(chunk, static_cast<size_t>(n));
    if (!Strip()) {
      fault_ = kErrEthernetReceive;
      raw_.clear();
      text_.clear();
      return -1;
    }
    if (text_.empty()) return 0;
  }
  const size_t n = std::min(capacity, text_.size());
  std::memcpy(buffer, text_.data(), n);
  text_.erase(0, n);
  return static_cast<int>(n);
}

}  // namespace connsrv
