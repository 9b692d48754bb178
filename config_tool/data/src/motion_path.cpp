#include "axcfg_data/motion_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace axcfg {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Angle in [0, 2 pi).
double Wrap(double angle) {
  angle = std::fmod(angle, kTwoPi);
  return angle < 0 ? angle + kTwoPi : angle;
}

enum class ArcKind { None, CentreCw, CentreCcw, PassPoint };

// What a pattern code draws, and for 3-axis spirals which member moves in a
// line while the other two turn.
ArcKind KindOf(int count, uint8_t pattern, int& linear) {
  linear = -1;
  if (count == 2) {
    switch (pattern) {
      case 0x10: return ArcKind::CentreCw;
      case 0x11: return ArcKind::CentreCcw;
      case 0x20: return ArcKind::PassPoint;
      default: return ArcKind::None;
    }
  }
  if (count != 3) return ArcKind::None;
  if (pattern >= 0x50 && pattern <= 0x55) {
    linear = (pattern - 0x50) / 2;
    return (pattern & 1) ? ArcKind::CentreCcw : ArcKind::CentreCw;
  }
  if (pattern >= 0x60 && pattern <= 0x62) {
    linear = pattern - 0x60;
    return ArcKind::PassPoint;
  }
  return ArcKind::None;
}

}  // namespace

CMotionPath CMotionPath::Make(int count, uint8_t pattern, const MotionPoint& start, const MotionPoint& end,
                              const MotionPoint& aux) {
  CMotionPath path;
  path.count_ = std::clamp(count, 1, 3);
  path.start_ = start;
  path.end_ = end;
  for (int m = path.count_; m < 3; ++m) path.start_[m] = path.end_[m] = 0;
  double sum = 0, longest = 0;
  for (int m = 0; m < path.count_; ++m) {
    const double delta = path.end_[m] - path.start_[m];
    sum += delta * delta;
    longest = std::max(longest, std::fabs(delta));
  }
  path.length_ = std::sqrt(sum);
  path.speedLength_ = (path.count_ > 1 && pattern == 0x01) ? longest : path.length_;

  int linear = -1;
  const ArcKind kind = KindOf(path.count_, pattern, linear);
  if (kind == ArcKind::None) return path;
  path.lin_ = linear;
  path.p_ = linear == 0 ? 1 : 0;
  path.q_ = linear == 2 ? 1 : (linear == 1 ? 2 : (linear == 0 ? 2 : 1));
  const int p = path.p_, q = path.q_;
  const double sp = path.start_[p], sq = path.start_[q], ep = path.end_[p], eq = path.end_[q];
  double cp = aux[p], cq = aux[q];
  bool ccw = kind == ArcKind::CentreCcw;
  if (kind == ArcKind::PassPoint) {
    // The circle through start, pass point and end; on one line there is
    // no circle and the path stays straight.
    const double ap = aux[p], aq = aux[q];
    const double det = 2.0 * (sp * (aq - eq) + ap * (eq - sq) + ep * (sq - aq));
    if (std::fabs(det) < 1e-12) return path;
    const double s2 = sp * sp + sq * sq, a2 = ap * ap + aq * aq, e2 = ep * ep + eq * eq;
    cp = (s2 * (aq - eq) + a2 * (eq - sq) + e2 * (sq - aq)) / det;
    cq = (s2 * (ep - ap) + a2 * (sp - ep) + e2 * (ap - sp)) / det;
    const double a0 = std::atan2(sq - cq, sp - cp);
    const double toAux = Wrap(std::atan2(aq - cq, ap - cp) - a0);
    const double toEnd = Wrap(std::atan2(eq - cq, ep - cp) - a0);
    ccw = toAux < toEnd || toEnd == 0.0;
  }
  path.radius0_ = std::hypot(sp - cp, sq - cq);
  path.radius1_ = std::hypot(ep - cp, eq - cq);
  if (path.radius0_ <= 0 && path.radius1_ <= 0) return path;
  path.arc_ = true;
  path.cp_ = cp;
  path.cq_ = cq;
  path.angle0_ = std::atan2(sq - cq, sp - cp);
  double sweep = Wrap(std::atan2(eq - cq, ep - cp) - path.angle0_);
  // The same start and end point is a whole circle.
  if (ccw) path.sweep_ = sweep == 0.0 ? kTwoPi : sweep;
  else path.sweep_ = sweep == 0.0 ? -kTwoPi : sweep - kTwoPi;

  // The radius changes evenly with the angle (it stays when the end point
  // lies on the circle), so the length is the integral over the fraction u
  // of sqrt((r(u) * sweep)^2 + dr^2 + rise^2), by Simpson's rule.
  const double rise = linear >= 0 ? path.end_[linear] - path.start_[linear] : 0.0;
  const double dr = path.radius1_ - path.radius0_;
  const auto speed = [&](double u) {
    const double r = path.radius0_ + dr * u;
    return std::sqrt(r * path.sweep_ * r * path.sweep_ + dr * dr + rise * rise);
  };
  constexpr int kIntervals = 32;
  double total = speed(0) + speed(1);
  for (int i = 1; i < kIntervals; ++i) total += (i % 2 ? 4.0 : 2.0) * speed(static_cast<double>(i) / kIntervals);
  path.length_ = total / (3.0 * kIntervals);
  path.speedLength_ = path.length_;
  return path;
}

MotionPoint CMotionPath::At(double u) const {
  u = std::clamp(u, 0.0, 1.0);
  MotionPoint point{};
  if (!arc_) {
    for (int m = 0; m < count_; ++m) point[m] = start_[m] + (end_[m] - start_[m]) * u;
    return point;
  }
  if (u >= 1.0) return end_;
  const double angle = angle0_ + sweep_ * u;
  const double radius = radius0_ + (radius1_ - radius0_) * u;
  point[p_] = cp_ + radius * std::cos(angle);
  point[q_] = cq_ + radius * std::sin(angle);
  if (lin_ >= 0) point[lin_] = start_[lin_] + (end_[lin_] - start_[lin_]) * u;
  return point;
}

MotionPoint CMotionPath::Direction(double u) const {
  MotionPoint d{};
  if (speedLength_ <= 0) return d;
  u = std::clamp(u, 0.0, 1.0);
  if (!arc_) {
    for (int m = 0; m < count_; ++m) d[m] = (end_[m] - start_[m]) / speedLength_;
    return d;
  }
  const double angle = angle0_ + sweep_ * u;
  const double radius = radius0_ + (radius1_ - radius0_) * u;
  const double dr = radius1_ - radius0_;
  d[p_] = (dr * std::cos(angle) - radius * std::sin(angle) * sweep_) / speedLength_;
  d[q_] = (dr * std::sin(angle) + radius * std::cos(angle) * sweep_) / speedLength_;
  if (lin_ >= 0) d[lin_] = (end_[lin_] - start_[lin_]) / speedLength_;
  return d;
}

}  // namespace axcfg
