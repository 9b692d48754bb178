#pragma once
// The speed plan of one positioning movement along its path: a ramp from
// the speed it starts with to its peak, a stretch at constant speed and a
// ramp down to a stop. A pass table leaves out the ramp down and hands its
// speed to the next table.
namespace axcfg {

struct MoveRequest {
  double length = 0;       // along the path, in the unit of position (>= 0)
  double startSpeed = 0;   // carried in from a pass table, units/s
  double targetSpeed = 0;  // units/s (> 0)
  int accelMs = 0;         // time from a stop to the target speed (0 = at once)
  int decelMs = 0;         // time from the target speed to a stop (0 = at once)
  bool sShaped = false;
  bool stopAtEnd = true;   // false for a pass table
};

struct MovePlan {
  double length = 0;
  double startSpeed = 0, peakSpeed = 0, endSpeed = 0;
  double rampUp = 0;    // s, from the start speed to the peak (may slow down)
  double constant = 0;  // s at the peak speed
  double rampDown = 0;  // s, from the peak to the end speed
  bool sShaped = false;

  double Duration() const { return rampUp + constant + rampDown; }
  // Speed and distance covered t seconds after the start (clamped to the
  // movement's duration).
  double SpeedAt(double t) const;
  double DistanceAt(double t) const;
};

// Plans one movement. Ramps take the time the row gives for a change from
// a stop to its target speed, scaled by the change of speed; an S-shaped
// ramp follows a half cosine over the same time, so it covers the same
// distance as a linear one. This one function holds every reading of how
// the unit moves that the tables do not state themselves:
// - a pass table ends at the speed it reached, and the next table starts
//   from that speed, rising with its acceleration or falling with its
//   deceleration towards its own target speed;
// - a movement too short to reach its target speed turns round at the
//   highest speed from which it can still stop (a triangle);
// - a movement started faster than it can stop within its length slows
//   down harder, so that it still ends at its end point.
MovePlan PlanMove(const MoveRequest& request);

}  // namespace axcfg
