// Settings kept in the registry below the application's key: the cell font,
// the column widths per sheet kind and the search histories.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "axview/helpers.h"
#include "axview/table_view.h"
#include "log_font.h"
#include "platform/registry.h"

using platform::Hive;
using platform::Registry;

namespace {

struct IntField {
  const char* name;
  int defaultValue;
  int32_t LOGFONT::*wide;
  uint8_t LOGFONT::*narrow;
};

const IntField kFields[] = {
    {"lfHeight", -12, &LOGFONT::lfHeight, nullptr},
    {"lfWidth", 0, &LOGFONT::lfWidth, nullptr},
    {"lfEscapement", 0, &LOGFONT::lfEscapement, nullptr},
    {"lfOrientation", 0, &LOGFONT::lfOrientation, nullptr},
    {"lfWeight", 400, &LOGFONT::lfWeight, nullptr},
    {"lfItalic", 0, nullptr, &LOGFONT::lfItalic},
    {"lfUnderline", 0, nullptr, &LOGFONT::lfUnderline},
    {"lfStrikeOut", 0, nullptr, &LOGFONT::lfStrikeOut},
    {"lfCharSet", 1, nullptr, &LOGFONT::lfCharSet},
    {"lfOutPrecision", 0, nullptr, &LOGFONT::lfOutPrecision},
    {"lfClipPrecision", 0, nullptr, &LOGFONT::lfClipPrecision},
    {"lfQuality", 0, nullptr, &LOGFONT::lfQuality},
    {"lfPitchAndFamily", 0, nullptr, &LOGFONT::lfPitchAndFamily},
};

std::string FontKey() {
  std::string path;
  CanOpenRegistory(path);
  return path.empty() ? std::string() : path + "LogFont";
}

}  // namespace

BOOL CTableView::ReadLogFont(LOGFONT* font, int& size) {
  std::string path;
  if (!CanOpenRegistory(path)) {
    if (font) *font = LOGFONT{};
    size = 90;
    return 0;
  }
  const std::string key = path + "LogFont";
  LOGFONT lf;
  for (const auto& f : kFields) {
    auto v = Registry::ReadDword(Hive::CurrentUser, key, f.name);
    int value = v ? static_cast<int>(*v) : f.defaultValue;
    if (f.wide) lf.*(f.wide) = value;
    else lf.*(f.narrow) = static_cast<uint8_t>(value);
  }
  axview::SetFaceName(lf, Registry::ReadString(Hive::CurrentUser, key, "lfFaceName").value_or("MS UI Gothic"));
  auto points = Registry::ReadDword(Hive::CurrentUser, key, "iPointSize");
  size = points ? static_cast<int>(*points) : 90;
  if (size < 1) size = 90;
  if (font) *font = lf;
  return 1;
}

BOOL CTableView::WriteLogFont(LOGFONT font, int size) {
  const std::string key = FontKey();
  if (key.empty()) return 0;
  Registry::DeleteKey(Hive::CurrentUser, key);
  bool ok = true;
  for (const auto& f : kFields) {
    int value = f.wide ? font.*(f.wide) : font.*(f.narrow);
    ok = Registry::WriteDword(Hive::CurrentUser, key, f.name, static_cast<uint32_t>(value)) && ok;
  }
  ok = Registry::WriteString(Hive::CurrentUser, key, "lfFaceName",
                             std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE))) && ok;
  ok = Registry::WriteDword(Hive::CurrentUser, key, "iPointSize", static_cast<uint32_t>(size)) && ok;
  return ok ? 1 : 0;
}

// ---- Registry keys, column widths and search histories --------------------------

namespace {

constexpr int kHistorySize = 20;

std::string Numbered(const char* name, int number, int width) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%s%0*d", name, width == 5 ? "_" : "", width, number);
  return buffer;
}

// Widths fit the texts of one language in one font size: the English texts
// in the standard 9-point font keep the plain section, every other
// combination has a section of its own below it.
std::string WidthSection(DWORD sheetData, int language, int fontSize) {
  char buffer[64];
  if (language == 0 && fontSize == 90)
    std::snprintf(buffer, sizeof buffer, "Info_%08x", static_cast<unsigned>(sheetData));
  else
    std::snprintf(buffer, sizeof buffer, "Lang%d_Size%d\\Info_%08x", language, fontSize,
                  static_cast<unsigned>(sheetData));
  return std::string("WidthOfColumns\\") + buffer;
}

void ReadHistory(const std::string& key, const char* name, std::vector<std::string>& list) {
  list.clear();
  for (int i = 1; i <= kHistorySize; ++i) {
    auto v = Registry::ReadString(Hive::CurrentUser, key, Numbered(name, i, 2));
    if (v && !v->empty() && std::find(list.begin(), list.end(), *v) == list.end()) list.push_back(*v);
  }
}

bool WriteHistory(const std::string& key, const char* name, const std::vector<std::string>& list) {
  bool ok = true;
  int written = 0;
  for (size_t i = 0; i < list.size() && written < kHistorySize; ++i) {
    const std::string& entry = list[i];
    // An entry that comes again further down is written there, once.
    if (entry.empty() || std::find(list.begin() + static_cast<long>(i) + 1, list.end(), entry) != list.end()) continue;
    ok = Registry::WriteString(Hive::CurrentUser, key, Numbered(name, ++written, 2), entry) && ok;
  }
  return ok;
}

}  // namespace

long CTableView::DeleteRegKey(const std::string& path) {
  if (path.empty() || !Registry::KeyExists(Hive::CurrentUser, path)) return -1;
  return Registry::DeleteKey(Hive::CurrentUser, path) ? 0 : 1;
}

BOOL CTableView::ReadFindReplaceHistory(std::vector<std::string>& find, std::vector<std::string>& replace) {
  find.clear();
  replace.clear();
  std::string path;
  if (!CanOpenRegistory(path)) return 0;
  ReadHistory(path + "HistoryFindWhat", "FindWhat", find);
  ReadHistory(path + "HistoryReplace", "ReplaceWith", replace);
  return 1;
}

BOOL CTableView::WriteFindReplaceHistory(const std::vector<std::string>& find, const std::vector<std::string>& replace) {
  std::string path;
  CanOpenRegistory(path);
  if (path.empty()) return 0;
  DeleteRegKey(path + "HistoryFindWhat");
  DeleteRegKey(path + "HistoryReplace");
  const bool a = WriteHistory(path + "HistoryFindWhat", "FindWhat", find);
  const bool b = WriteHistory(path + "HistoryReplace", "ReplaceWith", replace);
  return a && b ? 1 : 0;
}

BOOL CTableView::ReadWidthOfColumns() {
  std::string path;
  if (!CanOpenRegistory(path)) return 0;
  for (int s = 0; s < GetSheetCount(); ++s) {
    CSheetObj* sheet = GetSheetObj(s);
    const std::string key = path + WidthSection(sheet->m_data, KELDExGetLanguage(), m_fontSize);
    // A sheet kind never stored keeps the widths its owner gave it.
    if (!Registry::KeyExists(Hive::CurrentUser, key)) continue;
    int x = 0;
    for (size_t c = 0; c < sheet->m_columns.size(); ++c) {
      auto v = Registry::ReadDword(Hive::CurrentUser, key, Numbered("ColumnWidth", static_cast<int>(c) + 1, 5));
      const int width = v ? static_cast<int>(*v) : 0;
      CColumnProp& column = *sheet->m_columns[c];
      column.m_standardWidth = width;
      // A width of 0 leaves the extent empty: the column is laid out by its title.
      column.m_extent = CRect(x, 0, x + width, m_lineHeight);
      x += width;
    }
  }
  if (CSheetObj* sheet = CurrentSheet()) LayoutColumns(*sheet);
  OnSize();
  return 1;
}

BOOL CTableView::WriteWidthOfColumns() {
  std::string path;
  CanOpenRegistory(path);
  if (path.empty()) return 0;
  bool ok = true;
  for (int s = 0; s < GetSheetCount(); ++s) {
    const CSheetObj* sheet = GetSheetObj(s);
    const std::string key = path + WidthSection(sheet->m_data, KELDExGetLanguage(), m_fontSize);
    DeleteRegKey(key);
    for (size_t c = 0; c < sheet->m_columns.size(); ++c) {
      const int width = std::max(0, sheet->m_columns[c]->m_extent.Width());
      ok = Registry::WriteDword(Hive::CurrentUser, key, Numbered("ColumnWidth", static_cast<int>(c) + 1, 5),
                                static_cast<uint32_t>(width)) && ok;
    }
  }
  return ok ? 1 : 0;
}
