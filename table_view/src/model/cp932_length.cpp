#include "cp932_length.h"

namespace axview {

namespace {
// Length of the UTF-8 sequence starting at text[i] (1 for a stray byte) and
// its code point.
size_t Decode(std::string_view text, size_t i, unsigned& cp) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (i + n > text.size()) n = 1;
  cp = n == 1 ? c : c & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) {
    unsigned char d = static_cast<unsigned char>(text[i + k]);
    if ((d & 0xC0) != 0x80) {
      cp = c;
      return 1;
    }
    cp = (cp << 6) | (d & 0x3F);
  }
  return n;
}

size_t Cp932Width(unsigned cp) { return cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2; }
}  // namespace

size_t Cp932Length(std::string_view utf8) {
  size_t total = 0;
  for (size_t i = 0; i < utf8.size();) {
    unsigned cp;
    i += Decode(utf8, i, cp);
    total += Cp932Width(cp);
  }
  return total;
}

size_t Cp932Prefix(std::string_view utf8, size_t maxBytes) {
  size_t total = 0, i = 0;
  while (i < utf8.size()) {
    unsigned cp;
    size_t n = Decode(utf8, i, cp);
    size_t w = Cp932Width(cp);
    if (total + w > maxBytes) break;
    total += w;
    i += n;
  }
  return i;
}

}  // namespace axview
