#include "connsrv/carrier_watch.h"

#include "connsrv/modem_result.h"

namespace connsrv {

namespace {
constexpr size_t kLongestResult = 32;   // longer lines are no modem result
constexpr size_t kLookLimit = 16384;    // one look reads at most this much
}  // namespace

void CCarrierWatch::Start(bool numeric) {
  numeric_ = numeric;
  lost_ = false;
  line_.clear();
  tooLong_ = false;
}

bool CCarrierWatch::Feed(const char* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      if (!tooLong_ && ClassifyModemLine(line_) == ModemResult::kNoCarrier)
        lost_ = lost_ || numeric_ || TrimmedModemLine(line_) != "3";
      line_.clear();
      tooLong_ = false;
    } else if (!tooLong_) {
      tooLong_ = line_.size() >= kLongestResult;
      if (tooLong_) line_.clear();
      else line_ += c;
    }
  }
  return lost_;
}

bool CCarrierWatchLink::Look() {
  char buffer[256];
  for (size_t total = 0; total < kLookLimit;) {
    const int n = line_.Read(buffer, sizeof buffer, 0);
    if (n <= 0) break;
    total += static_cast<size_t>(n);
    watch_.Feed(buffer, static_cast<size_t>(n));
    if (log_) log_->Record(kLogDiscarded, buffer, static_cast<size_t>(n));
  }
  return watch_.Lost();
}

void CCarrierWatchLink::Purge() {
  Look();
  line_.Purge();
}

bool CCarrierWatchLink::Write(const char* bytes, size_t length) {
  return !watch_.Lost() && line_.Write(bytes, length);
}

int CCarrierWatchLink::Read(char* buffer, size_t capacity, int waitMs) {
  if (watch_.Lost()) return -1;
  const int n = line_.Read(buffer, capacity, waitMs);
  if (n > 0) watch_.Feed(buffer, static_cast<size_t>(n));
  return n;
}

}  // namespace connsrv
