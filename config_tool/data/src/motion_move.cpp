#include "axcfg_data/motion_move.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace axcfg {

namespace {

constexpr double kInstant = std::numeric_limits<double>::infinity();

// Speed change per second of a ramp that takes `ms` from a stop to `speed`.
double Rate(double speed, int ms) { return ms <= 0 ? kInstant : speed / (ms / 1000.0); }

// Time of a ramp between two speeds at a rate.
double RampTime(double from, double to, double rate) {
  return std::isinf(rate) ? 0.0 : std::fabs(to - from) / rate;
}

// Distance of a change of speed from v to w at a rate (0 when instant).
double RampLength(double v, double w, double rate) {
  return std::isinf(rate) ? 0.0 : std::fabs(w * w - v * v) / (2.0 * rate);
}

// Speed and distance within a ramp from v0 to v1 lasting `time`, at t.
double RampSpeed(double v0, double v1, double time, double t, bool sShaped) {
  if (time <= 0) return v1;
  const double u = std::clamp(t / time, 0.0, 1.0);
  const double shape = sShaped ? (1.0 - std::cos(std::numbers::pi * u)) / 2.0 : u;
  return v0 + (v1 - v0) * shape;
}

double RampDistance(double v0, double v1, double time, double t, bool sShaped) {
  if (time <= 0) return 0.0;
  t = std::clamp(t, 0.0, time);
  if (!sShaped) return v0 * t + (v1 - v0) * t * t / (2.0 * time);
  const double pi = std::numbers::pi;
  return v0 * t + (v1 - v0) * (t / 2.0 - time / (2.0 * pi) * std::sin(pi * t / time));
}

}  // namespace

double MovePlan::SpeedAt(double t) const {
  if (t < rampUp) return RampSpeed(startSpeed, peakSpeed, rampUp, t, sShaped);
  t -= rampUp;
  if (t < constant) return peakSpeed;
  t -= constant;
  if (t < rampDown) return RampSpeed(peakSpeed, endSpeed, rampDown, t, sShaped);
  return endSpeed;
}

double MovePlan::DistanceAt(double t) const {
  if (t <= 0) return 0.0;
  if (t >= Duration()) return length;
  // Rounding must never carry a point past the end of its path.
  double s = RampDistance(startSpeed, peakSpeed, rampUp, t, sShaped);
  t -= rampUp;
  if (t <= 0) return std::min(length, s);
  s += peakSpeed * std::min(t, constant);
  t -= constant;
  if (t <= 0) return std::min(length, s);
  return std::min(length, s + RampDistance(peakSpeed, endSpeed, rampDown, t, sShaped));
}

MovePlan PlanMove(const MoveRequest& r) {
  MovePlan p;
  p.length = std::max(0.0, r.length);
  p.sShaped = r.sShaped;
  const double v0 = std::max(0.0, r.startSpeed);
  const double target = std::max(0.0, r.targetSpeed);
  const double L = p.length;
  p.startSpeed = v0;
  if (L <= 0 || target <= 0) {
    // Nothing to travel: a stop ends at once, a pass keeps its speed.
    p.peakSpeed = p.endSpeed = r.stopAtEnd ? 0.0 : v0;
    return p;
  }
  const double a = Rate(target, r.accelMs);
  const double d = Rate(target, r.decelMs);

  if (!r.stopAtEnd) {
    const bool rising = v0 <= target;
    const double rate = rising ? a : d;
    double vp = target;
    p.rampUp = RampTime(v0, target, rate);
    if (RampLength(v0, target, rate) > L) {
      // The whole length is ramp. Its time, 2L / (v0 + v1), keeps its
      // precision when the speed hardly changes at high speed.
      const double v1 = std::sqrt(std::max(0.0, v0 * v0 + (rising ? 2.0 : -2.0) * rate * L));
      p.rampUp = 2.0 * L / (v0 + v1);
      vp = rising ? v0 + a * p.rampUp : v0 - d * p.rampUp;
    }
    p.peakSpeed = p.endSpeed = vp;
    const double covered = (v0 + vp) / 2.0 * p.rampUp;
    p.constant = vp > 0 ? std::max(0.0, L - covered) / vp : 0.0;
    return p;
  }

  p.endSpeed = 0;
  if (RampLength(v0, 0.0, d) > L) {
    // Too fast to stop within the length at the row's deceleration.
    p.peakSpeed = v0;
    p.rampDown = 2.0 * L / v0;
    return p;
  }
  double vp = target;
  if (v0 <= target && RampLength(v0, target, a) + RampLength(target, 0.0, d) > L) {
    // Triangle: accelerate and decelerate without reaching the target.
    if (std::isinf(a)) vp = std::sqrt(2.0 * d * L);
    else if (std::isinf(d)) vp = std::sqrt(v0 * v0 + 2.0 * a * L);
    else vp = std::sqrt((2.0 * a * d * L + d * v0 * v0) / (a + d));
    vp = std::clamp(vp, v0, target);
  }
  p.peakSpeed = vp;
  // vp - v0 of a triangle as (vp^2 - v0^2) / (vp + v0), which keeps its
  // precision when the two speeds are close.
  if (vp < target && v0 <= vp && !std::isinf(a) && !std::isinf(d))
    p.rampUp = (2.0 * d * L - v0 * v0) / ((a + d) * (vp + v0));
  else
    p.rampUp = RampTime(v0, vp, v0 <= vp ? a : d);
  p.rampDown = RampTime(vp, 0.0, d);
  const double covered = (v0 + vp) / 2.0 * p.rampUp + vp / 2.0 * p.rampDown;
  p.constant = std::max(0.0, L - covered) / vp;
  return p;
}

}  // namespace axcfg
