#pragma once
// The time base of the simulated unit: real (steady) time in the programs,
// a hand-driven clock in the tests.
#include <cstdint>

namespace sim {

class ISimClock {
 public:
  virtual ~ISimClock() = default;
  virtual int64_t NowMs() const = 0;  // monotonic milliseconds
  // Waits (or, for a hand-driven clock, moves on) by the given time.
  virtual void SleepMs(int ms) = 0;
};

class CSteadyClock : public ISimClock {
 public:
  int64_t NowMs() const override;
  void SleepMs(int ms) override;
};

class CManualClock : public ISimClock {
 public:
  int64_t NowMs() const override { return now_; }
  void SleepMs(int ms) override { now_ += ms; }
  void Advance(int64_t ms) { now_ += ms; }

 private:
  int64_t now_ = 1000;
};

}  // namespace sim
