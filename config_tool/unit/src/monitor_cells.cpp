#include "axcfg_unit/monitor_cells.h"

#include <cstdio>

#include "axcfg_data/fixed_point.h"
#include "axcfg_data/position_units.h"
#include "axcfg_data/unit_types.h"
#include "axcfg_unit/monitor_strings.h"

namespace axcfg {

namespace {

std::string T(unsigned id) { return MonitorText(id); }

// Data monitor rows in drawing order.
enum DataRow {
  kRowAxis, kRowSyncGroup, kRowSyncMode, kRowSyncCondition, kRowSpace1, kRowTable, kRowAux, kRowSpace2,
  kRowPulse, kRowConverted, kRowTorque, kRowSpeed, kRowSpace3, kRowState, kRowError, kRowErrorButton,
  kRowWarning, kRowWarningButton, kDataRowCount
};

enum StatusRow {
  kStAxis, kStConnection, kStBrand, kStAmp, kStMotor, kStHeading1, kStServo, kStStatus, kStInPosition,
  kStHeading2, kStHomeProximity, kStHome, kStLimitPlus, kStLimitMinus, kStatusRowCount
};

std::string Number(long long value) { return std::to_string(value); }

MonitorCell FlagCell(bool set, unsigned onText, unsigned offText) {
  return set ? MonitorCell{T(onText), CellColour::Set} : MonitorCell{T(offText), CellColour::Face};
}

}  // namespace

std::array<std::string, 3> SyncCellTexts(const std::array<SyncGroupState, 2>& sync, int axis) {
  const uint16_t bit = static_cast<uint16_t>(1u << axis);
  int g = -1;
  bool master = false;
  for (int i = 0; i < 2 && g < 0; ++i)
    if (sync[i].master & bit) g = i, master = true;
  for (int i = 0; i < 2 && g < 0; ++i)
    if (sync[i].slave & bit) g = i;
  if (g < 0) return {kNoValueText, kNoValueText, kNoValueText};
  const SyncGroupState& group = sync[g];
  const bool asynchronous = group.mode != 1 && (group.condition & 1);
  return {std::to_string(g + 1) + T(master ? kMonMaster : kMonSlave), T(group.mode != 0 ? kMonModeB : kMonModeA),
          T(asynchronous ? kMonAsynchronous : kMonSynchronous)};
}

MonitorCell AxisStateCell(bool error, bool warning, bool connected, bool busy) {
  if (error) return {T(kMonStateError), CellColour::Error};
  if (warning) return {T(kMonStateWarning), CellColour::Warning};
  if (!connected) return {T(kMonStateNotConnected), CellColour::Face};
  if (busy) return {T(kMonStateActive), CellColour::Active};
  return {T(kMonStateInactive), CellColour::Face};
}

std::string MonitorCodeText(uint32_t code) {
  if (code == 0) return kNoValueText;
  char high[16], low[16], text[40];
  std::snprintf(high, sizeof high, "%05d", static_cast<int>(code >> 16));
  std::snprintf(low, sizeof low, "%04X", static_cast<unsigned>(code & 0xFFFF));
  std::snprintf(text, sizeof text, "%s-E%s", high, low);
  return text;
}

std::string VersionText(uint16_t version) {
  char text[16];
  std::snprintf(text, sizeof text, "%2X.%02X", static_cast<unsigned>(version >> 8), static_cast<unsigned>(version & 0xFF));
  return text;
}

std::string IdentTextString(const IdentText& text) {
  std::string out;
  for (uint8_t c : text) {
    if (c == 0) break;
    out += c >= 0x80 ? '.' : static_cast<char>(c);
  }
  return out;
}

std::string ConvertedValueText(int32_t value, uint16_t unitCode) {
  uint16_t known = 0;
  if (!UnitCodeOfChoice(UnitChoiceOfCode(unitCode), known) || known != unitCode) return kNoValueText;
  const std::string name = UnitName(unitCode);
  if (name.empty()) return kNoValueText;
  return FormatFixed(UnitDecimals(unitCode), value) + " " + name;
}

std::vector<MonitorRow> DataMonitorRows(uint32_t family) {
  const bool pulse = family == kFamilyInterp;
  std::vector<MonitorRow> rows(kDataRowCount);
  auto set = [&](int row, RowKind kind, unsigned id, bool numeric) {
    rows[row] = {kind, id ? T(id) : std::string(), numeric};
  };
  set(kRowAxis, RowKind::Value, kMonAxisGroup, false);
  set(kRowSyncGroup, RowKind::Value, kMonSyncGroup, false);
  set(kRowSyncMode, RowKind::Value, kMonSyncMode, false);
  set(kRowSyncCondition, RowKind::Value, kMonSyncCondition, false);
  set(kRowSpace1, RowKind::Spacer, 0, false);
  set(kRowTable, RowKind::Value, kMonActiveTable, true);
  set(kRowAux, RowKind::Value, kMonAuxCode, true);
  set(kRowSpace2, RowKind::Spacer, 0, false);
  set(kRowPulse, RowKind::Value, pulse ? kMonCurrentValue : kMonAmpCurrentPulse, true);
  set(kRowConverted, RowKind::Value, kMonConvertedValue, true);
  set(kRowTorque, RowKind::Value, pulse ? kMonPulseInput : kMonTorque, true);
  set(kRowSpeed, RowKind::Value, pulse ? kMonDeviation : kMonSpeed, true);
  set(kRowSpace3, RowKind::Spacer, 0, false);
  set(kRowState, RowKind::Value, kMonAxisState, false);
  set(kRowError, RowKind::Value, kMonErrorCode, false);
  set(kRowErrorButton, RowKind::Button, kMonErrorClear, false);
  set(kRowWarning, RowKind::Value, kMonWarningCode, false);
  set(kRowWarningButton, RowKind::Button, kMonWarningClear, false);
  return rows;
}

std::vector<MonitorCell> DataMonitorCells(const DataMonitorSnapshot& s, uint32_t family, const MonitorAxis& axis) {
  std::vector<MonitorCell> cells(kDataRowCount);
  cells[kRowAxis].text = axis.label;
  if (!s.valid) return cells;
  const int n = axis.axis;
  const DataAxisValues& v = s.axes[n];
  cells[kRowState] = AxisStateCell(s.HasError(n), s.HasWarning(n), s.IsConnected(n), s.IsBusy(n));
  cells[kRowError].text = MonitorCodeText(v.errorCode);
  cells[kRowWarning].text = MonitorCodeText(v.warningCode);
  const int valueRows[] = {kRowSyncGroup, kRowSyncMode, kRowSyncCondition, kRowTable, kRowAux,
                           kRowPulse, kRowConverted, kRowTorque, kRowSpeed};
  if (!s.IsConnected(n)) {
    for (int row : valueRows) cells[row].text = kNoValueText;
    return cells;
  }
  const auto sync = SyncCellTexts(s.sync, n);
  cells[kRowSyncGroup].text = sync[0];
  cells[kRowSyncMode].text = sync[1];
  cells[kRowSyncCondition].text = sync[2];
  cells[kRowTable].text = Number(v.activeTable);
  cells[kRowAux].text = Number(v.auxCode);
  cells[kRowPulse].text = Number(v.currentPulse);
  cells[kRowConverted].text = ConvertedValueText(v.currentValue, v.unitCode);
  if (family == kFamilyInterp) {
    cells[kRowTorque].text = Number(v.pulseInput);
    cells[kRowSpeed].text = Number(v.deviation);
  } else {
    cells[kRowTorque].text = FormatFixed(1, v.torque);
    cells[kRowSpeed].text = Number(v.speed);
  }
  return cells;
}

std::vector<MonitorRow> StatusMonitorRows() {
  std::vector<MonitorRow> rows(kStatusRowCount);
  auto set = [&](int row, RowKind kind, unsigned id) { rows[row] = {kind, T(id), false}; };
  set(kStAxis, RowKind::Value, kMonAxisGroup);
  set(kStConnection, RowKind::Value, kMonConnectionStatus);
  set(kStBrand, RowKind::Value, kMonBrandName);
  set(kStAmp, RowKind::Value, kMonAmpModel);
  set(kStMotor, RowKind::Value, kMonMotorModel);
  set(kStHeading1, RowKind::Heading, kMonStatusDisplay);
  set(kStServo, RowKind::Value, kMonServoFree);
  set(kStStatus, RowKind::Value, kMonStatus);
  set(kStInPosition, RowKind::Value, kMonCompletionWidth);
  set(kStHeading2, RowKind::Heading, kMonInputMonitor);
  set(kStHomeProximity, RowKind::Value, kMonHomeProximity);
  set(kStHome, RowKind::Value, kMonHome);
  set(kStLimitPlus, RowKind::Value, kMonLimitPlus);
  set(kStLimitMinus, RowKind::Value, kMonLimitMinus);
  return rows;
}

std::vector<MonitorCell> StatusMonitorCells(const StatusMonitorSnapshot& s, const MonitorAxis& axis) {
  std::vector<MonitorCell> cells(kStatusRowCount);
  cells[kStAxis].text = axis.label;
  if (!s.valid) return cells;
  const int n = axis.axis;
  const StatusAxisValues& v = s.axes[n];
  const bool connected = v.flags & kStatConnected;
  cells[kStConnection] = FlagCell(connected, kMonConnection, kMonNoConnection);
  if (!connected) {
    for (int row : {kStBrand, kStAmp, kStMotor, kStServo, kStStatus, kStInPosition, kStHomeProximity, kStHome,
                    kStLimitPlus, kStLimitMinus})
      cells[row].text = kNoValueText;
    return cells;
  }
  cells[kStBrand].text = IdentTextString(v.brand);
  cells[kStAmp].text = IdentTextString(v.ampModel);
  cells[kStMotor].text = IdentTextString(v.motorModel);
  cells[kStServo] = FlagCell(v.flags & kStatServoLocked, kMonLock, kMonFree);
  cells[kStStatus] = FlagCell(v.flags & kStatRunning, kMonStateActive, kMonStateInactive);
  cells[kStInPosition] = FlagCell(v.flags & kStatInPosition, kMonWithinRange, kMonOutOfRange);
  cells[kStHomeProximity] = FlagCell(v.flags & kStatHomeProximity, kMonProximity, kMonOff);
  cells[kStHome] = FlagCell(s.IsHomeOn(n), kMonHome, kMonOff);
  cells[kStLimitPlus] = FlagCell(v.flags & kStatLimitPlus, kMonLimitPlus, kMonOff);
  cells[kStLimitMinus] = FlagCell(v.flags & kStatLimitMinus, kMonLimitMinus, kMonOff);
  return cells;
}

std::vector<MonitorLine> StatusMonitorUnitLines(const StatusMonitorSnapshot& s) {
  std::vector<MonitorLine> lines = {{T(kMonModel), {}}, {T(kMonFromWrites), {}}, {T(kMonFirmware), {}},
                                    {T(kMonHardware), {}}};
  if (!s.valid) return lines;
  lines[0].text = GetModelName(s.modelCode);
  lines[1].text = Number(s.fromWrites);
  lines[2].text = VersionText(s.firmware);
  lines[3].text = VersionText(s.hardware);
  return lines;
}

}  // namespace axcfg
