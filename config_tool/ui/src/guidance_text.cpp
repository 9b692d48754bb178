#include "guidance_text.h"

#include <algorithm>

#include "axcfg_data/axis_layout.h"
#include "axcfg_data/pos_columns.h"

namespace axcfgui {

unsigned GuidanceIdOfColumn(int column, uint32_t entry) {
  using namespace axcfg;
  const bool group = IsGroupEntry(entry);
  if (IsMoveColumn(column)) return 20604;
  if (IsAuxPointColumn(column)) return 20606;
  switch (column) {
    case kColControlMethod: return group ? 20559 : 20558;
    case kColJumpNo: return 20601;
    case kColInterpPattern: return EntryAxisCount(entry) >= 3 ? 20614 : 20602;
    case kColPositionMode: return 20603;
    case kColAccelPattern: return 20607;
    case kColAccelTime: return 20608;
    case kColDecelTime: return 20609;
    case kColAxisSpeed:
    case kColInterpSpeed: return 20610;
    case kColDwellTime: return group ? 20611 : 20615;
    case kColAuxCode: return 20612;
    case kColComment: return 20613;
    default: return 0;
  }
}

std::string ComposeGuidance(const std::string& text, const std::string& note) {
  if (note.empty()) return text;
  std::string filled = note;
  for (size_t at = filled.find("ccc"); at != std::string::npos; at = filled.find("ccc", at + 3))
    filled.replace(at, 3, "100");
  const int breaks = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  std::string shown = text;
  for (int i = 0; i < 4 - breaks; ++i) shown += "\r\n";
  return shown + filled;
}

}  // namespace axcfgui
