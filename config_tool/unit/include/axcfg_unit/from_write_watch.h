#pragma once
// Follows a write to FROM after the unit accepted it, from the handshake
// word: one read per check, and a tick count that gives up after half a
// minute. The status window drives it from a 500 ms timer; the command line
// can drive it from a plain loop.
#include <cstdint>

namespace axcfg {

class CUnitLink;

enum FromWriteResult : int {
  kFromStillWriting = 0,
  kFromWriteFinished = 1,
  kFromWriteFailed = 2,  // the unit reported a failure, or no end within the time limit
  kFromWriteCommError = 3,
  kFromWriteUnexpected = 7,
};

class CFromWriteWatch {
 public:
  static constexpr int kTickMs = 500;
  static constexpr int kMaxTicks = 60;

  explicit CFromWriteWatch(CUnitLink& link) : link_(link) {}

  // Reads the handshake word once (report mode 2): 0 finished; 0xCCCC failed
  // (the word is then cleared); 0xAAAA still writing; anything else
  // unexpected. A failed read is reported through the link's message box.
  int Check();
  // One timer tick: more than kMaxTicks ticks give kFromWriteFailed,
  // otherwise the result of Check().
  int Tick();
  // Whether the "Writing to FROM" line shows after the last tick: it blinks.
  bool BlinkVisible() const { return ticks_ % 2 == 0; }
  int Ticks() const { return ticks_; }

 private:
  CUnitLink& link_;
  int ticks_ = 0;
};

}  // namespace axcfg
