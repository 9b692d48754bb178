#pragma once
// The one reading of a tab-separated line text that every part of AxView uses:
// the line ends at its first CR or LF; its fields are separated by TAB.
#include <string>
#include <string_view>
#include <vector>

namespace axview {

// The part of text before its first CR or LF.
std::string_view LineContent(std::string_view text);
int FieldCount(std::string_view text);
// Field index of the text; empty when it does not exist.
std::string_view FieldAt(std::string_view text, int index, bool* exists = nullptr);
// All fields of the text, appended to fields after clearing it.
void SplitFields(std::string_view text, std::vector<std::string_view>& fields);
// The fields joined by single TABs, followed by CR LF.
std::string JoinFields(const std::vector<std::string_view>& fields);
// Replaces the fields of line from first on by those of parts, never adding
// fields; returns the number replaced (the line is rewritten with CR LF).
int ReplaceFields(std::string& line, std::string_view parts, int first);

}  // namespace axview
