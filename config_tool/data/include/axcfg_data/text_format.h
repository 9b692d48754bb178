#pragma once
// Safe printf-style formatting for texts that come from string tables.
// A translated table may carry any placeholders, so the format is never
// handed to the C library: only %d, %s, %c and %% are understood, arguments
// are taken in order, and a missing argument gives an empty replacement.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace axcfg {

class FormatArg {
 public:
  FormatArg(int v) : kind_(Kind::Int), int_(v) {}
  FormatArg(long v) : kind_(Kind::Int), int_(v) {}
  FormatArg(long long v) : kind_(Kind::Int), int_(v) {}
  FormatArg(unsigned v) : kind_(Kind::Int), int_(v) {}
  FormatArg(char c) : kind_(Kind::Char), int_(static_cast<unsigned char>(c)) {}
  FormatArg(const char* s) : kind_(Kind::Text), text_(s ? s : "") {}
  FormatArg(const std::string& s) : kind_(Kind::Text), text_(s) {}
  FormatArg(std::string_view s) : kind_(Kind::Text), text_(s) {}

  // The text of the argument for a %d, %s or %c placeholder.
  std::string As(char conversion) const;

 private:
  enum class Kind { Int, Char, Text };
  Kind kind_;
  long long int_ = 0;
  std::string_view text_;
};

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

}  // namespace axcfg
