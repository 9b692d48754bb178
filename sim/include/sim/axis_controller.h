#pragma once
// The axes of the simulated unit: servo state, JOG, home return, positioning
// through the tables (single axes and interpolation groups), deceleration
// stop, current value update, software limits, error and warning codes.
// Reads its requests and settings from the unit memory and publishes the
// monitor blocks and status words into it.
#include <array>
#include <cstdint>
#include <optional>

#include "sim/motion_profile.h"
#include "sim/unit_memory.h"

namespace sim {

class CAxisController {
 public:
  CAxisController(CUnitMemory& memory, uint8_t connectedAxes, int family);

  // One step of dtMs milliseconds: takes the requests (only in tool operation
  // mode), moves the axes and publishes the result.
  void Step(int dtMs, bool toolMode);
  // Whether any axis is running (moving or dwelling).
  bool AnyBusy() const;
  uint8_t BusyAxes() const;
  // Stops every running axis; emergency uses the emergency stop deceleration.
  void StopAll(bool emergency);
  // Clears the request words and holds the JOG requests until released.
  void ClearRequests();
  void RaiseWarning(int axis, uint32_t code);
  void RaiseError(int axis, uint32_t code);
  uint32_t ErrorCode(int axis) const { return axes_[axis].error; }
  uint32_t WarningCode(int axis) const { return axes_[axis].warning; }
  // Takes the positions back from the published monitor blocks (after a load).
  void RestorePositions();
  void ResetPositions();
  // Power-on state: nothing running, servo off, no error or warning.
  void Reset();
  void Publish();
  double Position(int axis) const { return axes_[axis].pos; }

 private:
  enum class Kind { Jog, Home, Positioning };
  enum class Phase { Moving, Dwelling };
  struct Job {
    Kind kind = Kind::Jog;
    uint8_t members = 0;
    int lead = 0;
    int dir = 0;  // JOG direction
    bool limitAtEnd = false;  // JOG: the end of the path is a software limit
    std::array<double, 8> start{}, delta{};
    CMotionProfile profile;
    Phase phase = Phase::Moving;
    int table = 0;  // 0-based table index
    int method = 0;
    int dwellLeftMs = 0;
  };
  struct Axis {
    bool connected = false;
    bool servo = false;
    bool homed = false;
    bool jogHeld = false;  // a JOG request stays held after its JOG was stopped
    double pos = 0;
    double speed = 0;  // units/s along the axis, for the monitor
    bool accelerating = false;
    uint16_t activeTable = 0;
    uint16_t auxCode = 0;
    uint32_t error = 0;
    uint32_t warning = 0;
  };

  void TakeRequests(int axis, bool toolMode);
  void TakeClearAndUpdateRequests();
  bool CanStart(int axis, bool warn);
  void StartJog(int axis, int dir);
  void StartHome(int axis);
  void StartPositioning(int axis);
  bool BeginTable(Job& job, int table, double carriedSpeed);
  void StepJob(Job& job, int dtMs);
  void FinishSegment(Job& job);
  void EndJob(int lead);
  void StopJobOf(int axis, int decelMs);
  std::optional<int> JobOf(int axis) const;
  uint8_t GroupOf(int axis) const;  // interpolation group mask, or the axis alone
  double SpeedFactor(int axis) const;  // least units per second for one speed unit
  double Rate() const;
  double ToPulses(int axis, double pos) const;
  uint16_t Param(int axis, uint32_t word) const;
  int32_t ParamLong(int axis, uint32_t word) const;
  bool SoftLimitOn(int axis, int bit) const;

  CUnitMemory& mem_;
  int family_;
  std::array<Axis, 8> axes_{};
  std::array<std::optional<Job>, 8> jobs_{};  // indexed by the lead axis
};

}  // namespace sim
