#include "axcfg_unit/trend_channels.h"

#include "axcfg_data/fixed_point.h"
#include "axcfg_data/position_units.h"
#include "axcfg_unit/monitor_cells.h"
#include "axcfg_unit/monitor_strings.h"

namespace axcfg {

namespace {

int Index(TrendValue value) { return static_cast<int>(value); }

// A unit code the monitor can convert (the same test its cell makes).
bool IsPositionUnit(uint16_t code) {
  uint16_t known = 0;
  return UnitCodeOfChoice(UnitChoiceOfCode(code), known) && known == code;
}

}  // namespace

std::string TrendValueName(TrendValue value) {
  static const unsigned kIds[kTrendValueCount] = {kMonCurrentValue, kMonTrendSpeed, kMonTrendTorque,
                                                  kMonTrendDeviation};
  return MonitorText(kIds[Index(value)]);
}

std::string TrendValueLabel(TrendValue value) {
  static const unsigned kIds[kTrendValueCount] = {kMonConvertedValue, kMonSpeed, kMonTorque, kMonDeviation};
  return MonitorText(kIds[Index(value)]);
}

std::string TrendUnitText(TrendValue value, uint16_t unitCode) {
  switch (value) {
    case TrendValue::CurrentValue: return UnitSpeedText(unitCode);
    case TrendValue::Speed: return "rpm";
    case TrendValue::Torque: return "%";
    case TrendValue::Deviation: return UnitSpeedText(kUnitPulse);
  }
  return {};
}

bool TrendHasValue(const TrendAxisSample& s, TrendValue value) {
  return s.present && (value != TrendValue::CurrentValue || IsPositionUnit(s.unitCode));
}

double TrendDivisor(TrendValue value, uint16_t unitCode) {
  switch (value) {
    case TrendValue::CurrentValue: {
      double divisor = 1;
      for (int d = UnitDecimals(unitCode); d > 0; --d) divisor *= 10;
      return divisor;
    }
    case TrendValue::Torque: return 10;
    default: return 1;
  }
}

double TrendNumber(const TrendAxisSample& s, TrendValue value) {
  return s.raw[Index(value)] / TrendDivisor(value, s.unitCode);
}

std::string TrendNumberText(const TrendAxisSample& s, TrendValue value) {
  if (!TrendHasValue(s, value)) return {};
  const int32_t raw = s.raw[Index(value)];
  switch (value) {
    case TrendValue::CurrentValue: return FormatFixed(UnitDecimals(s.unitCode), raw);
    case TrendValue::Torque: return FormatFixed(1, raw);
    default: return std::to_string(raw);
  }
}

std::string TrendMonitorText(const TrendAxisSample& s, TrendValue value) {
  if (!TrendHasValue(s, value)) return kNoValueText;
  if (value == TrendValue::CurrentValue) return ConvertedValueText(s.raw[Index(value)], s.unitCode);
  return TrendNumberText(s, value);
}

std::string TrendChannelTitle(const TrendChannel& channel, const std::string& axisLabel, uint16_t unitCode) {
  return axisLabel + " " + TrendValueName(channel.value) + " [" + TrendUnitText(channel.value, unitCode) + "]";
}

std::string TrendAxisLabel(const std::vector<MonitorAxis>& axes, int axis) {
  for (const MonitorAxis& a : axes)
    if (a.axis == axis) return a.label;
  return std::to_string(axis + 1) + " axis";
}

}  // namespace axcfg
