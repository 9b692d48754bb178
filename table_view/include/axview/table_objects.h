#pragma once
// The objects a table view holds: sheets, their columns and their lines.
#include <memory>
#include <string>
#include <vector>

#include "axview/win_types.h"

// One table line: all its cells as one text, fields separated by TAB; it may
// end with CR LF, which belongs to no cell.
class AXVIEW_API CLineProp {
 public:
  CLineProp() = default;
  explicit CLineProp(std::string text) : m_text(std::move(text)) {}

  std::string m_text;
  DWORD m_data = 0;  // a word for the owner
};

// A column of a sheet: title, edit mode and choice strings. Copying copies
// every member, the choice strings entry by entry.
class AXVIEW_API CColumnProp {
 public:
  DWORD m_data = 0;                    // a word for the owner
  int m_maxLength = -1;                // most characters of a text cell; -1 or 0: no limit
  std::vector<std::string> m_choices;  // non-empty: a choice column
  BYTE m_numeric = 0;                  // 1 numeric, 0 text (always 0 with choices)
  BYTE m_digits = 7;                   // most digits of a numeric cell (sign and point not counted)
  BYTE m_decimals = 0;                 // decimal places; 0 for integers
  std::string m_default;               // a choice cell's text when a value matches no choice
  int m_standardWidth = 0;             // width restored by a double click on the header divider
  std::string m_title;                 // header caption
  int m_index = -1;                    // position in its sheet
  CRect m_extent;                      // pixels from the line header's right edge; empty until laid out

  bool IsChoice() const { return !m_choices.empty(); }
  bool IsNumeric() const { return m_numeric == 1 && m_choices.empty(); }
};

// A sheet: a tab of the view with its own lines, columns, selection and
// scroll position.
class AXVIEW_API CSheetObj {
 public:
  CRect m_selection;  // columns left..right, lines top..bottom, normalised
  CPoint m_cursor;    // x column, y line; inside the selection
  std::string m_name;
  std::vector<std::unique_ptr<CLineProp>> m_lines;
  std::vector<std::unique_ptr<CColumnProp>> m_columns;
  int m_topLine = 0;   // first line shown
  int m_lineCount = 0;  // always the number of lines
  int m_hScroll = 0;   // horizontal scroll position in pixels
  DWORD m_data = 0;    // a word for the owner
};
