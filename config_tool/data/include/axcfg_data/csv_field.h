#pragma once
// One field of comma-separated text as a CSV reader takes it back.
#include <string>

namespace axcfg {

// Appends `text` to `out`: a text holding a comma, a double quote or a line
// break goes in double quotes with its quotes doubled; any other text is
// written as it is.
void AppendCsvField(std::string& out, const std::string& text);

}  // namespace axcfg
