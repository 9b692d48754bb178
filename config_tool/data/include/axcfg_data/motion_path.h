#pragma once
// The geometry of one table's movement for a single axis or an
// interpolation group of 2 or 3 axes: a straight line, a circular arc in
// the plane of a 2-axis group, or a spiral (an arc in two axes while the
// third moves in a line) of a 3-axis group.
#include <array>
#include <cstdint>

namespace axcfg {

using MotionPoint = std::array<double, 3>;  // positions of the members X, Y, Z

class CMotionPath {
 public:
  // count: members (1..3); pattern: interpolation pattern code; start,
  // end and aux: absolute positions of the members (aux = the centre point
  // or the pass point of arcs and spirals).
  static CMotionPath Make(int count, uint8_t pattern, const MotionPoint& start, const MotionPoint& end,
                          const MotionPoint& aux);

  const MotionPoint& Start() const { return start_; }
  const MotionPoint& End() const { return end_; }
  bool IsArc() const { return arc_; }
  // Length of the path.
  double Length() const { return length_; }
  // The distance the target speed is measured along: the path's length, or
  // the longest member's travel for linear interpolation at long-axis speed.
  double SpeedLength() const { return speedLength_; }
  // The point a fraction u (0..1) along the path.
  MotionPoint At(double u) const;
  // Change of each member's position per unit of SpeedLength at u: times
  // the speed along the path it gives each member's speed.
  MotionPoint Direction(double u) const;

 private:
  int count_ = 1;
  MotionPoint start_{}, end_{};
  double length_ = 0, speedLength_ = 0;
  bool arc_ = false;
  // Arc: the members of its plane, the member moving in a line (-1 none),
  // the centre, start angle, swept angle (negative clockwise) and radii.
  int p_ = 0, q_ = 1, lin_ = -1;
  double cp_ = 0, cq_ = 0, angle0_ = 0, sweep_ = 0, radius0_ = 0, radius1_ = 0;
};

}  // namespace axcfg
