#include "connsrv/command_line.h"

#include <cctype>
#include <cstdlib>

#include "platform/profile.h"

namespace connsrv {

CommandLine ParseCommandLine(const std::string& text) {
  CommandLine c;
  size_t first = text.find('-');
  if (first == std::string::npos) return c;
  // The port is the number right behind the first dash.
  size_t pos = first + 1;
  size_t end = text.find_first_not_of("0123456789", pos);
  if (end == std::string::npos) end = text.size();
  if (end > pos) c.port = platform::Profile::ParseLeadingInt(text.substr(pos, end - pos));
  size_t second = text.find('-', end);
  if (second == std::string::npos) return c;
  // The second dash reads as the number's sign: "-70 -1" asks for the
  // system's language (-1), "-70 -0" for language 0.
  std::string lang = text.substr(second);
  if (lang.size() > 1 && std::isdigit(static_cast<unsigned char>(lang[1])))
    c.language = platform::Profile::ParseLeadingInt(lang);
  return c;
}

}  // namespace connsrv
