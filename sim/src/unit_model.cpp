#include "sim/unit_model.h"

#include <algorithm>
#include <bit>

#include "sim/fault_injector.h"
#include "sim/unit_codes.h"
#include "sim/unit_defaults.h"

namespace sim {

namespace {
using addr::kFromAck;
using addr::kFromConfirm;
using addr::kFromRequest;
using addr::kKeepAliveOn;
using addr::kToolModeOn;
constexpr uint16_t kDownloadRequest = 0x1111;
constexpr uint16_t kDownloadAccepted = 0x2222;
constexpr uint16_t kFailed = 0xCCCC;
constexpr int kDownloadCheckMs = 100;
constexpr int kFromAckMs = 50;
constexpr int kFromWriteMs = 1000;
constexpr uint16_t kFirmwareVersion = 0x0105;
constexpr uint16_t kHardwareVersion = 0x0100;

const UnitModelInfo& ModelOrDefault(uint16_t code) {
  const UnitModelInfo* info = FindUnitModel(code);
  return info ? *info : *FindUnitModel(kDefaultModelCode);
}

uint8_t ModelAxesMask(const UnitModelInfo& m) { return static_cast<uint8_t>((1u << m.axes) - 1); }
}  // namespace

CUnitModel::CUnitModel(const UnitConfig& config, int64_t nowMs)
    : model_(&ModelOrDefault(config.model)),
      connected_(config.axes ? config.axes & ModelAxesMask(*model_) : ModelAxesMask(*model_)),
      axes_(memory_, connected_, model_->family),
      now_(nowMs) {
  FactoryDefaults();
  from_ = memory_.Words();
  ResetRuntime();
}

void CUnitModel::FactoryDefaults() {
  memory_.Fill(0, memory_.Size(), 0);
  memory_.SetWord(addr::kLayout + 4, connected_);  // every connected axis on its own
  memory_.SetWord(addr::kSyncDiff1, 10000);
  memory_.SetWord(addr::kSyncDiff2, 10000);
  for (int n = 0; n < addr::kMaxAxes; ++n) {
    WriteDefaultParameters(memory_, n);
    for (int k = 0; k < addr::kTablesPerAxis; ++k) WriteDefaultTable(memory_, n, k);
  }
  WriteIdentity();
}

void CUnitModel::WriteIdentity() {
  memory_.SetWord(addr::kModelCode, model_->code);
  memory_.SetWord(addr::kFirmwareVersion, kFirmwareVersion);
  memory_.SetWord(addr::kHardwareVersion, kHardwareVersion);
  for (int n = 0; n < addr::kMaxAxes; ++n) {
    const bool servoAxis = (connected_ >> n & 1) && model_->family == 0;
    // Pulse-output units have no amplifier link and report no texts.
    memory_.SetSwappedText(addr::BrandName(n), 8, servoAxis ? "KELD SIM" : "");
    memory_.SetSwappedText(addr::AmpModel(n), 8, servoAxis ? "KSA-SIM-0100" : "");
    memory_.SetSwappedText(addr::MotorModel(n), 8, servoAxis ? "KSM-SIM-0100" : "");
  }
}

void CUnitModel::ResetRuntime() {
  memory_.SetWord(addr::kHandshake, 0);
  memory_.SetWord(addr::kToolMode, 0);
  memory_.SetWord(addr::kKeepAlive, 0);
  memory_.SetWord(addr::kToolTimeout, 3);
  memory_.SetWord(addr::kSpeedRate, 100);
  memory_.Fill(addr::RequestBits(0), addr::kMaxAxes, 0);
  memory_.SetWord(addr::kCurrentValueRequest, 0);
  memory_.SetWord(addr::kErrorClear, 0);
  memory_.SetWord(addr::kWarningClear, 0);
  downloadDueAt_ = -1;
  fromState_ = FromState::Idle;
  fromDueAt_ = -1;
  wasBusy_ = false;
  wasToolMode_ = false;
  WriteIdentity();
  axes_.Publish();
  PublishStatus();
}

bool CUnitModel::Restore(const std::vector<uint16_t>& working, const std::vector<uint16_t>& from) {
  if (working.size() != memory_.Size() || from.size() != memory_.Size()) return false;
  memory_.Words() = working;
  from_ = from;
  axes_.Reset();
  axes_.RestorePositions();
  ResetRuntime();
  return true;
}

void CUnitModel::PowerCycle() {
  memory_.Words() = from_;
  axes_.Reset();
  axes_.ResetPositions();
  ResetRuntime();
}

bool CUnitModel::ToolMode() const { return memory_.Word(addr::kToolMode) == kToolModeOn; }

bool CUnitModel::Read(uint32_t address, uint32_t count, std::vector<uint16_t>& out) const {
  if (!memory_.InRange(address, count)) return false;
  out.assign(memory_.Words().begin() + address, memory_.Words().begin() + address + count);
  return true;
}

bool CUnitModel::Write(uint32_t address, const std::vector<uint16_t>& values) {
  if (!memory_.InRange(address, static_cast<uint32_t>(values.size()))) return false;
  for (size_t i = 0; i < values.size(); ++i) {
    memory_.SetWord(address + static_cast<uint32_t>(i), values[i]);
    OnWritten(address + static_cast<uint32_t>(i), values[i]);
  }
  // Words the unit owns (status, monitor, codes) read as the unit has them.
  axes_.Publish();
  PublishStatus();
  return true;
}

void CUnitModel::OnWritten(uint32_t address, uint16_t value) {
  if (address == addr::kKeepAlive) {
    if (value == kKeepAliveOn) lastKeepAlive_ = now_;
    return;
  }
  if (address != addr::kHandshake) return;
  if (fromState_ == FromState::Writing) {
    // The word belongs to the unit until the write to FROM has ended.
    memory_.SetWord(addr::kHandshake, kFromConfirm);
    return;
  }
  switch (value) {
    case kDownloadRequest:
      downloadDueAt_ = now_ + kDownloadCheckMs;
      fromState_ = FromState::Idle;
      break;
    case kFromRequest:
      downloadDueAt_ = -1;
      fromState_ = FromState::AckDue;
      fromDueAt_ = now_ + kFromAckMs;
      break;
    case kFromConfirm:
      // Confirmation without an acknowledged request fails.
      fromState_ = fromState_ == FromState::Acked ? FromState::Writing : FromState::FailDue;
      fromDueAt_ = now_ + (fromState_ == FromState::Writing ? kFromWriteMs : kFromAckMs);
      break;
    case 0:
      downloadDueAt_ = -1;
      fromState_ = FromState::Idle;
      break;
    default:
      break;
  }
}

bool CUnitModel::LayoutValid() const {
  uint8_t all = 0;
  for (int k = 0; k < 5; ++k) {
    const uint8_t mask = memory_.Word(addr::kLayout + k) & 0xFF;
    if (mask & all) return false;
    if (k < 4 && std::popcount(mask) > 3) return false;
    all |= mask;
  }
  return all != 0 && (all & ~ModelAxesMask(*model_)) == 0;
}

void CUnitModel::AdvanceTo(int64_t nowMs) {
  while (now_ < nowMs) {
    Step(1);
    ++now_;
    if (!HasTimedWork()) now_ = nowMs;  // nothing moves: skip the idle time
  }
  PublishStatus();
}

bool CUnitModel::HasTimedWork() const {
  return axes_.AnyBusy() || downloadDueAt_ >= 0 ||
         (fromState_ != FromState::Idle && fromState_ != FromState::Acked);
}

void CUnitModel::Step(int dtMs) {
  RunHandshakes();
  SuperviseToolMode();
  axes_.Step(dtMs, ToolMode());
}

void CUnitModel::RunHandshakes() {
  if (downloadDueAt_ >= 0 && now_ >= downloadDueAt_) {
    downloadDueAt_ = -1;
    if (memory_.Word(addr::kHandshake) == kDownloadRequest && downloadAnswer_ != FaultConfig::kDownloadNoAnswer) {
      const bool asUnit = downloadAnswer_ == FaultConfig::kDownloadAsUnit;
      memory_.SetWord(addr::kHandshake, asUnit ? (LayoutValid() ? kDownloadAccepted : kFailed)
                                               : static_cast<uint16_t>(downloadAnswer_));
    }
  }
  if (fromDueAt_ < 0 || now_ < fromDueAt_) return;
  switch (fromState_) {
    case FromState::AckDue:
      fromDueAt_ = -1;
      if (memory_.Word(addr::kHandshake) == kFromRequest) {
        memory_.SetWord(addr::kHandshake, kFromAck);
        fromState_ = FromState::Acked;
      } else {
        fromState_ = FromState::Idle;
      }
      break;
    case FromState::Writing:
      FinishPendingWork();
      break;
    case FromState::FailDue:
      fromDueAt_ = -1;
      fromState_ = FromState::Idle;
      if (memory_.Word(addr::kHandshake) == kFromConfirm) memory_.SetWord(addr::kHandshake, kFailed);
      break;
    default:
      fromDueAt_ = -1;
      break;
  }
}

void CUnitModel::FinishPendingWork() {
  if (fromState_ != FromState::Writing) return;
  const uint16_t count = memory_.Word(addr::kFromWriteCount);
  if (count < 0xFFFF) memory_.SetWord(addr::kFromWriteCount, count + 1);
  memory_.SetWord(addr::kHandshake, 0);
  from_ = memory_.Words();
  fromState_ = FromState::Idle;
  fromDueAt_ = -1;
}

void CUnitModel::SuperviseToolMode() {
  const bool tool = ToolMode();
  if (wasToolMode_ && !tool) {
    // Tool operation mode ended: running axes stop, requests are dropped.
    axes_.StopAll(false);
    axes_.ClearRequests();
  }
  wasToolMode_ = tool;
  const bool busy = axes_.AnyBusy();
  if (busy && !wasBusy_) busySince_ = now_;
  wasBusy_ = busy;
  if (!tool || !busy) return;
  const int64_t timeoutMs = std::clamp<int>(memory_.Word(addr::kToolTimeout), 1, 30) * 1000;
  if (now_ - std::max(lastKeepAlive_, busySince_) <= timeoutMs) return;
  // The tool has stopped keeping the operation alive: stop and leave tool mode.
  const uint8_t moving = axes_.BusyAxes();
  axes_.StopAll(true);
  for (int n = 0; n < addr::kMaxAxes; ++n)
    if (moving >> n & 1) axes_.RaiseWarning(n, codes::kKeepAliveTimeout);
  memory_.SetWord(addr::kToolMode, 0);
  memory_.SetWord(addr::kKeepAlive, 0);
  axes_.ClearRequests();
  wasToolMode_ = false;
}

void CUnitModel::PublishStatus() {
  uint16_t status = static_cast<uint16_t>(~(connected_ << 8));
  if (FromWriting()) status &= static_cast<uint16_t>(~addr::kStatusFromIdle);
  memory_.SetWord(addr::kStatusConnect, status);
  memory_.SetWord(addr::kStatusSpare, 0xFFFF);
  WriteIdentity();
}

}  // namespace sim
