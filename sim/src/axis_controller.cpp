#include "sim/axis_controller.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "sim/unit_codes.h"

namespace sim {

namespace {
using addr::kReqDecelStop;
using addr::kReqHome;
using addr::kReqJogMinus;
using addr::kReqJogPlus;
using addr::kReqPositioning;
using addr::kReqServo;
constexpr uint16_t kReqTaken = kReqHome | kReqPositioning | kReqDecelStop;  // cleared once taken
constexpr int32_t kMaxAmount = 1073741823;
constexpr double kJogPath = 1e15;
constexpr double kNearHome = 1000.0;

int32_t Clamp32(double v) {
  return static_cast<int32_t>(std::clamp(std::llround(v), static_cast<long long>(INT32_MIN),
                                         static_cast<long long>(INT32_MAX)));
}
int16_t Clamp16(double v) {
  return static_cast<int16_t>(std::clamp(std::llround(v), -32768LL, 32767LL));
}

bool PatternFits(int axisCount, int pattern) {
  if (axisCount == 1) return true;
  if (pattern == 0x00 || pattern == 0x01) return true;
  if (axisCount == 2) return pattern == 0x10 || pattern == 0x11 || pattern == 0x20;
  return (pattern >= 0x50 && pattern <= 0x55) || (pattern >= 0x60 && pattern <= 0x62);
}
}  // namespace

CAxisController::CAxisController(CUnitMemory& memory, uint8_t connectedAxes, int family)
    : mem_(memory), family_(family) {
  for (int n = 0; n < addr::kMaxAxes; ++n) axes_[n].connected = (connectedAxes >> n) & 1;
}

uint16_t CAxisController::Param(int axis, uint32_t word) const {
  return mem_.Word(addr::Params(axis) + word);
}
int32_t CAxisController::ParamLong(int axis, uint32_t word) const {
  return mem_.SignedLong(addr::Params(axis) + word);
}
bool CAxisController::SoftLimitOn(int axis, int bit) const {
  return (Param(axis, addr::param::kSoftLimitFlags) >> bit) & 1;
}

double CAxisController::SpeedFactor(int axis) const {
  // Speeds are given in the unit of position per second; inch and degree
  // speeds carry three decimals.
  int posDecimals = 0, speedDecimals = 0;
  switch (Param(axis, addr::param::kUnitCode)) {
    case 0x0100: posDecimals = 1; break;
    case 0x0200: posDecimals = 5; speedDecimals = 3; break;
    case 0x0201: posDecimals = 4; speedDecimals = 3; break;
    case 0x0300: posDecimals = 1; speedDecimals = 3; break;
    case 0x0301: speedDecimals = 3; break;
    default: break;
  }
  return std::pow(10.0, posDecimals - speedDecimals);
}

double CAxisController::Rate() const {
  return std::clamp<int>(mem_.Word(addr::kSpeedRate), 1, 1000) / 100.0;
}

double CAxisController::ToPulses(int axis, double pos) const {
  if (Param(axis, addr::param::kUnitCode) == 0) return pos;
  const double perRev = static_cast<uint32_t>(ParamLong(axis, addr::param::kPulsesPerRev));
  const double movePerRev = static_cast<uint32_t>(ParamLong(axis, addr::param::kMovePerRev));
  if (perRev <= 0 || movePerRev <= 0) return pos;
  return pos * perRev / movePerRev;
}

std::optional<int> CAxisController::JobOf(int axis) const {
  for (int lead = 0; lead < addr::kMaxAxes; ++lead)
    if (jobs_[lead] && (jobs_[lead]->members >> axis & 1)) return lead;
  return std::nullopt;
}

uint8_t CAxisController::GroupOf(int axis) const {
  uint8_t seen = 0;
  for (int k = 0; k < 5; ++k) {
    const uint8_t mask = mem_.Word(addr::kLayout + k) & 0xFF;
    if (mask & seen) return static_cast<uint8_t>(1u << axis);  // invalid layout: no groups
    seen |= mask;
  }
  for (int g = 0; g < 4; ++g) {
    const uint8_t mask = mem_.Word(addr::kLayout + g) & 0xFF;
    const int count = std::popcount(mask);
    if ((mask >> axis & 1) && count >= 2 && count <= 3) return mask;
  }
  return static_cast<uint8_t>(1u << axis);
}

bool CAxisController::AnyBusy() const { return BusyAxes() != 0; }

uint8_t CAxisController::BusyAxes() const {
  uint8_t busy = 0;
  for (auto& job : jobs_)
    if (job) busy |= job->members;
  return busy;
}

void CAxisController::RaiseError(int axis, uint32_t code) {
  if (axes_[axis].error == 0) axes_[axis].error = code;
}
void CAxisController::RaiseWarning(int axis, uint32_t code) {
  if (axes_[axis].warning == 0) axes_[axis].warning = code;
}

void CAxisController::Step(int dtMs, bool toolMode) {
  TakeClearAndUpdateRequests();
  for (int n = 0; n < addr::kMaxAxes; ++n)
    if (axes_[n].connected) TakeRequests(n, toolMode);
  for (int lead = 0; lead < addr::kMaxAxes; ++lead)
    if (jobs_[lead]) StepJob(*jobs_[lead], dtMs);
  Publish();
}

void CAxisController::TakeClearAndUpdateRequests() {
  if (uint16_t bits = mem_.Word(addr::kErrorClear)) {
    for (int n = 0; n < addr::kMaxAxes; ++n)
      if (bits >> n & 1) axes_[n].error = 0;
    mem_.SetWord(addr::kErrorClear, 0);
  }
  if (uint16_t bits = mem_.Word(addr::kWarningClear)) {
    for (int n = 0; n < addr::kMaxAxes; ++n)
      if (bits >> n & 1) axes_[n].warning = 0;
    mem_.SetWord(addr::kWarningClear, 0);
  }
  // A new current value is taken while the axis stands; the request bit is
  // cleared as the acknowledgement.
  if (uint16_t bits = mem_.Word(addr::kCurrentValueRequest)) {
    uint16_t left = bits;
    for (int n = 0; n < addr::kMaxAxes; ++n) {
      if (!(bits >> n & 1) || JobOf(n)) continue;
      if (axes_[n].connected) {
        axes_[n].pos = mem_.SignedLong(addr::NewCurrentValue(n));
        axes_[n].homed = false;
      }
      left &= static_cast<uint16_t>(~(1u << n));
    }
    left &= 0x00FF;
    mem_.SetWord(addr::kCurrentValueRequest, left);
  }
}

void CAxisController::TakeRequests(int n, bool toolMode) {
  Axis& a = axes_[n];
  const uint16_t req = mem_.Word(addr::RequestBits(n));
  if (req & kReqTaken) mem_.SetWord(addr::RequestBits(n), req & ~kReqTaken);
  const bool jogBits = (req & (kReqJogPlus | kReqJogMinus)) != 0;
  if (!toolMode) {
    // Outside tool operation mode requests are not taken; a JOG request left
    // standing must be released before it can start again.
    a.jogHeld = jogBits;
    return;
  }
  if (family_ == 0) {
    const bool want = req & kReqServo;
    if (want && !a.servo && a.error == 0) a.servo = true;
    if (!want && a.servo) {
      a.servo = false;
      if (auto lead = JobOf(n)) {
        RaiseWarning(n, codes::kServoOffWhileMoving);
        jobs_[*lead]->profile.StopNow();
        EndJob(*lead);
      }
    }
  }
  if (req & kReqDecelStop) {
    // A stop taken together with a start wins: nothing starts in this step.
    StopJobOf(n, 0);
    a.jogHeld = jogBits;
    return;
  }
  const int dir = (req & kReqJogPlus) && !(req & kReqJogMinus)   ? 1
                  : (req & kReqJogMinus) && !(req & kReqJogPlus) ? -1
                                                                 : 0;
  if (!jogBits) a.jogHeld = false;
  if (auto lead = JobOf(n)) {
    Job& job = *jobs_[*lead];
    if (job.kind == Kind::Jog && job.dir != dir && !job.profile.Stopping()) StopJobOf(n, 0);
  } else if (dir != 0 && !a.jogHeld) {
    a.jogHeld = true;
    if (CanStart(n, true)) StartJog(n, dir);
  }
  if (req & kReqHome) StartHome(n);
  if (req & kReqPositioning) StartPositioning(n);
}

bool CAxisController::CanStart(int n, bool warn) {
  const Axis& a = axes_[n];
  if (!a.connected || a.error != 0) return false;
  if (JobOf(n)) {
    if (warn) RaiseWarning(n, codes::kStartWhileBusy);
    return false;
  }
  if (family_ == 0 && !a.servo) {
    if (warn) RaiseWarning(n, codes::kStartServoOff);
    return false;
  }
  return true;
}

void CAxisController::StartJog(int n, int dir) {
  Job job;
  job.kind = Kind::Jog;
  job.members = static_cast<uint8_t>(1u << n);
  job.lead = n;
  job.dir = dir;
  job.method = 0;
  const double speed = static_cast<uint32_t>(ParamLong(n, addr::param::kJogSpeed)) * SpeedFactor(n);
  double length = kJogPath;
  if (SoftLimitOn(n, 2)) {
    const double limit = dir > 0 ? ParamLong(n, addr::param::kSoftUpper) : ParamLong(n, addr::param::kSoftLower);
    length = (limit - axes_[n].pos) * dir;
    if (length <= 0) {
      RaiseError(n, dir > 0 ? codes::kSoftLimitUpper : codes::kSoftLimitLower);
      return;
    }
    job.limitAtEnd = true;
  }
  job.start[n] = axes_[n].pos;
  job.delta[n] = dir * length;
  // The path is not braked for the software limit: the axis runs into it.
  job.profile.Start(length, speed, Param(n, addr::param::kJogAccel), Param(n, addr::param::kJogDecel), speed);
  jobs_[n] = std::move(job);
}

void CAxisController::StartHome(int n) {
  if (!CanStart(n, true)) return;
  Axis& a = axes_[n];
  const double origin = mem_.SignedLong(addr::CoordinateOrigin(n));
  if (SoftLimitOn(n, 1)) {
    if (origin > ParamLong(n, addr::param::kSoftUpper)) return RaiseError(n, codes::kSoftLimitUpper);
    if (origin < ParamLong(n, addr::param::kSoftLower)) return RaiseError(n, codes::kSoftLimitLower);
  }
  const double delta = origin - a.pos;
  if (Param(n, addr::param::kHomeMode) == 8 || std::fabs(delta) < 0.5) {  // data set: no movement
    a.pos = origin;
    a.homed = true;
    return;
  }
  Job job;
  job.kind = Kind::Home;
  job.members = static_cast<uint8_t>(1u << n);
  job.lead = n;
  job.start[n] = a.pos;
  job.delta[n] = delta;
  const double speed = static_cast<uint32_t>(ParamLong(n, addr::param::kHomeSpeed)) * SpeedFactor(n);
  job.profile.Start(std::fabs(delta), speed, Param(n, addr::param::kHomeAccel),
                    Param(n, addr::param::kHomeDecel), 0.0);
  a.homed = false;
  jobs_[n] = std::move(job);
}

void CAxisController::StartPositioning(int n) {
  const uint8_t members = GroupOf(n);
  const int lead = std::countr_zero(members);
  for (int m = 0; m < addr::kMaxAxes; ++m)
    if ((members >> m & 1) && !axes_[m].connected) return RaiseError(lead, codes::kGroupAxisMissing);
  for (int m = 0; m < addr::kMaxAxes; ++m)
    if ((members >> m & 1) && !CanStart(m, true)) return;
  const int tableNo = mem_.Word(addr::StartTable(lead));
  if (tableNo < 1 || tableNo > addr::kTablesPerAxis) return RaiseError(lead, codes::kStartTableInvalid);
  Job job;
  job.kind = Kind::Positioning;
  job.members = members;
  job.lead = lead;
  if (BeginTable(job, tableNo - 1, 0.0)) jobs_[lead] = std::move(job);
}

bool CAxisController::BeginTable(Job& job, int k, double carriedSpeed) {
  const int lead = job.lead;
  const uint32_t base = addr::Table(lead, k);
  namespace t = addr::table;
  const uint16_t flags = mem_.Word(base + t::kFlags);
  const int method = mem_.Word(base + t::kMethod) & 0xFF;
  const int pattern = mem_.Word(base + t::kMethod) >> 8;
  const int accel = mem_.Word(base + t::kAccel);
  const int decel = mem_.Word(base + t::kDecel);
  const uint32_t speed = mem_.Long(base + t::kSpeed);
  const int dwell = mem_.Word(base + t::kDwell);
  const int jump = static_cast<int16_t>(mem_.Word(base + t::kJump));
  const int count = std::popcount(job.members);

  bool valid = method <= 3 && jump >= 0 && jump <= addr::kTablesPerAxis && speed >= 1 &&
               speed <= 32767000 && accel <= 10000 && decel <= 10000 && dwell <= 32767 &&
               PatternFits(count, pattern) && !(count > 1 && method == 3) &&
               !(k == addr::kTablesPerAxis - 1 && (method == 1 || method == 2));
  std::array<double, 8> target{};
  for (int m = 0; m < addr::kMaxAxes && valid; ++m) {
    if (!(job.members >> m & 1)) continue;
    const int32_t amount = mem_.SignedLong(addr::Table(m, k) + t::kAmount);
    if (amount > kMaxAmount || amount < -kMaxAmount) valid = false;
    target[m] = (flags & 1) ? amount : axes_[m].pos + amount;
  }
  if (!valid) {
    RaiseError(lead, codes::kTableDataInvalid);
    return false;
  }
  for (int m = 0; m < addr::kMaxAxes; ++m) {
    if (!(job.members >> m & 1) || !SoftLimitOn(m, 0)) continue;
    if (target[m] > ParamLong(m, addr::param::kSoftUpper)) {
      RaiseError(m, codes::kSoftLimitUpper);
      return false;
    }
    if (target[m] < ParamLong(m, addr::param::kSoftLower)) {
      RaiseError(m, codes::kSoftLimitLower);
      return false;
    }
  }
  double sumSquares = 0, longest = 0;
  for (int m = 0; m < addr::kMaxAxes; ++m) {
    if (!(job.members >> m & 1)) continue;
    job.start[m] = axes_[m].pos;
    job.delta[m] = target[m] - axes_[m].pos;
    sumSquares += job.delta[m] * job.delta[m];
    longest = std::max(longest, std::fabs(job.delta[m]));
    axes_[m].activeTable = static_cast<uint16_t>(k + 1);
    axes_[m].auxCode = mem_.Word(base + t::kAuxCode);
  }
  // Pattern 1 runs at the speed of the longest axis; every other pattern at
  // the composite speed along the path (arcs are simulated as straight lines).
  const double length = (count > 1 && pattern == 0x01) ? longest : std::sqrt(sumSquares);
  const double v = speed * SpeedFactor(lead);
  job.table = k;
  job.method = method;
  job.phase = Phase::Moving;
  job.dwellLeftMs = dwell;
  job.profile.Start(length, v, accel, decel, method == 1 ? v : 0.0, carriedSpeed);
  return true;
}

void CAxisController::StepJob(Job& job, int dtMs) {
  const int lead = job.lead;
  if (job.phase == Phase::Dwelling) {
    job.dwellLeftMs -= dtMs;
    if (job.dwellLeftMs <= 0) FinishSegment(job);
    return;
  }
  job.profile.Step(dtMs / 1000.0, Rate());
  const double length = job.profile.Length();
  const double fraction = length > 0 ? job.profile.Position() / length : 1.0;
  for (int m = 0; m < addr::kMaxAxes; ++m) {
    if (!(job.members >> m & 1)) continue;
    axes_[m].pos = job.start[m] + job.delta[m] * fraction;
    axes_[m].speed = length > 0 ? job.profile.Speed() * job.delta[m] / length : 0.0;
    axes_[m].accelerating = job.profile.Accelerating();
  }
  if (job.kind == Kind::Jog && job.limitAtEnd && job.profile.Arrived() && !job.profile.Stopping()) {
    RaiseError(lead, job.dir > 0 ? codes::kSoftLimitUpper : codes::kSoftLimitLower);
    return EndJob(lead);
  }
  if (job.profile.Stopping()) {
    if (job.profile.Speed() <= 0) EndJob(lead);
    return;
  }
  if (!job.profile.Arrived()) return;
  switch (job.kind) {
    case Kind::Home:
      axes_[lead].homed = true;
      return EndJob(lead);
    case Kind::Jog:
      return EndJob(lead);
    case Kind::Positioning:
      if (job.method != 1 && job.dwellLeftMs > 0) {
        job.phase = Phase::Dwelling;
        for (int m = 0; m < addr::kMaxAxes; ++m)
          if (job.members >> m & 1) axes_[m].speed = 0;
        return;
      }
      return FinishSegment(job);
  }
}

void CAxisController::FinishSegment(Job& job) {
  const int lead = job.lead;
  if (job.method == 0 || job.method == 3) return EndJob(lead);  // end point
  const int jump = static_cast<int16_t>(mem_.Word(addr::Table(lead, job.table) + addr::table::kJump));
  const int next = jump > 0 ? jump - 1 : job.table + 1;
  const double carried = job.method == 1 ? job.profile.Speed() : 0.0;
  if (next >= addr::kTablesPerAxis) {
    RaiseError(lead, codes::kTableDataInvalid);
    return EndJob(lead);
  }
  if (!BeginTable(job, next, carried)) EndJob(lead);
}

void CAxisController::EndJob(int lead) {
  if (!jobs_[lead]) return;
  for (int m = 0; m < addr::kMaxAxes; ++m) {
    if (!(jobs_[lead]->members >> m & 1)) continue;
    axes_[m].speed = 0;
    axes_[m].accelerating = false;
  }
  jobs_[lead].reset();
}

void CAxisController::StopJobOf(int axis, int decelMs) {
  auto lead = JobOf(axis);
  if (!lead) return;
  Job& job = *jobs_[*lead];
  if (job.phase == Phase::Dwelling) return EndJob(*lead);
  if (decelMs <= 0) {
    // The deceleration time of the running movement.
    const int k = job.table;
    decelMs = job.kind == Kind::Jog    ? Param(job.lead, addr::param::kJogDecel)
              : job.kind == Kind::Home ? Param(job.lead, addr::param::kHomeDecel)
                                       : mem_.Word(addr::Table(job.lead, k) + addr::table::kDecel);
  }
  job.profile.Stop(decelMs);
}

void CAxisController::StopAll(bool emergency) {
  for (int lead = 0; lead < addr::kMaxAxes; ++lead) {
    if (!jobs_[lead]) continue;
    StopJobOf(lead, emergency ? std::max<int>(1, Param(lead, addr::param::kEmergencyDecel)) : 0);
  }
}

void CAxisController::ClearRequests() {
  for (int n = 0; n < addr::kMaxAxes; ++n) {
    const uint16_t req = mem_.Word(addr::RequestBits(n));
    if (req & (kReqJogPlus | kReqJogMinus)) axes_[n].jogHeld = true;
    // The servo stays as it is; movement requests are dropped.
    mem_.SetWord(addr::RequestBits(n), req & kReqServo);
  }
}

void CAxisController::RestorePositions() {
  for (int n = 0; n < addr::kMaxAxes; ++n)
    axes_[n].pos = mem_.SignedLong(addr::Monitor(n) + addr::kMonPosition);
}

void CAxisController::ResetPositions() {
  for (auto& a : axes_) {
    a.pos = 0;
    a.homed = false;
  }
}

void CAxisController::Reset() {
  for (auto& job : jobs_) job.reset();
  for (auto& a : axes_) {
    a.servo = false;
    a.jogHeld = false;
    a.speed = 0;
    a.accelerating = false;
    a.error = 0;
    a.warning = 0;
  }
}

void CAxisController::Publish() {
  uint16_t busy = 0, home = 0, errors = 0, warnings = 0;
  for (int n = 0; n < addr::kMaxAxes; ++n) {
    const Axis& a = axes_[n];
    const uint32_t mon = addr::Monitor(n);
    mem_.SetLong(addr::ErrorCode(n), a.error);
    mem_.SetLong(addr::WarningCode(n), a.warning);
    if (a.error) errors |= static_cast<uint16_t>(1u << n);
    if (a.warning) warnings |= static_cast<uint16_t>(1u << n);
    if (!a.connected) {
      mem_.Fill(mon, addr::kMonitorWords, 0);
      continue;
    }
    const bool running = JobOf(n).has_value();
    if (running) busy |= static_cast<uint16_t>(1u << n);
    const double origin = mem_.SignedLong(addr::CoordinateOrigin(n));
    const double fromHome = std::fabs(a.pos - origin);
    if (a.homed && fromHome < 0.5) home |= static_cast<uint16_t>(1u << n);

    uint16_t state = 0;
    if (!running) state |= 0x0001;
    if (a.error == 0) state |= addr::kMonStateReady;
    if (family_ != 0 || a.servo) state |= 0x0080;
    mem_.SetWord(mon + addr::kMonState, state);
    mem_.SetWord(mon + addr::kMonInputs, fromHome <= kNearHome ? 0x0004 : 0);
    const double pulseSpeed = ToPulses(n, a.speed);
    const int32_t perRev = ParamLong(n, addr::param::kPulsesPerRev);
    const double rpm = pulseSpeed * 60.0 / (perRev > 1 ? perRev : 10000);
    const double torque = a.speed == 0 ? 0 : (a.accelerating ? 300 : 100) * (a.speed > 0 ? 1 : -1);
    mem_.SetWord(addr::Monitor(n) + addr::kMonTorque, static_cast<uint16_t>(Clamp16(torque)));
    mem_.SetWord(mon + addr::kMonSpeed, static_cast<uint16_t>(Clamp16(rpm)));
    mem_.SetLong(mon + addr::kMonDeviation, static_cast<uint32_t>(Clamp32(pulseSpeed / 100.0)));
    mem_.SetLong(mon + addr::kMonPulseInput, 0);
    mem_.SetWord(mon + addr::kMonTable, a.activeTable);
    mem_.SetWord(mon + addr::kMonAuxCode, a.auxCode);
    mem_.SetLong(mon + addr::kMonPulses, static_cast<uint32_t>(Clamp32(ToPulses(n, a.pos))));
    mem_.SetLong(mon + addr::kMonPosition, static_cast<uint32_t>(Clamp32(a.pos)));
  }
  mem_.SetWord(addr::kStatusBusy, static_cast<uint16_t>(~(busy << 8)));
  mem_.SetWord(addr::kStatusHome, static_cast<uint16_t>(~home));
  mem_.SetWord(addr::kErrorFlags, errors);
  mem_.SetWord(addr::kWarningFlags, warnings);
}

}  // namespace sim
