#pragma once
// A scripted byte link and clock for exchange tests: each write takes the
// next scripted reply, whose chunks arrive at given times; reads advance the
// fake clock instead of waiting.
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "connsrv/byte_link.h"

namespace connsrv_test {

class FakeClock : public connsrv::IClock {
 public:
  int64_t NowMs() override { return now; }
  void SleepMs(int ms) override {
    now += ms;
    slept += ms;
  }
  int64_t now = 1000000;
  int64_t slept = 0;
};

// Bytes that arrive at a time of the fake clock.
struct TimedBytes {
  int64_t due;
  std::string bytes;
};

// A read of a fake link: what has arrived within waitMs (the clock jumps to
// its arrival), or nothing after the whole wait.
inline int ReadTimed(FakeClock& clock, std::deque<TimedBytes>& pending, char* buffer, size_t capacity, int waitMs) {
  if (!pending.empty() && pending.front().due <= clock.now + waitMs) {
    if (pending.front().due > clock.now) clock.now = pending.front().due;
    std::string& b = pending.front().bytes;
    size_t n = std::min(capacity, b.size());
    std::copy(b.begin(), b.begin() + n, buffer);
    b.erase(0, n);
    if (b.empty()) pending.pop_front();
    return static_cast<int>(n);
  }
  clock.now += waitMs;
  return 0;
}

struct Chunk {
  int afterMs;  // after the write (or after the previous chunk)
  std::string bytes;
};
using Reply = std::vector<Chunk>;

class FakeLink : public connsrv::IByteLink {
 public:
  explicit FakeLink(FakeClock& clock) : clock_(clock) {}

  void Purge() override {
    ++purges;
    while (!pending_.empty() && pending_.front().due <= clock_.now) pending_.pop_front();
  }
  bool Write(const char* bytes, size_t length) override {
    if (failWrites) return false;
    writes.emplace_back(bytes, length);
    pending_.clear();
    if (!replies.empty()) {
      int64_t t = clock_.now;
      for (auto& c : replies.front()) {
        t += c.afterMs;
        pending_.push_back({t, c.bytes});
      }
      replies.pop_front();
    }
    return true;
  }
  int Read(char* buffer, size_t capacity, int waitMs) override {
    if (failReads) return -1;
    return ReadTimed(clock_, pending_, buffer, capacity, waitMs);
  }

  std::deque<Reply> replies;
  std::vector<std::string> writes;
  int purges = 0;
  bool failWrites = false;
  bool failReads = false;

 private:
  FakeClock& clock_;
  std::deque<TimedBytes> pending_;
};

class RecordingLog : public connsrv::ILogSink {
 public:
  void Record(uint8_t direction, const char* bytes, size_t length) override {
    records.emplace_back(direction, std::string(bytes, length));
  }
  std::vector<std::pair<uint8_t, std::string>> records;
};

}  // namespace connsrv_test
