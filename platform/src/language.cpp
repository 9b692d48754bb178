#include "platform/language.h"

#include <cstdlib>

namespace platform {

std::string LanguageCode(int language) {
  static const char* const kCodes[] = {"Jpn", "Eng", "Chn", "Cht", "Kor", "Esp", "Ita", "Deu", "Fra", "Thi"};
  return (language >= 0 && language < 10) ? kCodes[language] : "";
}

int SystemLanguage() {
  std::string locale;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      locale = v;
      break;
    }
  }
  auto is = [&](const char* prefix) { return locale.rfind(prefix, 0) == 0; };
  if (is("zh_TW") || is("zh_HK")) return 3;
  if (is("zh")) return 2;
  if (is("de")) return 7;
  if (is("es")) return 5;
  if (is("fr")) return 8;
  if (is("it")) return 6;
  if (is("ja")) return 0;
  if (is("ko")) return 4;
  if (is("th")) return 9;
  return 1;
}

}  // namespace platform
