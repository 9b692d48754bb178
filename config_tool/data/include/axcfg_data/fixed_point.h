#pragma once
// Values are integers in the least unit; decimals are only a way of showing
// them. FormatFixed and ParseFixed turn such integers into text and back.
#include <cstdint>
#include <string>
#include <string_view>

namespace axcfg {

// 12345 with 1 decimal gives "1234.5"; 5 with 3 decimals "0.005"; -5 "-0.005".
std::string FormatFixed(int decimals, int64_t value);

// "12.5" with 3 decimals gives 12500; "1.2340" gives 1234; "1.2345" is
// rejected. Surrounding blanks are allowed. Returns false for text that is
// not such a number or whose value does not fit in 64 bits.
bool ParseFixed(std::string_view text, int decimals, int64_t& value);

// A decimal integer (optional sign, surrounding blanks allowed) that fits in
// the given bounds.
bool ParseInteger(std::string_view text, int64_t minimum, int64_t maximum, int64_t& value);

}  // namespace axcfg
