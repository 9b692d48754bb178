#pragma once
// The guidance shown for a table column: which text id a column has, and
// how a text and its note are put together for the guidance bar.
#include <cstdint>
#include <string>

namespace axcfgui {

// The guidance text id of a positioning-table column on a sheet of the
// entry; 0 for a column without guidance.
unsigned GuidanceIdOfColumn(int column, uint32_t entry);

// The guidance bar's text: the text alone when the note is empty; otherwise
// the note (with every "ccc" replaced by "100") starting on the fifth line,
// or directly after a text that already has four or more line breaks.
std::string ComposeGuidance(const std::string& text, const std::string& note);

}  // namespace axcfgui
