#pragma once
// The main window's placement as the registry keeps it (section
// "WindowPlacement"), with its first-start default: 80 % of the desktop,
// centred.
#include <string>

namespace axcfgui {

struct PlacementRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PlacementRect&) const = default;
};

struct WindowPlacementRecord {
  int flags = 0;
  int showCmd = 1;  // 1 normal, 2 minimised, 3 maximised
  int minX = -1, minY = -1;
  int maxX = -1, maxY = -1;
  PlacementRect normal;
  bool operator==(const WindowPlacementRecord&) const = default;
};

// 80 % of the desktop's width and height (truncated), centred: the left/top
// are the desktop's centre minus half of the size, halves truncated.
PlacementRect DefaultNormalRect(const PlacementRect& desktop);

// Reads the record with the defaults for missing values. False, with the
// record all zero, when the tool's registry key does not exist.
bool LoadWindowPlacement(WindowPlacementRecord& record, const PlacementRect& desktop);
// Writes all ten values; false (nothing written) without the tool's key.
bool SaveWindowPlacement(const WindowPlacementRecord& record);

// The bar layout of the main window, kept under the section "Ax".
bool LoadBarState(std::string& state);
bool SaveBarState(const std::string& state);

}  // namespace axcfgui
