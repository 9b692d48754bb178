#pragma once
// Pieces of JSON output that programs write by hand (to keep their keys in a
// fixed order): a quoted string and bytes as lower-case hexadecimal.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The UTF-8 text as a JSON string: quotes, backslashes and control
// characters escaped, everything else as it is.
std::string JsonQuote(const std::string& text);
// "0a1b..." for the bytes.
std::string HexBytes(const uint8_t* bytes, size_t count);

}  // namespace platform
