#pragma once
// The simulated positioning unit: its word memory and FROM image, and the
// behaviour behind the memory: download and FROM write handshakes, tool
// operation mode with its keep-alive supervision, and the axes. Time only
// moves when AdvanceTo is called, so tests drive it with their own clock.
#include <cstdint>
#include <vector>

#include "sim/axis_controller.h"
#include "sim/unit_memory.h"
#include "sim/unit_models.h"

namespace sim {

struct UnitConfig {
  uint16_t model = kDefaultModelCode;
  uint8_t axes = 0;  // connected axes (bit n = axis n+1); 0 = every axis of the model
};

class CUnitModel {
 public:
  // A unit fresh from the factory: default settings in working memory and in
  // the FROM image. The model code must be known (FindUnitModel).
  CUnitModel(const UnitConfig& config, int64_t nowMs);

  const UnitModelInfo& Model() const { return *model_; }
  uint8_t ConnectedAxes() const { return connected_; }
  const CUnitMemory& Memory() const { return memory_; }
  const std::vector<uint16_t>& FromImage() const { return from_; }

  // Moves the simulation on to nowMs (earlier times are ignored).
  void AdvanceTo(int64_t nowMs);
  int64_t Now() const { return now_; }

  // Reads and writes of the PLC commands. Write also lets the unit see the
  // handshake and keep-alive writes. False when the range is outside memory.
  bool Read(uint32_t address, uint32_t count, std::vector<uint16_t>& out) const;
  bool Write(uint32_t address, const std::vector<uint16_t>& values);

  // Restores a saved state (both must have the memory's size): the working
  // memory as it was at the end of a run, the FROM image, then the unit
  // starts afresh (no tool mode, no handshake, axes standing where they were).
  bool Restore(const std::vector<uint16_t>& working, const std::vector<uint16_t>& from);
  // Switches the unit off and on: working memory comes from the FROM image.
  void PowerCycle();
  // Completes a FROM write in progress at once (before the state is saved).
  void FinishPendingWork();

  // How the download request is answered (FaultConfig::downloadAnswer).
  void SetDownloadAnswer(int answer) { downloadAnswer_ = answer; }

  bool ToolMode() const;
  bool FromWriting() const { return fromState_ == FromState::Writing; }
  const CAxisController& Axes() const { return axes_; }

 private:
  enum class FromState { Idle, AckDue, Acked, Writing, FailDue };

  void OnWritten(uint32_t address, uint16_t value);
  void Step(int dtMs);
  bool HasTimedWork() const;
  void RunHandshakes();
  void SuperviseToolMode();
  void PublishStatus();
  void WriteIdentity();
  void ResetRuntime();
  bool LayoutValid() const;
  void FactoryDefaults();

  const UnitModelInfo* model_;
  uint8_t connected_;
  CUnitMemory memory_;
  std::vector<uint16_t> from_;
  CAxisController axes_;
  int64_t now_;

  int64_t downloadDueAt_ = -1;
  int downloadAnswer_ = -1;
  FromState fromState_ = FromState::Idle;
  int64_t fromDueAt_ = -1;
  int64_t lastKeepAlive_ = 0;
  int64_t busySince_ = 0;
  bool wasBusy_ = false;
  bool wasToolMode_ = false;
};

}  // namespace sim
