#include "paste_block.h"

#include <algorithm>
#include <cctype>

namespace axview {

std::vector<std::string> SplitClipboardLines(const std::string& text, int maxLines) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size() && (maxLines < 0 || static_cast<int>(lines.size()) < maxLines)) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t pos = 0;
  for (;;) {
    const size_t tab = line.find('\t', pos);
    fields.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
    if (tab == std::string::npos) return fields;
    pos = tab + 1;
  }
}

namespace {
std::string Content(const std::string& line) { return line.substr(0, line.find_first_of("\r\n")); }
}  // namespace

std::string CopyBlock(const CSheetObj& sheet, const CRect& selection) {
  std::string out;
  const int lines = static_cast<int>(sheet.m_lines.size());
  for (int l = std::max(0, selection.top); l <= selection.bottom && l < lines; ++l) {
    const std::vector<std::string> fields = SplitFields(Content(sheet.m_lines[l]->m_text));
    for (int c = selection.left; c <= selection.right; ++c) {
      if (c > selection.left) out += '\t';
      if (c >= 0 && c < static_cast<int>(fields.size())) out += fields[c];
    }
    out += "\r\n";
  }
  return out;
}

std::string EmptyFields(const std::string& line, int left, int right) {
  const std::string content = Content(line);
  std::vector<std::string> fields = SplitFields(content);
  for (int c = std::max(0, left); c <= right && c < static_cast<int>(fields.size()); ++c) fields[c].clear();
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) out += (i ? "\t" : "") + fields[i];
  return out + line.substr(content.size());
}

namespace {

enum Kind { kText = 1, kNumber = 2, kAny = 3 };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int KindOfColumn(const CColumnProp& column) {
  if (column.IsNumeric()) return kNumber;
  return column.IsChoice() ? kText : kAny;
}

int KindOfValue(const std::string& v) {
  // An empty field (an emptied cell) suits every column; the column decides
  // when it is written.
  if (v.empty()) return kAny;
  if (v[0] == '-' || v[0] == '.') return v.size() > 1 && IsDigit(v[1]) ? kNumber : kText;
  if (IsDigit(v[0])) return v.size() > 1 && v[1] == ':' ? kText : kNumber;
  return kText;
}

bool BeginsAChoice(const CColumnProp& column, const std::string& v) {
  const int first = std::tolower(static_cast<unsigned char>(v[0]));
  return std::any_of(column.m_choices.begin(), column.m_choices.end(), [&](const std::string& c) {
    return !c.empty() && std::tolower(static_cast<unsigned char>(c[0])) == first;
  });
}

}  // namespace

int CheckPaste(const CSheetObj& sheet, const CRect& sel, const std::string& text, PasteShape& shape) {
  shape = PasteShape{};
  const int lineCount = static_cast<int>(sheet.m_lines.size());
  const int columnCount = static_cast<int>(sheet.m_columns.size());
  if (sel.left < 0 || sel.left >= columnCount || sel.top < 0 || sel.top >= lineCount || sel.bottom < 0 ||
      sel.bottom >= lineCount)
    return 0;
  const std::vector<std::string> lines = SplitClipboardLines(text, lineCount);
  std::vector<std::vector<std::string>> block;
  for (const auto& l : lines) {
    block.push_back(SplitFields(l));
    shape.columns = std::max(shape.columns, static_cast<int>(block.back().size()));
  }
  shape.rows = static_cast<int>(block.size());
  if (shape.rows == 0) return 0;  // nothing to paste
  const int height = sel.bottom - sel.top + 1, width = sel.right - sel.left + 1;
  shape.repeatDown = std::max(1, height / shape.rows);
  shape.repeatAcross = std::max(1, width / shape.columns);
  for (int copy = 0; copy < shape.repeatAcross; ++copy) {
    for (const auto& fields : block) {
      for (size_t f = 0; f < fields.size(); ++f) {
        const int c = sel.left + copy * shape.columns + static_cast<int>(f);
        if (c >= columnCount) break;
        const CColumnProp& column = *sheet.m_columns[c];
        const std::string& v = fields[f];
        const int kind = KindOfValue(v);
        const bool plainText = !v.empty() && v[0] != '-' && v[0] != '.' && !IsDigit(v[0]);
        if (column.IsChoice() && plainText && !BeginsAChoice(column, v)) return -3;
        if (!(kind & KindOfColumn(column))) {
          shape.repeatDown = shape.repeatAcross = 0;
          return -2;
        }
      }
    }
  }
  if ((height > 1 && height % shape.rows != 0) || (width > 1 && width % shape.columns != 0)) return -1;
  return 1;
}

}  // namespace axview
