#include "json_line.h"

#include "platform/json_text.h"

#include <cstdio>

namespace axcfg::cli {

std::string JsonString(const std::string& text) { return platform::JsonQuote(text); }

void CJsonLine::Separate() {
  if (!m_first) m_text += ',';
  m_first = false;
}

CJsonLine& CJsonLine::Key(const std::string& key) {
  Separate();
  m_text += JsonString(key) + ':';
  m_first = true;  // the value follows without a comma
  return *this;
}

CJsonLine& CJsonLine::Value(const std::string& text) {
  Separate();
  m_text += JsonString(text);
  return *this;
}

CJsonLine& CJsonLine::Value(long long number) {
  Separate();
  m_text += std::to_string(number);
  return *this;
}

CJsonLine& CJsonLine::Value(bool flag) {
  Separate();
  m_text += flag ? "true" : "false";
  return *this;
}

CJsonLine& CJsonLine::Open(char bracket) {
  Separate();
  m_text += bracket;
  m_first = true;
  return *this;
}

CJsonLine& CJsonLine::Close(char bracket) {
  m_text += bracket;
  m_first = false;
  return *this;
}

}  // namespace axcfg::cli
