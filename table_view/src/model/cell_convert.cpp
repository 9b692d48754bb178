#include "cell_convert.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "platform/cp932.h"

namespace axview {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The first character's bytes, ASCII letters upper-cased.
std::string FirstCharKey(std::string_view text) {
  if (text.empty()) return {};
  unsigned char c = static_cast<unsigned char>(text[0]);
  if (c < 0x80) return std::string(1, static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
  size_t n = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  return std::string(text.substr(0, n));
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && (text[0] == ' ' || text[0] == '\t')) text.remove_prefix(1);
  return text;
}

// Keeps the first digits (+ sign) characters of a formatted number.
void CutToDigits(std::string& s, int digits, int decimals) {
  const int sign = !s.empty() && s[0] == '-' ? 1 : 0;
  size_t keep;
  if (decimals > 0) {
    size_t point = s.find('.');
    keep = static_cast<long>(point) < digits + sign - decimals ? digits + sign : digits + sign + 1;
  } else {
    keep = static_cast<size_t>(digits + sign);
  }
  if (s.size() > keep) s.resize(keep);
  if (!s.empty() && s.back() == '.') s.pop_back();
}

}  // namespace

long long ParseInt64(std::string_view text) {
  text = SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  unsigned long long value = 0;
  const unsigned long long limit = negative ? static_cast<unsigned long long>(LLONG_MAX) + 1 : LLONG_MAX;
  for (char c : text) {
    if (!IsDigit(c)) break;
    unsigned d = static_cast<unsigned>(c - '0');
    if (value > (limit - d) / 10) {
      value = limit;  // saturates like the C library
      break;
    }
    value = value * 10 + d;
  }
  if (negative) return value == static_cast<unsigned long long>(LLONG_MAX) + 1 ? LLONG_MIN : -static_cast<long long>(value);
  return static_cast<long long>(value);
}

double ParseDouble(std::string_view text) {
  text = SkipBlanks(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  double value = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large: an infinity of the right sign; too small: zero.
    bool negative = !text.empty() && text[0] == '-';
    size_t e = text.find_first_of("eE");
    bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
    return tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
  }
  return result.ec == std::errc() ? value : 0.0;
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return value != value ? "nan" : value < 0 ? "-inf" : "inf";
  std::string out(64, '\0');
  for (;;) {
    auto r = std::to_chars(out.data(), out.data() + out.size(), value, std::chars_format::fixed, decimals);
    if (r.ec == std::errc()) {
      out.resize(static_cast<size_t>(r.ptr - out.data()));
      return out;
    }
    out.resize(out.size() * 2);
  }
}

const std::string* MatchChoice(const CColumnProp& column, std::string_view text) {
  const std::string key = FirstCharKey(text);
  for (const auto& choice : column.m_choices)
    if (FirstCharKey(choice) == key) return &choice;
  return nullptr;
}

bool ConvertCellText(const CColumnProp* column, std::string_view text, std::string& out) {
  if (!column) {
    out.assign(text);
    return true;
  }
  if (column->IsChoice()) {
    const std::string* choice = MatchChoice(*column, text);
    if (!choice) return false;
    out = *choice;
    return true;
  }
  if (column->m_numeric == 1) {
    bool startsNumber = (!text.empty() && IsDigit(text[0])) || (text.size() > 1 && text[0] == '-' && IsDigit(text[1]));
    if (!startsNumber) return false;
    if (column->m_decimals > 0) {
      double value = ParseDouble(text);
      if (!std::isfinite(value)) return false;  // never store "inf" as a number
      out = FormatFixed(value, column->m_decimals);
    } else {
      out = std::to_string(ParseInt64(text));
    }
    CutToDigits(out, column->m_digits, column->m_decimals);
    return true;
  }
  if (column->m_maxLength > 0)
    out.assign(text.substr(0, platform::Cp932Prefix(text, static_cast<size_t>(column->m_maxLength))));
  else
    out.assign(text);
  return true;
}

void ConvertLineField(const CColumnProp& column, std::string_view field, std::string& out) {
  if (column.IsChoice()) {
    const std::string* choice = MatchChoice(column, field);
    out = choice ? *choice : column.m_default;
  } else if (column.m_numeric == 1) {
    out = column.m_decimals > 0 ? FormatFixed(ParseDouble(field), column.m_decimals) : std::to_string(ParseInt64(field));
  } else {
    out.assign(field);
  }
}

}  // namespace axview
