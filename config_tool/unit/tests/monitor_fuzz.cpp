// Fuzz entry for what the monitors make of the unit's words: every read
// answers words taken from the input (by address, wrapping around), so the
// layout, model, flags, codes, unit codes and identification texts take any
// values. Reading the configuration, both cycles (merged or not), every cell
// and the unit lines must neither crash nor give a cell list of the wrong
// length, and identification texts must stay plain ASCII.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_cells.h"
#include "axcfg_unit/monitor_cycle.h"
#include "axcfg_unit/unit_link.h"
#include "fake_unit.h"
#include "input_unit.h"

using namespace axcfg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterAxisCfgDataStrings(), true);
  (void)registered;
  if (size < 2) return 0;
  axcfg_test::InputUnit unit(data, size);
  axcfg_test::RecordingUi ui;
  CUnitLink link("Axis Configurator", unit, ui);
  link.Open(nullptr, false, false, false);
  CUnitAxisConfig config;
  std::vector<MonitorAxis> axes;
  if (ReadUnitAxisConfig(link, config) == 0) {
    axes = MonitorAxes(config.layout);
  } else {
    for (int n = 0; n < kAxisCount; ++n) axes.push_back({n, "axis"});
  }
  const bool merge = data[0] & 1;
  DataMonitorSnapshot data1;
  StatusMonitorSnapshot status;
  if (CDataMonitorCycle(merge).Read(link, axes, data1) != 0) std::abort();
  if (CStatusMonitorCycle(merge).Read(link, axes, status) != 0) std::abort();
  for (uint32_t family : {0u, 1u, config.family}) {
    const size_t rows = DataMonitorRows(family).size();
    for (const MonitorAxis& a : axes)
      if (DataMonitorCells(data1, family, a).size() != rows) std::abort();
  }
  const size_t statusRows = StatusMonitorRows().size();
  for (const MonitorAxis& a : axes) {
    const auto cells = StatusMonitorCells(status, a);
    if (cells.size() != statusRows) std::abort();
    for (const auto& cell : cells)
      for (unsigned char c : cell.text)
        if (c >= 0x80 && cell.text != MonitorCodeText(0)) std::abort();
  }
  if (StatusMonitorUnitLines(status).size() != 4) std::abort();
  return 0;
}
