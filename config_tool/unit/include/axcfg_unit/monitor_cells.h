#pragma once
// What the monitor windows draw, as text: the rows of the data monitor and
// the status monitor, and for each axis column the text and colour of every
// cell. The windows and the command line both draw from here.
#include <array>
#include <string>
#include <vector>

#include "axcfg_unit/monitor_snapshot.h"
#include "axcfg_unit/unit_axis_config.h"

namespace axcfg {

// The text shown for a value that does not exist.
inline constexpr const char* kNoValueText = "--------";

// Colours of a cell.
enum class CellColour {
  Plain,    // window text on the window background
  Face,     // window text on the button face
  Set,      // window text on green
  Error,    // white on red
  Warning,  // black on yellow
  Active,   // black on cyan
};

enum class RowKind {
  Value,    // a label and one cell per axis
  Spacer,   // an empty line
  Button,   // the clear buttons under the axis columns
  Heading,  // a label without values
};

struct MonitorRow {
  RowKind kind = RowKind::Value;
  std::string label;
  bool numeric = false;  // right-aligned with one trailing blank; otherwise centred
};

struct MonitorCell {
  std::string text;
  CellColour colour = CellColour::Plain;
};

// Column set 0 for the servo network family, 1 for the interpolation family.
std::vector<MonitorRow> DataMonitorRows(uint32_t family);
// One cell per row of DataMonitorRows (spacer and button rows empty). Before
// the first successful cycle every value is empty but the axis label.
std::vector<MonitorCell> DataMonitorCells(const DataMonitorSnapshot& snap, uint32_t family, const MonitorAxis& axis);

std::vector<MonitorRow> StatusMonitorRows();
std::vector<MonitorCell> StatusMonitorCells(const StatusMonitorSnapshot& snap, const MonitorAxis& axis);

// The unit-wide lines of the status monitor: "Model" with the model name,
// the FROM write count, the firmware and the hardware version.
struct MonitorLine {
  std::string label;
  std::string text;
};
std::vector<MonitorLine> StatusMonitorUnitLines(const StatusMonitorSnapshot& snap);

// Helpers the cells are made of.
// The synchronous group, mode and condition texts of an axis: the first
// group holding it as master, else as slave; "--------" three times for none.
std::array<std::string, 3> SyncCellTexts(const std::array<SyncGroupState, 2>& sync, int axis);
// "State of axis": error, warning, not connected, active or inactive.
MonitorCell AxisStateCell(bool error, bool warning, bool connected, bool busy);
// 0 → "--------"; otherwise "%05d-E%04X" of the high and low 16 bits.
std::string MonitorCodeText(uint32_t code);
// "%2X.%02X" of the high and low byte.
std::string VersionText(uint16_t version);
// The bytes up to the first NUL, bytes of 0x80 and above as ".".
std::string IdentTextString(const IdentText& text);
// A value in the least unit of a position unit with its decimals, a blank and
// the unit's name; "--------" for a code that is not a position unit.
std::string ConvertedValueText(int32_t value, uint16_t unitCode);

}  // namespace axcfg
