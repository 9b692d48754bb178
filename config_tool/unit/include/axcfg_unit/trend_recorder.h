#pragma once
// The samples behind the trend of the data monitor: for every successful
// read cycle its time and, per axis, the current value, speed, torque and
// deviation, kept in a ring so that a long monitoring session uses a fixed
// amount of memory. The recorder is fed from the snapshots the monitor
// already reads; it never talks to the unit itself.
#include <array>
#include <cstdint>
#include <vector>

#include "axcfg_unit/monitor_snapshot.h"
#include "axcfg_unit/unit_axis_config.h"

namespace axcfg {

// The values a trend can show, in the order of the channel chooser.
enum class TrendValue : uint8_t { CurrentValue, Speed, Torque, Deviation };
inline constexpr int kTrendValueCount = 4;

struct TrendAxisSample {
  bool present = false;   // the axis was monitored and connected in this cycle
  uint16_t unitCode = 0;  // the unit of the current value
  std::array<int32_t, kTrendValueCount> raw{};  // as the unit sends them, by TrendValue
};

struct TrendSample {
  int64_t timeMs = 0;  // wall clock, milliseconds since 1970 (never earlier than the sample before)
  std::array<TrendAxisSample, kAxisCount> axes{};
};

// The values of `axes` in a snapshot; a snapshot that is not valid gives no
// axis present.
TrendSample TrendSampleOf(const DataMonitorSnapshot& snap, const std::vector<MonitorAxis>& axes, int64_t timeMs);

class CTrendRecorder {
 public:
  static constexpr int kMinutesKept = 30;

  explicit CTrendRecorder(size_t capacity);
  // The ring size that holds `minutes` of samples taken every `periodMs`.
  static size_t CapacityFor(int periodMs, int minutes = kMinutesKept);

  // Adds a sample; once full, the oldest goes. A time earlier than the last
  // sample's (the clock was set back) is taken as the last sample's time,
  // so that times never run backwards.
  void Append(TrendSample sample);

  size_t Size() const { return size_; }
  size_t Capacity() const { return ring_.size(); }
  bool Empty() const { return size_ == 0; }
  // Sample i, 0 the oldest kept.
  const TrendSample& At(size_t i) const { return ring_[(head_ + i) % ring_.size()]; }
  const TrendSample& Latest() const { return At(size_ - 1); }
  // Samples appended since the recorder began, including those the ring lost.
  uint64_t Appended() const { return appended_; }
  // The time of the very first sample (kept after it left the ring): the zero
  // of the trend's time axis.
  int64_t OriginMs() const { return origin_; }
  // The first kept sample at or after `timeMs` (Size() when none).
  size_t LowerBound(int64_t timeMs) const;
  // The kept sample nearest to `timeMs` (Size() when empty).
  size_t Nearest(int64_t timeMs) const;

 private:
  std::vector<TrendSample> ring_;
  size_t head_ = 0;  // index of the oldest sample
  size_t size_ = 0;
  uint64_t appended_ = 0;
  int64_t origin_ = 0;
};

}  // namespace axcfg
