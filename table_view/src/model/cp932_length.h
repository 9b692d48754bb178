#pragma once
// Lengths as the files and the unit count them: in Shift_JIS (code page 932)
// bytes, one for ASCII and half-width katakana, two for other characters.
#include <cstddef>
#include <string_view>

namespace axview {

size_t Cp932Length(std::string_view utf8);
// The byte length of the longest prefix of utf8 whose code-page-932 length is
// at most maxBytes; characters are never cut.
size_t Cp932Prefix(std::string_view utf8, size_t maxBytes);

}  // namespace axview
