#include "caller_text.h"

#include <algorithm>
#include <cstring>

#include "tavinter/connection_record.h"

namespace tavtools {

int LanguageOfRecord(const unsigned char* record) {
  return record ? tavinter::CConnectionRecord(const_cast<unsigned char*>(record)).Language() : 1;
}

void CopyToCaller(const std::string& text, char* out, size_t size) {
  if (!out || size == 0) return;
  size_t n = std::min(text.size(), size - 1);
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = 0;
}

}  // namespace tavtools
