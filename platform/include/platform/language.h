#pragma once
// Language numbers of the tool set (0 Japanese, 1 English, 2 simplified and
// 3 traditional Chinese, 4 Korean, 5 Spanish, 6 Italian, 7 German, 8 French,
// 9 Thai), their three-letter codes, and the language of the user's locale.
#include <string>

namespace platform {

// "Jpn", "Eng", "Chn", "Cht", "Kor", "Esp", "Ita", "Deu", "Fra", "Thi";
// empty outside 0..9.
std::string LanguageCode(int language);
// The language of the locale (LC_ALL, LC_MESSAGES, LANG): Chinese of Taiwan
// and Hong Kong is traditional, other Chinese simplified; anything not in the
// list is English.
int SystemLanguage();

}  // namespace platform
