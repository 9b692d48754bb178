#include "navigation.h"

#include <algorithm>

namespace axview {

SelState SingleCell(int line, int column) { return {CRect(column, line, column, line), CPoint(column, line)}; }

namespace {

// Moves one axis: cursor position, the selection's low and high edges.
void MoveAxis(int& cursor, int& low, int& high, int delta, bool shift, int count, bool& collapse) {
  const int last = count - 1;
  if (!shift) {
    cursor = std::clamp(cursor + delta, 0, last);
    collapse = true;
    return;
  }
  if (delta < 0) {
    if (high > cursor) high = std::max(cursor, high + delta);
    else low = std::max(0, low + delta);
  } else {
    if (low < cursor) low = std::min(cursor, low + delta);
    else high = std::min(last, high + delta);
  }
}

}  // namespace

SelState MoveLines(SelState s, int delta, bool shift, int lineCount) {
  if (lineCount <= 0) return s;
  bool collapse = false;
  MoveAxis(s.cur.y, s.sel.top, s.sel.bottom, delta, shift, lineCount, collapse);
  return collapse ? SingleCell(s.cur.y, s.cur.x) : s;
}

SelState MoveColumns(SelState s, int delta, bool shift, int columnCount) {
  if (columnCount <= 0) return s;
  bool collapse = false;
  MoveAxis(s.cur.x, s.sel.left, s.sel.right, delta, shift, columnCount, collapse);
  return collapse ? SingleCell(s.cur.y, s.cur.x) : s;
}

SelState KeyHome(SelState s, bool ctrl, bool shift) {
  if (!shift) return ctrl ? SingleCell(0, 0) : SingleCell(s.sel.top, 0);
  s.sel.left = 0;
  s.cur.x = 0;
  if (ctrl) {
    s.sel.top = 0;
    s.cur.y = 0;
  }
  return s;
}

SelState KeyEnd(SelState s, bool ctrl, bool shift, int lineCount, int columnCount) {
  if (lineCount <= 0 || columnCount <= 0) return s;
  const int lastLine = lineCount - 1, lastColumn = columnCount - 1;
  if (!shift) return ctrl ? SingleCell(lastLine, lastColumn) : SingleCell(s.sel.top, lastColumn);
  s.sel.right = lastColumn;
  if (ctrl) s.sel.bottom = lastLine;
  return s;
}

SelState KeyReturn(SelState s, bool shift, int lineCount) {
  if (s.sel.left == s.sel.right && s.sel.top == s.sel.bottom) return MoveLines(s, shift ? -1 : 1, false, lineCount);
  if (!shift) {
    if (s.cur.y < s.sel.bottom) {
      ++s.cur.y;
    } else {
      s.cur.y = s.sel.top;
      s.cur.x = s.cur.x < s.sel.right ? s.cur.x + 1 : s.sel.left;
    }
  } else {
    if (s.cur.y > s.sel.top) {
      --s.cur.y;
    } else {
      s.cur.y = s.sel.bottom;
      s.cur.x = s.cur.x > s.sel.left ? s.cur.x - 1 : s.sel.right;
    }
  }
  return s;
}

}  // namespace axview
