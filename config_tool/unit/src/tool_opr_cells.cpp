#include "axcfg_unit/tool_opr_cells.h"

#include "axcfg_data/fixed_point.h"
#include "axcfg_data/position_units.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/value_input.h"

namespace axcfg {

namespace {

// What a value row shows.
enum class Value {
  kNone, kAxis, kSyncGroup, kSyncMode, kSyncCondition, kCurrentValue, kUnit, kDeviation, kJogSpeed, kHomeMode,
  kActiveTable, kStartingTable, kTeachTable, kState, kErrorCode, kWarningCode
};

struct RowPlan {
  RowKind kind;
  unsigned text;  // label id of a value row, button text id of a button row; 0 none
  Value value;
  ToolButton button;
};

constexpr RowPlan V(unsigned text, Value value) { return {RowKind::Value, text, value, ToolButton::kNone}; }
constexpr RowPlan B(unsigned text, ToolButton button) { return {RowKind::Button, text, Value::kNone, button}; }
constexpr RowPlan kSpace{RowKind::Spacer, 0, Value::kNone, ToolButton::kNone};
// The "-" row of JOG carries the label "JOG" beside its button.
constexpr RowPlan kJogMinusRow{RowKind::Button, kTopRowJog, Value::kNone, ToolButton::kJogMinus};

std::vector<RowPlan> Plan(ToolOprWindow window, uint32_t family) {
  std::vector<RowPlan> rows = {V(kMonAxisGroup, Value::kAxis),
                               V(kMonSyncGroup, Value::kSyncGroup),
                               V(kMonSyncMode, Value::kSyncMode),
                               V(kMonSyncCondition, Value::kSyncCondition),
                               B(kTopBtnChangeSync, ToolButton::kChangeSync),
                               kSpace,
                               V(kMonCurrentValue, Value::kCurrentValue),
                               B(window == ToolOprWindow::kHoming ? kTopTitleOrigin : kTopTitleCurrentValue,
                                 ToolButton::kCurrentValue),
                               V(kTopRowUnit, Value::kUnit)};
  if (family == kFamilyInterp) rows.push_back(V(kTopRowDeviation, Value::kDeviation));
  rows.push_back(kSpace);
  const RowPlan jog[] = {V(kTopRowJogSpeed, Value::kJogSpeed), B(kTopBtnChange, ToolButton::kJogSpeed),
                         B(0, ToolButton::kJogPlus), kJogMinusRow};
  switch (window) {
    case ToolOprWindow::kJog:
      rows.insert(rows.end(), std::begin(jog), std::end(jog));
      break;
    case ToolOprWindow::kTeaching:
      rows.insert(rows.end(), std::begin(jog), std::end(jog));
      rows.push_back(V(kTopRowTable, Value::kTeachTable));
      rows.push_back(B(kTopBtnTeaching, ToolButton::kTeach));
      break;
    case ToolOprWindow::kHoming:
      rows.push_back(V(kTopRowHomeMode, Value::kHomeMode));
      rows.push_back(B(kTopBtnStart, ToolButton::kStartStop));
      break;
    case ToolOprWindow::kPositioning:
      rows.push_back(V(kMonActiveTable, Value::kActiveTable));
      rows.push_back(V(kTopRowStartingTable, Value::kStartingTable));
      rows.push_back(B(kTopBtnChange, ToolButton::kStartingTable));
      rows.push_back(B(kTopBtnStart, ToolButton::kStartStop));
      break;
  }
  const RowPlan tail[] = {kSpace,
                          V(kMonAxisState, Value::kState),
                          V(kMonErrorCode, Value::kErrorCode),
                          B(kTopBtnErrorClear, ToolButton::kErrorClear),
                          V(kMonWarningCode, Value::kWarningCode),
                          B(kTopBtnWarningClear, ToolButton::kWarningClear)};
  rows.insert(rows.end(), std::begin(tail), std::end(tail));
  return rows;
}

std::string Text(unsigned id) {
  if (id == 0) return {};
  return id < kTopStatus ? MonitorText(id) : ToolOprText(id);
}

bool IsNumeric(Value v) {
  switch (v) {
    case Value::kCurrentValue:
    case Value::kDeviation:
    case Value::kJogSpeed:
    case Value::kActiveTable:
    case Value::kStartingTable:
    case Value::kTeachTable:
      return true;
    default:
      return false;
  }
}

std::string ButtonText(const RowPlan& plan) {
  if (plan.button == ToolButton::kJogPlus) return "+";
  if (plan.button == ToolButton::kJogMinus) return "-";
  return Text(plan.text);
}

std::string JogSpeedText(uint32_t speed, uint16_t unitCode) {
  const int kind = PositionKindOfUnit(unitCode);
  if (kind == 0) return kNoValueText;
  const ValueInputRule rule = ValueInputRules(kValueJogSpeedBase + kind, {});
  return FormatFixed(rule.decimals, speed);
}

std::string CurrentValueText(int32_t value, uint16_t unitCode) {
  if (PositionKindOfUnit(unitCode) == 0) return kNoValueText;
  return FormatFixed(UnitDecimals(unitCode), value);
}

}  // namespace

std::vector<ToolOprRow> ToolOprRows(ToolOprWindow window, uint32_t family) {
  RegisterMonitorStrings();
  RegisterToolOprStrings();
  std::vector<ToolOprRow> rows;
  for (const RowPlan& plan : Plan(window, family)) {
    ToolOprRow row;
    row.kind = plan.kind;
    row.numeric = IsNumeric(plan.value);
    if (plan.kind == RowKind::Value) row.label = Text(plan.text);
    if (plan.button == ToolButton::kJogMinus) row.label = Text(kTopRowJog);
    row.button = plan.button;
    row.hold = plan.button == ToolButton::kJogPlus || plan.button == ToolButton::kJogMinus;
    rows.push_back(row);
  }
  return rows;
}

std::vector<MonitorCell> ToolOprCells(const ToolOprSnapshot& s, ToolOprWindow window, uint32_t family,
                                      const MonitorAxis& axis, int teachTable) {
  RegisterMonitorStrings();
  RegisterToolOprStrings();
  const std::vector<RowPlan> plan = Plan(window, family);
  std::vector<MonitorCell> cells(plan.size());
  const int n = axis.axis;
  const ToolOprAxisValues& v = s.axes[n];
  const bool connected = s.IsConnected(n);
  const auto sync = SyncCellTexts(s.sync, n);
  for (size_t r = 0; r < plan.size(); ++r) {
    MonitorCell& cell = cells[r];
    if (plan[r].kind == RowKind::Button) {
      cell = {ButtonText(plan[r]), CellColour::Face};
      if (plan[r].button == ToolButton::kStartStop && s.valid && s.IsBusy(n)) cell.text = Text(kTopBtnStop);
      continue;
    }
    if (plan[r].value == Value::kAxis) {
      cell.text = axis.label;
      continue;
    }
    if (plan[r].kind != RowKind::Value || !s.valid) continue;
    switch (plan[r].value) {
      case Value::kState:
        cell = AxisStateCell(s.HasError(n), s.HasWarning(n), connected, s.IsBusy(n));
        continue;
      case Value::kErrorCode:
        cell.text = MonitorCodeText(v.errorCode);
        continue;
      case Value::kWarningCode:
        cell.text = MonitorCodeText(v.warningCode);
        continue;
      case Value::kStartingTable:
        cell.text = std::to_string(v.startingTable);
        continue;
      case Value::kTeachTable:
        cell.text = std::to_string(teachTable);
        continue;
      default:
        break;
    }
    if (!connected) {
      cell.text = kNoValueText;
      continue;
    }
    switch (plan[r].value) {
      case Value::kSyncGroup: cell.text = sync[0]; break;
      case Value::kSyncMode: cell.text = sync[1]; break;
      case Value::kSyncCondition: cell.text = sync[2]; break;
      case Value::kCurrentValue: cell.text = CurrentValueText(v.currentValue, v.unitCode); break;
      case Value::kUnit:
        cell.text = PositionKindOfUnit(v.unitCode) ? UnitName(v.unitCode) : std::string(kNoValueText);
        break;
      case Value::kDeviation: cell.text = std::to_string(v.deviation); break;
      case Value::kJogSpeed: cell.text = JogSpeedText(v.jogSpeed, v.unitCode); break;
      case Value::kHomeMode: cell.text = HomeReturnModeText(v.homeMode, family); break;
      case Value::kActiveTable: cell.text = std::to_string(v.activeTable); break;
      default: break;
    }
  }
  return cells;
}

std::string HomeReturnModeText(uint16_t mode, uint32_t family) {
  static const unsigned kModes[] = {kTopHomeDog1, kTopHomeDog2, kTopHomeDog3,  kTopHomeDog1,   kTopHomeDog2,
                                    kTopHomePhaseZ, kTopHomeStop1, kTopHomeStop2, kTopHomeDataSet};
  if (mode >= std::size(kModes)) return kNoValueText;
  if (mode == 5 && family == kFamilyInterp) return ToolOprText(kTopHomeOrigin);
  return ToolOprText(kModes[mode]);
}

std::string ToolOprWindowTitle(ToolOprWindow window) {
  switch (window) {
    case ToolOprWindow::kJog: return ToolOprText(kTopTitleJogWnd);
    case ToolOprWindow::kHoming: return ToolOprText(kTopTitleHomingWnd);
    case ToolOprWindow::kPositioning: return ToolOprText(kTopTitlePositioningWnd);
    case ToolOprWindow::kTeaching: return ToolOprText(kTopTitleTeachingWnd);
  }
  return {};
}

}  // namespace axcfg
