#pragma once
// Clipboard blocks of cells: the text form (TAB-separated fields, one line per
// table line, each ended by CR LF) and the checks a paste makes against the
// sheet and the selection. No window code.
#include <string>
#include <vector>

#include "axview/table_objects.h"

namespace axview {

// The lines of a clipboard text, cut at CR LF, a lone CR or a lone LF; a last
// piece without line end is a line, an empty one after the last line end is
// not. At most maxLines lines (no limit when negative).
std::vector<std::string> SplitClipboardLines(const std::string& text, int maxLines = -1);
std::vector<std::string> SplitFields(const std::string& line);

// The selected block of a sheet as clipboard text.
std::string CopyBlock(const CSheetObj& sheet, const CRect& selection);

// Empties the selected fields of a line text, keeping its field count and
// line end.
std::string EmptyFields(const std::string& line, int left, int right);

struct PasteShape {
  int rows = 0;
  int columns = 0;
  int repeatDown = 0;
  int repeatAcross = 0;
};

// 1 pasteable; 0 the selection's left column or its lines lie outside the
// sheet; -1 the selection is no whole multiple of the block; -2 a value's kind
// does not suit its column (a number into a text-only choice or a text into a
// numeric column); -3 a value fits no choice of its choice column.
int CheckPaste(const CSheetObj& sheet, const CRect& selection, const std::string& text, PasteShape& shape);

}  // namespace axview
