#include "axcfg_data/text_format.h"

#include <vector>

namespace axcfg {

std::string FormatArg::As(char conversion) const {
  switch (conversion) {
    case 'd':
      return kind_ == Kind::Text ? std::string(text_) : std::to_string(int_);
    case 'c':
      if (kind_ == Kind::Text) return text_.empty() ? std::string() : std::string(1, text_.front());
      return std::string(1, static_cast<char>(int_));
    default:
      return kind_ == Kind::Text ? std::string(text_) : std::to_string(int_);
  }
}

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char ch = format[i];
    if (ch != '%' || i + 1 >= format.size()) {
      out += ch;
      continue;
    }
    char conv = format[i + 1];
    if (conv == '%') {
      out += '%';
      ++i;
    } else if (conv == 'd' || conv == 's' || conv == 'c') {
      if (next != args.end()) out += (next++)->As(conv);
      ++i;
    } else {
      out += ch;  // not a placeholder we know: keep it as text
    }
  }
  return out;
}

}  // namespace axcfg
