// The cell font kept in the registry below the application's key.
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
