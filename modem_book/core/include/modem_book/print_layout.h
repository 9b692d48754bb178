#pragma once
// The printed list as data: which lines go on which page. Page 1 (and the
// pages after it when they do not fit) carry the settings of the 15 ports,
// four lines each; the entries follow on new pages, four lines each (title,
// phone number, property text, a blank line). Every page is headed by the
// caption at the left and "PAGE : n" at the right.
#include <string>
#include <vector>

#include "modem_book/tel_connect_doc.h"

namespace modembook {

// Left margin of all text, in logical units (0.2 inch at 600 units per inch).
constexpr int kPrintIndent = 120;
// Lines of a page taken by its heading (the heading and a blank line).
constexpr int kPrintHeadingLines = 2;

struct PrintLine {
  std::string text;
  std::string second;  // drawn in the second half of the line; empty for most
};

struct PrintPage {
  int number = 1;
  std::string caption;
  std::string pageText;  // "PAGE : n"
  std::vector<PrintLine> lines;
};

struct PrintLayout {
  int linesPerPage = 1;
  int entriesPerPage = 1;
  std::vector<PrintPage> pages;
};

// Lines per page = printable height / text height (at least 1); entries per
// page = lines / 4 - 1, at least 1.
PrintLayout LayoutPrint(const CTelConnectDoc& doc, int printableHeight, int textHeight);

}  // namespace modembook
