#pragma once
// Texts are UTF-8 in memory and Shift_JIS (code page 932) bytes in files,
// records and on the unit. Length limits count bytes in that encoding.
#include <cstddef>
#include <string>
#include <string_view>

namespace axcfg {

// Encodes UTF-8 as code page 932; characters without a code become '?'.
std::string Cp932FromUtf8(std::string_view utf8);
// Decodes code page 932 bytes; undecodable bytes become U+FFFD.
std::string Utf8FromCp932(std::string_view cp932);
// The number of bytes the text takes in code page 932.
size_t Cp932Length(std::string_view utf8);

}  // namespace axcfg
