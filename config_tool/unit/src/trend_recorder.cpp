#include "axcfg_unit/trend_recorder.h"

#include <algorithm>

namespace axcfg {

TrendSample TrendSampleOf(const DataMonitorSnapshot& snap, const std::vector<MonitorAxis>& axes, int64_t timeMs) {
  TrendSample sample;
  sample.timeMs = timeMs;
  if (!snap.valid) return sample;
  for (const MonitorAxis& a : axes) {
    if (a.axis < 0 || a.axis >= kAxisCount || !snap.IsConnected(a.axis)) continue;
    const DataAxisValues& v = snap.axes[a.axis];
    TrendAxisSample& s = sample.axes[a.axis];
    s.present = true;
    s.unitCode = v.unitCode;
    s.raw[static_cast<int>(TrendValue::CurrentValue)] = v.currentValue;
    s.raw[static_cast<int>(TrendValue::Speed)] = v.speed;
    s.raw[static_cast<int>(TrendValue::Torque)] = v.torque;
    s.raw[static_cast<int>(TrendValue::Deviation)] = v.deviation;
  }
  return sample;
}

CTrendRecorder::CTrendRecorder(size_t capacity) : ring_(std::max<size_t>(capacity, 1)) {}

size_t CTrendRecorder::CapacityFor(int periodMs, int minutes) {
  const int64_t span = int64_t{minutes} * 60 * 1000;
  const int64_t period = std::max(periodMs, 1);
  return static_cast<size_t>((span + period - 1) / period);
}

void CTrendRecorder::Append(TrendSample sample) {
  if (size_ == 0 && appended_ == 0) origin_ = sample.timeMs;
  if (size_ > 0) sample.timeMs = std::max(sample.timeMs, Latest().timeMs);
  if (size_ < ring_.size()) {
    ring_[(head_ + size_) % ring_.size()] = sample;
    ++size_;
  } else {
    ring_[head_] = sample;
    head_ = (head_ + 1) % ring_.size();
  }
  ++appended_;
}

size_t CTrendRecorder::LowerBound(int64_t timeMs) const {
  size_t lo = 0, hi = size_;
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (At(mid).timeMs < timeMs)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

size_t CTrendRecorder::Nearest(int64_t timeMs) const {
  if (size_ == 0) return 0;
  const size_t after = LowerBound(timeMs);
  if (after == size_) return size_ - 1;
  if (after == 0) return 0;
  return timeMs - At(after - 1).timeMs <= At(after).timeMs - timeMs ? after - 1 : after;
}

}  // namespace axcfg
