#pragma once
// The simulated PLC as its peers see it: one station with one positioning
// unit in one slot, answering frames at real time (or at the time of the
// clock it is given), with optional fault injection, frame logging and
// persistence of the unit's memory.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/command_responder.h"
#include "sim/fault_injector.h"
#include "sim/sim_clock.h"
#include "sim/unit_model.h"
#include "sim/unit_store.h"

namespace sim {

struct PlcConfig {
  UnitConfig unit;
  int station = 1;  // 1..99
  int slot = 0;     // 0..28
  FaultConfig faults;
};

// Checks a configuration; false with a message.
bool ValidatePlcConfig(const PlcConfig& config, std::string& error);

class CSimPlc {
 public:
  struct Exchange {
    std::vector<AnswerPart> parts;  // empty: no answer
    bool continuation = false;      // the answer only asks for the next frame
    bool hangUp = false;            // close the link once the answer is out
  };
  // incoming: true for a frame received, false for bytes sent.
  using FrameLog = std::function<void(bool incoming, std::string_view bytes)>;

  CSimPlc(const PlcConfig& config, ISimClock& clock);

  // Handles one complete frame (ending in CR).
  Exchange Handle(std::string_view frame);

  CUnitModel& Unit() { return unit_; }
  const PlcConfig& Config() const { return config_; }
  ISimClock& Clock() { return clock_; }
  void SetFrameLog(FrameLog log) { log_ = std::move(log); }

  // Persistence in a folder (files named after station and slot).
  StoreLoad Load(const std::string& folder, std::string& message);
  bool Save(const std::string& folder, std::string& error);

 private:
  PlcConfig config_;
  ISimClock& clock_;
  CUnitModel unit_;
  CCommandResponder responder_;
  CFaultInjector faults_;
  FrameLog log_;
};

}  // namespace sim
