#include "axcfg_data/fixed_point.h"

#include <charconv>
#include <limits>

namespace axcfg {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Digits only after an optional sign; from_chars alone would accept a
// prefix and ignore the rest.
bool ParseWhole(std::string_view s, int64_t& value) {
  if (s.empty()) return false;
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (negative) {
    if (magnitude > kMaxPositive + 1) return false;
    value = magnitude == kMaxPositive + 1 ? std::numeric_limits<int64_t>::min()
                                          : -static_cast<int64_t>(magnitude);
  } else {
    if (magnitude > kMaxPositive) return false;
    value = static_cast<int64_t>(magnitude);
  }
  return true;
}

}  // namespace

std::string FormatFixed(int decimals, int64_t value) {
  if (decimals < 0) decimals = 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (digits.size() < static_cast<size_t>(decimals)) digits.insert(0, decimals - digits.size(), '0');
  if (decimals > 0) {
    digits.insert(digits.size() - decimals, 1, '.');
    if (digits.front() == '.') digits.insert(0, 1, '0');
  }
  if (value < 0) digits.insert(0, 1, '-');
  return digits;
}

bool ParseFixed(std::string_view text, int decimals, int64_t& value) {
  if (decimals < 0) decimals = 0;
  std::string s(Trim(text));
  size_t point = s.find('.');
  int missing = decimals;
  if (point != std::string::npos) {
    size_t after = s.size() - point - 1;
    while (after > static_cast<size_t>(decimals) && s.back() == '0') {
      s.pop_back();
      --after;
    }
    if (after > static_cast<size_t>(decimals)) return false;
    s.erase(point, 1);
    missing = decimals - static_cast<int>(after);
  }
  int64_t v = 0;
  if (!ParseWhole(s, v)) return false;
  for (int i = 0; i < missing; ++i) {
    if (v > std::numeric_limits<int64_t>::max() / 10 || v < std::numeric_limits<int64_t>::min() / 10)
      return false;
    v *= 10;
  }
  value = v;
  return true;
}

bool ParseInteger(std::string_view text, int64_t minimum, int64_t maximum, int64_t& value) {
  int64_t v = 0;
  if (!ParseWhole(Trim(text), v) || v < minimum || v > maximum) return false;
  value = v;
  return true;
}

}  // namespace axcfg
