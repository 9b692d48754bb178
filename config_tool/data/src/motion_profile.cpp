#include "axcfg_data/motion_profile.h"

#include <algorithm>
#include <cmath>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/data_check.h"
#include "axcfg_data/pos_columns.h"
#include "axcfg_data/position_units.h"

namespace axcfg {

namespace {

constexpr unsigned kIdCheckFailed = 30222;

double Scale(int decimals) { return std::pow(10.0, -decimals); }

}  // namespace

CMotionProfile::CMotionProfile(const CAxisCfgDoc& doc, uint32_t entry, int startTableNo)
    : entry_(entry), startTableNo_(startTableNo) {
  const AxisList members = EntryAxes(entry);
  const CParamBlock& params = doc.GetParamBlock();
  for (int m = 0; m < members.count && m < 3; ++m) {
    ProfileAxis a;
    a.axis = members.axes[m];
    a.letter = static_cast<char>('X' + m);
    a.unitCode = params.GetUnitCode(a.axis);
    a.decimals = UnitDecimals(a.unitCode);
    axes_.push_back(a);
  }
  Walk(doc);
}

bool CMotionProfile::RowIsValid(const CAxisCfgDoc& doc, int k) {
  const AxisList members = EntryAxes(entry_);
  const CPosData* row = doc.GetPosData(k);
  const auto fail = [&](std::string message) {
    end_ = ProfileEnd::Invalid;
    invalidTableNo_ = k + 1;
    message_ = std::move(message);
    return false;
  };
  if (members.count < 1 || members.count > 3 || !row) return fail(AxisCfgText(kIdCheckFailed));
  const ColumnSet columns = GetColumnSet(entry_, true);
  for (int m = 0; m < members.count; ++m)
    for (int c = 0; c < columns.count; ++c)
      if (!IsTableValueValid(*row, k, members, m, columns.columns[c]))
        return fail(TableValueMessage(entry_, k, columns.columns[c]));
  return true;
}

void CMotionProfile::Walk(const CAxisCfgDoc& doc) {
  const int rows = doc.GetRowCount();
  if (startTableNo_ < 1 || startTableNo_ > rows || axes_.empty()) {
    end_ = ProfileEnd::Invalid;
    invalidTableNo_ = startTableNo_;
    message_ = AxisCfgText(kIdCheckFailed);
    return;
  }
  const int count = static_cast<int>(axes_.size());
  // Group members share one unit of position; the row's first axis gives it.
  const uint16_t unit = axes_[0].unitCode;
  const double positionScale = Scale(UnitDecimals(unit));
  const double speedScale = Scale(UnitSpeedDecimals(unit));

  std::vector<bool> visited(static_cast<size_t>(rows), false);
  MotionPoint position{};
  double time = 0, carried = 0;
  int k = startTableNo_ - 1;
  for (;;) {
    if (visited[static_cast<size_t>(k)]) {
      end_ = ProfileEnd::Repeats;
      repeatsFrom_ = k + 1;
      return;
    }
    visited[static_cast<size_t>(k)] = true;
    if (!RowIsValid(doc, k)) return;
    const CPosData& row = *doc.GetPosData(k);
    const PosElement& e = row.Element(axes_[0].axis);

    MotionPoint target{}, aux{};
    for (int m = 0; m < count; ++m) {
      const PosElement& own = row.Element(axes_[m].axis);
      const double amount = static_cast<double>(own.moveAmount) * positionScale;
      const double auxPoint = static_cast<double>(own.auxPoint) * positionScale;
      const bool absolute = own.positionMode == kPosAbsolute;
      target[m] = absolute ? amount : position[m] + amount;
      aux[m] = absolute ? auxPoint : position[m] + auxPoint;
    }
    ProfileMove move;
    move.tableNo = k + 1;
    move.controlMethod = e.controlMethod;
    move.interpPattern = count > 1 ? e.interpPattern : 0;
    move.startTime = time;
    move.path = CMotionPath::Make(count, move.interpPattern, position, target, aux);

    MoveRequest request;
    request.length = move.path.SpeedLength();
    request.startSpeed = carried;
    request.targetSpeed = static_cast<double>(e.targetSpeed) * speedScale;
    request.accelMs = e.accelTime;
    request.decelMs = e.decelTime;
    request.sShaped = e.accelPattern == 1;
    request.stopAtEnd = e.controlMethod != kCtrlPass;
    move.plan = PlanMove(request);
    move.dwell = request.stopAtEnd ? e.dwellTime / 1000.0 : 0.0;
    moves_.push_back(move);

    time = move.EndTime();
    position = target;
    carried = move.plan.endSpeed;
    if (e.controlMethod == kCtrlEnd || e.controlMethod == kCtrlJog) {
      end_ = ProfileEnd::Ended;
      return;
    }
    const int next = e.jumpNo > 0 ? e.jumpNo - 1 : k + 1;
    if (next >= rows) {
      // Only a last table that is not E leads here, which the check refuses.
      end_ = ProfileEnd::Invalid;
      invalidTableNo_ = k + 1;
      message_ = TableValueMessage(entry_, k, kColControlMethod);
      return;
    }
    k = next;
  }
}

ProfileState CMotionProfile::At(double time) const {
  ProfileState s;
  s.time = time;
  if (moves_.empty()) return s;
  // The last move starting at or before the time.
  auto it = std::upper_bound(moves_.begin(), moves_.end(), time,
                             [](double t, const ProfileMove& m) { return t < m.startTime; });
  if (it == moves_.begin()) {
    s.position = moves_.front().path.Start();
    return s;
  }
  const ProfileMove& m = *(it - 1);
  s.move = static_cast<int>(it - moves_.begin()) - 1;
  const double t = time - m.startTime;
  const double length = m.path.SpeedLength();
  const double u = length > 0 ? m.plan.DistanceAt(t) / length : 1.0;
  s.position = m.path.At(u);
  // At the very end of the sequence a pass table keeps its speed.
  const bool last = s.move + 1 == static_cast<int>(moves_.size());
  const bool moving = t < m.plan.Duration() || (last && m.plan.endSpeed > 0 && t <= m.plan.Duration());
  s.pathSpeed = moving ? m.plan.SpeedAt(t) : 0.0;
  const MotionPoint direction = m.path.Direction(u);
  for (int i = 0; i < 3; ++i) s.speed[i] = s.pathSpeed * direction[i];
  return s;
}

std::vector<ProfileState> CMotionProfile::Sample(int count) const {
  count = std::max(count, 2);
  std::vector<ProfileState> states;
  states.reserve(static_cast<size_t>(count));
  const double total = Duration();
  for (int i = 0; i < count; ++i) states.push_back(At(total * i / (count - 1)));
  return states;
}

}  // namespace axcfg
