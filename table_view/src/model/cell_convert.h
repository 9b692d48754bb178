#pragma once
// How a text becomes a cell value of a column, by the column's edit mode.
#include <string>
#include <string_view>

#include "axview/table_objects.h"

namespace axview {

// The first choice whose first character equals the text's, without regard to
// case; null when none does.
const std::string* MatchChoice(const CColumnProp& column, std::string_view text);

// A value the user or the owner writes into one cell: choices by first
// letter, numbers cut to the column's digits, texts to its maximum length.
// False when the text is not valid for the column. A null column takes the
// text unchanged.
bool ConvertCellText(const CColumnProp* column, std::string_view text, std::string& out);

// A field of a whole line the owner loads: choices by first letter (the
// default string when none fits), numbers reformatted, no limits applied.
void ConvertLineField(const CColumnProp& column, std::string_view field, std::string& out);

// Number texts, independent of the process locale.
long long ParseInt64(std::string_view text);
double ParseDouble(std::string_view text);
std::string FormatFixed(double value, int decimals);

}  // namespace axview
