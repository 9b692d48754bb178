#pragma once
// How the keyboard moves the cursor and the selection of a sheet. Pure
// functions of the selection state and the table's size.
#include "axview/win_types.h"

namespace axview {

struct SelState {
  CRect sel;    // columns left..right, lines top..bottom
  CPoint cur;   // x column, y line
};

// Moves the cursor by delta lines (or, with shift, the selection edge away
// from the cursor), never beyond the table.
SelState MoveLines(SelState s, int delta, bool shift, int lineCount);
SelState MoveColumns(SelState s, int delta, bool shift, int columnCount);
SelState KeyHome(SelState s, bool ctrl, bool shift);
SelState KeyEnd(SelState s, bool ctrl, bool shift, int lineCount, int columnCount);
// Enter: down (shift: up) one line for a single cell, otherwise through the
// selection column by column, wrapping round.
SelState KeyReturn(SelState s, bool shift, int lineCount);
SelState SingleCell(int line, int column);

}  // namespace axview
