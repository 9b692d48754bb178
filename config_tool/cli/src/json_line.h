#pragma once
// One JSON object written as one line, keys in the order they are added.
#include <string>
#include <type_traits>

namespace axcfg::cli {

class CJsonLine {
 public:
  CJsonLine& Key(const std::string& key);
  CJsonLine& Value(const std::string& text);
  CJsonLine& Value(const char* text) { return Value(std::string(text)); }
  CJsonLine& Value(long long number);
  CJsonLine& Value(bool flag);
  // Nested objects and arrays.
  CJsonLine& Open(char bracket);
  CJsonLine& Close(char bracket);
  template <typename T>
  CJsonLine& Field(const std::string& key, T value) {
    Key(key);
    if constexpr (std::is_same_v<T, bool>)
      return Value(value);
    else if constexpr (std::is_integral_v<T>)
      return Value(static_cast<long long>(value));
    else
      return Value(value);
  }
  const std::string& Text() const { return m_text; }

 private:
  void Separate();
  std::string m_text;
  bool m_first = true;  // nothing written yet at the current level
};

// The text as a JSON string literal: quotes, backslashes and control
// characters escaped; other bytes (UTF-8) as they are.
std::string JsonString(const std::string& text);

}  // namespace axcfg::cli
