#pragma once
// The typing rules of a numeric cell, as pure functions of the edit field's
// text and selection: the minus key toggles the sign, the point key inserts one
// point, digit keys stop at the column's digits and decimals, and a pasted
// number must stay a valid number. Shared by the in-place edit control and the
// numeric entry fields of the find dialog.
#include <string>

namespace axview {

// The edit field: its text (ASCII in numeric mode) and its selection
// [start, end); start == end is a caret without selection.
struct EntryState {
  std::string text;
  int start = 0;
  int end = 0;
  bool HasSelection() const { return start != end; }
  void DeleteSelection();
  // Replaces the selection by s and leaves the caret after it.
  void Insert(const std::string& s);
};

struct NumberRules {
  int digits = 7;    // most digits, sign and point not counted
  int decimals = 0;  // 0: no point at all
};

// Minus key: deletes the selection, then puts a '-' in front (caret one right)
// or, when the text has one, removes every '-' (caret one left).
void ToggleMinus(EntryState& s);

// Point key: deletes the selection; inserts '.' at the caret unless the
// column has no decimals or the text holds a point already. True when the
// point was inserted.
bool InsertPoint(EntryState& s, const NumberRules& rules);

// Whether a digit key is taken: with a selection always (it replaces it);
// without one not when the text holds `digits` digits already, nor when the
// caret stands after the point and `decimals` characters follow the point.
bool AcceptsDigit(const EntryState& s, const NumberRules& rules);

// Paste into a numeric field: the clipboard text up to its first CR, LF or
// TAB, of that its leading characters from "-1234567890.". It replaces the
// selection when the result stays a valid number (one '-' at the start at
// most, one point at most and none without decimals, at most `digits`
// digits). False, and s unchanged, when nothing can be pasted.
bool PasteNumber(EntryState& s, const std::string& clipboard, const NumberRules& rules);

// The clipboard text up to its first CR, LF or TAB.
std::string FirstClipboardField(const std::string& clipboard);

// Whether text is a number these rules allow (empty and "-" count as
// unfinished numbers and are allowed).
bool IsValidNumberText(const std::string& text, const NumberRules& rules);

}  // namespace axview
