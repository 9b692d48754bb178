// Fuzz entry for the row text parser and the parameter setters: any input
// must neither crash nor break the data. The first byte picks the axis
// entry, the second the unit of its first axis, the rest is the row text.
// A text that parses must build a row text that parses back to itself; the
// same bytes are also fed to SetParam, and every parameter is then
// formatted and checked.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/axis_layout.h"
#include "axcfg_data/param_block.h"
#include "axcfg_data/pos_data.h"
#include "axcfg_data/pos_row_text.h"

using namespace axcfg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterAxisCfgDataStrings(), true);
  (void)registered;
  if (size < 2) return 0;
  static const uint32_t kEntries[] = {MakeSingleAxisEntry(0), MakeSingleAxisEntry(7), MakeGroupEntry(1, 0x12),
                                      MakeGroupEntry(4, 0x85), 0x01010004, MakeGroupEntry(2, 0x0F), 0};
  const uint32_t entry = kEntries[data[0] % (sizeof kEntries / sizeof kEntries[0])];
  CParamBlock params;
  AxisList axes = EntryAxes(entry);
  if (axes.count > 0) params.SetParam(kParamUnit, axes.axes[0], data[1] % 8);
  std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  CPosData row;
  if (ParseRowText(row, params, entry, text)) {
    const std::string built = BuildRowText(row, params, entry);
    CPosData again;
    if (!ParseRowText(again, params, entry, built) || BuildRowText(again, params, entry) != built) std::abort();
  }

  // The same bytes as parameter writes: (number, axis, 32-bit value) triples.
  for (size_t i = 2; i + 6 <= size; i += 6) {
    uint32_t value = static_cast<uint32_t>(data[i + 2]) | (static_cast<uint32_t>(data[i + 3]) << 8) |
                     (static_cast<uint32_t>(data[i + 4]) << 16) | (static_cast<uint32_t>(data[i + 5]) << 24);
    params.SetFamily(data[i] & 0x80 ? 1 : 0);
    params.SetParam(static_cast<int8_t>(data[i]) % 64, static_cast<int8_t>(data[i + 1]) % 10, value);
  }
  for (int axis = 0; axis < 8; ++axis) {
    for (int no = -1; no <= kParamCount; ++no) {
      params.FormatParam(no, axis);
      params.GetGuidance(no, axis);
      params.GetEditLength(no, axis);
    }
  }
  params.CheckAll();
  return 0;
}
