#pragma once
// How the find dialog compares a cell with the text searched for: marks
// that carry no space and symbols are ignored always, case unless asked to
// match it. Qt Core only.
#include <string>

namespace axview {

// Whole-cell comparison with those options.
bool CellEquals(const std::string& cell, const std::string& text, bool matchCase);

// The first occurrence of text in cell: start byte offset and offset of its
// last byte; false when there is none. Case is ignored unless matchCase.
bool FindInCell(const std::string& cell, const std::string& text, bool matchCase, int& start, int& end);

// cell with every occurrence of find replaced by replace, exactly (case
// sensitive); cell unchanged for an empty find.
std::string ReplaceAll(const std::string& cell, const std::string& find, const std::string& replace);

}  // namespace axview
