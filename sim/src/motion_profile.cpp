#include "sim/motion_profile.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double kInstant = 1e18;  // acceleration of a 0 ms ramp

double RampRate(double speed, int ms) {
  if (ms <= 0 || speed <= 0) return kInstant;
  return speed / (ms / 1000.0);
}
}  // namespace

void CMotionProfile::Start(double length, double speed, int accelMs, int decelMs, double endSpeed,
                           double startSpeed) {
  length_ = std::max(0.0, length);
  target_ = std::max(0.0, speed);
  accel_ = RampRate(target_, accelMs);
  decel_ = RampRate(target_, decelMs);
  end_ = std::clamp(endSpeed, 0.0, target_);
  pos_ = 0;
  speed_ = std::max(0.0, startSpeed);
  arrived_ = length_ <= 0.0;
  stopping_ = false;
  accelerating_ = false;
  if (arrived_) speed_ = std::min(speed_, end_);
}

void CMotionProfile::Stop(int decelMs) {
  if (arrived_) return;
  stopping_ = true;
  decel_ = RampRate(target_, decelMs);
}

void CMotionProfile::StopNow() {
  stopping_ = true;
  speed_ = 0;
  accelerating_ = false;
}

void CMotionProfile::Step(double dt, double rate) {
  if (arrived_ || dt <= 0) return;
  accelerating_ = false;
  if (stopping_) {
    if (speed_ <= 0) return;
    speed_ = decel_ >= kInstant ? 0.0 : std::max(0.0, speed_ - decel_ * dt);
    pos_ += speed_ * dt;
    if (pos_ >= length_) {
      pos_ = length_;
      speed_ = 0;
      arrived_ = true;
    }
    return;
  }
  const double top = target_ * rate;
  const double endSpeed = std::min(end_ * rate, top);
  const double remaining = length_ - pos_;
  const double braking = decel_ >= kInstant ? kInstant : std::sqrt(endSpeed * endSpeed + 2.0 * decel_ * remaining);
  const double rising = accel_ >= kInstant ? kInstant : speed_ + accel_ * dt;
  const double v = std::min({top, rising, braking});
  accelerating_ = v > speed_ + 1e-9;
  const double ds = v * dt;
  if (ds >= remaining || remaining < 1e-6) {
    pos_ = length_;
    speed_ = std::min(v, endSpeed);
    arrived_ = true;
  } else {
    pos_ += ds;
    speed_ = v;
  }
}

}  // namespace sim
