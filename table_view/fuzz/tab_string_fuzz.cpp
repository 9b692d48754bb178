// Drives the tab-string functions with arbitrary bytes. The input is split at
// its first NUL into a line and the parts; the first two bytes choose the
// field indexes. Each call gets a buffer of exactly the size its contract
// asks for, so that the address sanitizer catches a write past it.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "axview/helpers.h"
#include "tab_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!data || size < 2) return 0;
  int first = static_cast<int8_t>(data[0]);
  int last = static_cast<int8_t>(data[1]);
  std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t nul = rest.find('\0');
  std::string line = rest.substr(0, nul);
  std::string parts = nul == std::string::npos ? std::string() : rest.substr(nul + 1);
  parts = parts.substr(0, parts.find('\0'));

  std::vector<char> divided(line.begin(), line.end());
  divided.push_back('\0');
  int count = DivideString(divided.data());
  if (count < 1) __builtin_trap();

  std::vector<char> out(line.size() + 3);
  int got = GetPartsOfTabSeparatedString(line.c_str(), out.data(), first, last);
  if (got > axview::FieldCount(line)) __builtin_trap();

  std::vector<char> buf(line.size() + parts.size() + 3);
  std::memcpy(buf.data(), line.c_str(), line.size() + 1);
  int before = axview::FieldCount(line);
  int replaced = SetPartsOfTabSeparatedString(buf.data(), parts.c_str(), first);
  if (replaced >= 0 && axview::FieldCount(buf.data()) != before) __builtin_trap();

  int s, e;
  SearchPartialString(line.c_str(), parts.c_str(), static_cast<BYTE>(last & 1), &s, &e);
  if (s >= 0 && (e < s || static_cast<size_t>(e) >= line.size())) __builtin_trap();

  std::vector<char> number(24);
  std::string seed = line.substr(0, 10);
  std::memcpy(number.data(), seed.c_str(), seed.size() + 1);
  InsertNumString(number.data(), parts.c_str(), last, first, static_cast<int>(number.size()));
  return 0;
}
