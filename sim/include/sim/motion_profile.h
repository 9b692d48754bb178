#pragma once
// Speed profile of one movement along a path of known length: accelerates to
// the target speed, and slows down in time to reach the end of the path at the
// end speed (0 for a stop, the target speed for a pass point).

namespace sim {

class CMotionProfile {
 public:
  // length: path length (least units, >= 0); speed: target speed (units/s);
  // accelMs/decelMs: time from 0 to the target speed and back (0 = at once);
  // startSpeed: speed carried in from a previous movement.
  void Start(double length, double speed, int accelMs, int decelMs, double endSpeed,
             double startSpeed = 0.0);
  // Moves on by dt seconds with the target speed scaled by rate (1.0 = 100 %).
  void Step(double dt, double rate);
  // Slows down to a standstill with the deceleration time given (0 = at once).
  void Stop(int decelMs);
  void StopNow();

  bool Arrived() const { return arrived_; }
  bool Stopping() const { return stopping_; }
  bool Standstill() const { return speed_ <= 0.0 && (arrived_ || stopping_); }
  bool Accelerating() const { return accelerating_; }
  double Position() const { return pos_; }  // distance covered along the path
  double Speed() const { return speed_; }
  double Length() const { return length_; }

 private:
  double length_ = 0, target_ = 0, accel_ = 0, decel_ = 0, end_ = 0;
  double pos_ = 0, speed_ = 0;
  bool arrived_ = true, stopping_ = false, accelerating_ = false;
};

}  // namespace sim
