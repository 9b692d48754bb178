#include "numeric_entry.h"

#include <algorithm>

namespace axview {

namespace {
int CountDigits(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }));
}
}  // namespace

void EntryState::DeleteSelection() {
  const int n = static_cast<int>(text.size());
  int a = std::clamp(std::min(start, end), 0, n), b = std::clamp(std::max(start, end), 0, n);
  text.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
  start = end = a;
}

void EntryState::Insert(const std::string& s) {
  DeleteSelection();
  text.insert(static_cast<size_t>(start), s);
  start = end = start + static_cast<int>(s.size());
}

void ToggleMinus(EntryState& s) {
  s.DeleteSelection();
  if (s.text.find('-') == std::string::npos) {
    s.text.insert(0, 1, '-');
    s.start = s.end = s.start + 1;
  } else {
    s.text.erase(std::remove(s.text.begin(), s.text.end(), '-'), s.text.end());
    s.start = s.end = std::clamp(s.start - 1, 0, static_cast<int>(s.text.size()));
  }
}

bool InsertPoint(EntryState& s, const NumberRules& rules) {
  s.DeleteSelection();
  if (rules.decimals <= 0 || s.text.find('.') != std::string::npos) return false;
  s.Insert(".");
  return true;
}

bool AcceptsDigit(const EntryState& s, const NumberRules& rules) {
  if (s.HasSelection()) return true;
  if (CountDigits(s.text) >= rules.digits) return false;
  const size_t point = s.text.find('.');
  if (point != std::string::npos && s.end > static_cast<int>(point) &&
      static_cast<int>(s.text.size() - point - 1) >= rules.decimals)
    return false;
  return true;
}

std::string FirstClipboardField(const std::string& clipboard) {
  return clipboard.substr(0, clipboard.find_first_of("\r\n\t"));
}

bool IsValidNumberText(const std::string& text, const NumberRules& rules) {
  const size_t minus = text.find('-');
  if (minus != std::string::npos && (minus != 0 || text.find('-', 1) != std::string::npos)) return false;
  const size_t point = text.find('.');
  if (point != std::string::npos && (rules.decimals <= 0 || text.find('.', point + 1) != std::string::npos))
    return false;
  for (char c : text)
    if (c != '-' && c != '.' && (c < '0' || c > '9')) return false;
  return CountDigits(text) <= rules.digits;
}

bool PasteNumber(EntryState& s, const std::string& clipboard, const NumberRules& rules) {
  const std::string field = FirstClipboardField(clipboard);
  const std::string number = field.substr(0, field.find_first_not_of("-1234567890."));
  if (number.empty()) return false;
  EntryState after = s;
  after.Insert(number);
  if (!IsValidNumberText(after.text, rules)) return false;
  s = after;
  return true;
}

}  // namespace axview
