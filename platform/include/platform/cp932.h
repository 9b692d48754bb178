#pragma once
// Texts in files, records and frames are Shift_JIS (code page 932) bytes; in
// memory they are UTF-8. These convert between the two and count a text's
// length the way the stored formats limit it: in code page 932 bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Characters without a code page 932 form become '?'.
std::string Cp932FromUtf8(std::string_view utf8);
// Bytes that are not valid code page 932 become U+FFFD.
std::string Utf8FromCp932(std::string_view cp932);
// Bytes the text takes in code page 932 (a character without a code page 932
// form counts as two, so a limit checked with it always holds on disk).
size_t Cp932Length(std::string_view utf8);
// The longest leading part of the UTF-8 text (whole characters) that takes
// at most maxBytes in code page 932; its length in UTF-8 bytes.
size_t Cp932Prefix(std::string_view utf8, size_t maxBytes);
// The first character of the UTF-8 text (as UTF-8) that code page 932
// cannot hold, so that saving would change it; empty when every one fits.
std::string FirstCharNotInCp932(std::string_view utf8);

}  // namespace platform
