#include "sim/sim_plc.h"

namespace sim {

bool ValidatePlcConfig(const PlcConfig& config, std::string& error) {
  const UnitModelInfo* model = FindUnitModel(config.unit.model);
  if (!model) {
    error = "unknown unit model code " + std::to_string(config.unit.model);
    return false;
  }
  if (config.station < 1 || config.station > 99) {
    error = "the station number must be 1 to 99";
    return false;
  }
  if (config.slot < 0 || config.slot > 28) {
    error = "the slot number must be 0 to 28";
    return false;
  }
  const unsigned modelMask = (1u << model->axes) - 1;
  if ((config.unit.axes & ~modelMask) != 0) {
    error = "the connected axes must lie within the " + std::to_string(model->axes) +
            " axes of model " + std::to_string(model->code);
    return false;
  }
  return true;
}

CSimPlc::CSimPlc(const PlcConfig& config, ISimClock& clock)
    : config_(config),
      clock_(clock),
      unit_(config.unit, clock.NowMs()),
      responder_(unit_, config.station, config.slot),
      faults_(config.faults) {
  unit_.SetDownloadAnswer(config.faults.downloadAnswer);
}

CSimPlc::Exchange CSimPlc::Handle(std::string_view frame) {
  Exchange result;
  if (log_) log_(true, frame);
  unit_.AdvanceTo(clock_.NowMs());
  std::string answer;
  if (responder_.Classify(frame) == CCommandResponder::Target::Ours && faults_.NakThisFrame()) {
    answer = responder_.ErrorAnswer(frame, 40);
  } else {
    CCommandResponder::Result r = responder_.Handle(frame);
    if (!r.answer) return result;
    answer = std::move(*r.answer);
    result.continuation = r.continuation;
  }
  result.parts = faults_.Shape(answer, config_.station);
  result.hangUp = !result.parts.empty() && faults_.HangUpAfterAnswer();
  if (log_)
    for (const auto& part : result.parts) log_(false, part.bytes);
  return result;
}

StoreLoad CSimPlc::Load(const std::string& folder, std::string& message) {
  CUnitStore store(folder, CUnitStore::NameFor(config_.station, config_.slot, unit_.Model().code));
  return store.Load(unit_, message);
}

bool CSimPlc::Save(const std::string& folder, std::string& error) {
  unit_.AdvanceTo(clock_.NowMs());
  unit_.FinishPendingWork();
  CUnitStore store(folder, CUnitStore::NameFor(config_.station, config_.slot, unit_.Model().code));
  return store.Save(unit_, error);
}

}  // namespace sim
