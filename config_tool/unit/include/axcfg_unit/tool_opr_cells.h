#pragma once
// What the tool operation windows draw: their rows (labels, value rows and
// the buttons under the axis columns) and, per axis column, each cell's text
// and colour. The windows and the command line both draw from here.
#include <string>
#include <vector>

#include "axcfg_unit/monitor_cells.h"
#include "axcfg_unit/tool_opr_cycle.h"

namespace axcfg {

// What a button cell does when clicked (or held).
enum class ToolButton {
  kNone,
  kCurrentValue,   // "Current value update", or "Coordinate origin" in the Homing window
  kJogSpeed,       // "Change" of the JOG target speed
  kJogPlus,        // "+", held
  kJogMinus,       // "-", held
  kTeach,          // "Teaching"
  kErrorClear,
  kWarningClear,
  kChangeSync,     // "Change synchronous"
  kStartStop,      // "Start" / "Stop" (Homing, Positioning)
  kStartingTable,  // "Change" of the starting table No.
};

struct ToolOprRow {
  RowKind kind = RowKind::Value;
  std::string label;
  bool numeric = false;
  ToolButton button = ToolButton::kNone;  // kind Button only
  bool hold = false;                      // a press-and-hold button

  bool IsButton() const { return kind == RowKind::Button; }
};

// The rows of a window, top to bottom; the first row holds the axis labels.
// The servo network family has no deviation row.
std::vector<ToolOprRow> ToolOprRows(ToolOprWindow window, uint32_t family);

// One cell per row of ToolOprRows. `teachTable` is the Teaching window's
// table No. of the axis. Before the first successful cycle only the axis
// label and the button texts show.
std::vector<MonitorCell> ToolOprCells(const ToolOprSnapshot& snap, ToolOprWindow window, uint32_t family,
                                      const MonitorAxis& axis, int teachTable = 1);

// The text of a home return mode; "--------" for an unknown mode.
std::string HomeReturnModeText(uint16_t mode, uint32_t family);

// The window's title.
std::string ToolOprWindowTitle(ToolOprWindow window);

}  // namespace axcfg
