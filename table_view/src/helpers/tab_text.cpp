#include "tab_text.h"

namespace axview {

std::string_view LineContent(std::string_view text) {
  size_t end = text.find_first_of("\r\n");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

int FieldCount(std::string_view text) {
  std::string_view content = LineContent(text);
  int count = 1;
  for (char c : content)
    if (c == '\t') ++count;
  return count;
}

std::string_view FieldAt(std::string_view text, int index, bool* exists) {
  if (exists) *exists = false;
  if (index < 0) return {};
  std::string_view content = LineContent(text);
  size_t pos = 0;
  for (int i = 0; i < index; ++i) {
    size_t tab = content.find('\t', pos);
    if (tab == std::string_view::npos) return {};
    pos = tab + 1;
  }
  size_t tab = content.find('\t', pos);
  if (exists) *exists = true;
  return content.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos);
}

void SplitFields(std::string_view text, std::vector<std::string_view>& fields) {
  fields.clear();
  std::string_view content = LineContent(text);
  size_t pos = 0;
  for (;;) {
    size_t tab = content.find('\t', pos);
    if (tab == std::string_view::npos) {
      fields.push_back(content.substr(pos));
      return;
    }
    fields.push_back(content.substr(pos, tab - pos));
    pos = tab + 1;
  }
}

std::string JoinFields(const std::vector<std::string_view>& fields) {
  size_t size = 2 + fields.size();
  for (auto f : fields) size += f.size();
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) out.push_back('\t');
    out.append(fields[i]);
  }
  out.append("\r\n");
  return out;
}

int ReplaceFields(std::string& line, std::string_view parts, int first) {
  if (first < 0) return -1;
  std::vector<std::string_view> fields, newFields;
  SplitFields(line, fields);
  SplitFields(parts, newFields);
  int replaced = 0;
  for (size_t i = 0; i < newFields.size() && static_cast<size_t>(first) + i < fields.size(); ++i) {
    fields[first + i] = newFields[i];
    ++replaced;
  }
  // fields may point into line itself: build the result before assigning.
  std::string result = JoinFields(fields);
  line = std::move(result);
  return replaced;
}

}  // namespace axview
