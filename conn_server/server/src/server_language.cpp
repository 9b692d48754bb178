#include "connsrv/server_app.h"
#include "platform/language.h"

namespace connsrv {

std::string LanguageCode(int language) { return platform::LanguageCode(language); }

int SystemLanguage() { return platform::SystemLanguage(); }

}  // namespace connsrv
