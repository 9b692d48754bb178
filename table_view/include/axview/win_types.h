#pragma once
// The plain types of AxView's exported interface. They keep the names and
// field layouts that the table view's callers are written against:
// BOOL is int (1 success, 0 failure), BYTE uint8_t, DWORD uint32_t, UINT
// unsigned, texts are UTF-8 std::string, a window is a QWidget pointer.
#include <cstdint>

#include "axview/axview_export.h"

using BOOL = int;
using BYTE = uint8_t;
using DWORD = uint32_t;
using UINT = unsigned;

class QWidget;
using HWND = QWidget*;

// A font description with the fields of the platform's LOGFONT. The face
// name is UTF-8, NUL-terminated, cut at a character boundary.
enum { LF_FACESIZE = 32 };
struct LOGFONT {
  int32_t lfHeight = 0;  // negative: character height in pixels
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;  // 400 normal, 700 bold
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};
};

struct CSize {
  int cx = 0;
  int cy = 0;
  CSize() = default;
  CSize(int w, int h) : cx(w), cy(h) {}
  bool operator==(const CSize&) const = default;
};

struct CPoint {
  int x = 0;
  int y = 0;
  CPoint() = default;
  CPoint(int px, int py) : x(px), y(py) {}
  bool operator==(const CPoint&) const = default;
};

// A rectangle with the platform's conventions. For pixel rectangles right and
// bottom lie just outside the rectangle; for selections (columns left..right,
// lines top..bottom) they are the last column and line included.
struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  CRect() = default;
  CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  void SetRectEmpty() { left = top = right = bottom = 0; }
  void NormalizeRect() {
    if (left > right) { int t = left; left = right; right = t; }
    if (top > bottom) { int t = top; top = bottom; bottom = t; }
  }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void DeflateRect(int dx, int dy) { left += dx; right -= dx; top += dy; bottom -= dy; }
  void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }
  // For pixel rectangles: the point lies inside (right and bottom excluded).
  bool PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const CRect&) const = default;
};
