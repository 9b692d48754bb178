#pragma once
// What one line of a trend means: an axis and one of its values, with the
// value's name, its unit, the number plotted and the text the data monitor
// shows for it.
#include <string>
#include <vector>

#include "axcfg_unit/trend_recorder.h"

namespace axcfg {

struct TrendChannel {
  int axis = 0;  // axis index 0..7
  TrendValue value = TrendValue::CurrentValue;
  bool operator==(const TrendChannel&) const = default;
};

// The short name of a value in the channel chooser ("Current value", "Speed", ...).
std::string TrendValueName(TrendValue value);
// The monitor's row label of a value ("Actual speed (rpm)", ...).
std::string TrendValueLabel(TrendValue value);
// The unit of a value: the position unit's short name for the current value
// ("um", "inch", "degree", "pulse"), "rpm", "%" and "pulse".
std::string TrendUnitText(TrendValue value, uint16_t unitCode);
// Whether an axis sample holds this value: the axis was present and, for the
// current value, its unit code is a unit of position.
bool TrendHasValue(const TrendAxisSample& sample, TrendValue value);
// The value in its unit (the current value with its decimals, the torque in %).
double TrendNumber(const TrendAxisSample& sample, TrendValue value);
// What TrendNumber divides the raw value by, for a value in `unitCode`.
double TrendDivisor(TrendValue value, uint16_t unitCode);
// The value as a number in its unit with its decimals ("12.5"); empty when absent.
std::string TrendNumberText(const TrendAxisSample& sample, TrendValue value);
// The value as the data monitor's cell shows it ("12.5 um  Min. unit 0.1 um",
// "30.0", "1000"); "--------" when absent.
std::string TrendMonitorText(const TrendAxisSample& sample, TrendValue value);

// "1 axis Current value [um]": the column title of a channel, its unit taken
// from `unitCode`.
std::string TrendChannelTitle(const TrendChannel& channel, const std::string& axisLabel, uint16_t unitCode);
// The label of an axis index among `axes` ("N axis" when it is not among them).
std::string TrendAxisLabel(const std::vector<MonitorAxis>& axes, int axis);

}  // namespace axcfg
