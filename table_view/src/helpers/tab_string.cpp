// The exported C functions on tab-separated texts and plain strings.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "axview/helpers.h"
#include "tab_text.h"

extern "C" {

int DivideString(char* text) {
  if (!text) return 0;
  int tabs = 0;
  for (char* p = text; *p; ++p) {
    if (*p == '\t') {
      ++tabs;
      *p = '\0';
    } else if (*p == '\r' || *p == '\n') {
      *p = '\0';
    }
  }
  return tabs + 1;
}

int GetPartsOfTabSeparatedString(const char* text, char* out, int first, int last) {
  if (!text || !out || first < 0) return -1;
  std::string_view line(text);
  int count = axview::FieldCount(line);
  if (first >= count || last >= count) return -1;
  // The caller provides strlen(text) + 3 bytes; every result below fits
  // (fields of the line before its end, at most two more bytes, the NUL).
  const size_t capacity = line.size() + 3;
  std::string result;
  int copied;
  if (last >= 0 && last <= first) {
    result = std::string(axview::FieldAt(line, first));
    copied = 1;
  } else {
    std::vector<std::string_view> fields;
    axview::SplitFields(line, fields);
    int end = last < 0 ? count - 1 : last;
    std::vector<std::string_view> part(fields.begin() + first, fields.begin() + end + 1);
    result = axview::JoinFields(part);
    copied = end - first + 1;
  }
  if (result.size() + 1 > capacity) return -1;
  std::memcpy(out, result.c_str(), result.size() + 1);
  return copied;
}

int SetPartsOfTabSeparatedString(char* line, const char* parts, int first) {
  if (!line || !parts || first < 0) return -1;
  const size_t capacity = std::strlen(line) + std::strlen(parts) + 3;
  std::string text(line);
  int replaced = axview::ReplaceFields(text, parts, first);
  if (text.size() + 1 > capacity) return -1;
  std::memcpy(line, text.c_str(), text.size() + 1);
  return replaced;
}

char* InsertNumString(char* number, const char* insert, int maxDigits, int caret, int bufferSize) {
  if (!number || !insert || bufferSize <= 0) return nullptr;
  size_t length = strnlen(number, static_cast<size_t>(bufferSize));
  if (length >= static_cast<size_t>(bufferSize)) return nullptr;  // not terminated inside the buffer
  if (maxDigits <= 0) maxDigits = 100;
  std::string text(number, length);
  if (caret < 0 || static_cast<size_t>(caret) > text.size()) caret = static_cast<int>(text.size());
  // The sign stays in front of everything inserted.
  if (!text.empty() && text[0] == '-' && caret == 0) caret = 1;
  int digits = 0;
  bool hasPoint = false;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) ++digits;
    if (c == '.') hasPoint = true;
  }
  size_t room = static_cast<size_t>(bufferSize) - 1 - text.size();
  std::string added;
  for (const char* p = insert; *p && added.size() < room; ++p) {
    if (std::isdigit(static_cast<unsigned char>(*p))) {
      if (digits >= maxDigits) continue;
      ++digits;
      added.push_back(*p);
    } else if (*p == '.' && !hasPoint) {
      hasPoint = true;
      added.push_back('.');
    }
  }
  text.insert(static_cast<size_t>(caret), added);
  std::memcpy(number, text.c_str(), text.size() + 1);
  return number + caret + added.size();
}

void SearchPartialString(const char* text, const char* pattern, BYTE flags, int* start, int* end) {
  if (start) *start = -1;
  if (end) *end = -1;
  if (!text || !pattern || !start || !end) return;
  std::string t(text), p(pattern);
  if (p.empty() || p.size() > t.size()) return;
  if (flags & 0x1) {
    for (auto& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (auto& c : p) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  size_t at = t.find(p);
  if (at == std::string::npos) return;
  *start = static_cast<int>(at);
  *end = static_cast<int>(at + p.size() - 1);
}

}  // extern "C"
