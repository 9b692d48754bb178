#include "axcfg_unit/tool_opr_exception.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "axcfg_unit/unit_strings.h"

namespace axcfg {

namespace {
// Request code -> text id; codes without a text give an empty text.
unsigned RequestTextId(uint8_t code) {
  switch (code) {
    case 0x00: return 9000;
    case 0x01: return 9001;
    case 0x05: return 9002;
    case 0x10: return 9003;
    case 0x12: return 9004;
    case 0x13: return 9005;
    case 0x14: return 9006;
    case 0x15: return 9007;
    case 0x16: return 9008;
    case 0x17: return 9010;
    case 0x18: return 9011;
    case 0x19: return 9012;
    case 0x1A: return 9013;
    case 0x1B: return 9014;
    default: return 0;
  }
}
}  // namespace

std::string CToolOprException::GetRequestText() const {
  unsigned id = RequestTextId(requestCode_);
  return id ? UnitText(id) : std::string();
}

std::string CToolOprException::ErrorText() const {
  if (errorCode_ >= kRefusedToolModeOn && errorCode_ <= kRefusedWritingFrom) return UnitText(kStrToolErrorFirst + errorCode_);
  char text[256];
  std::snprintf(text, sizeof text, UnitText(kStrToolErrorUndefined).c_str(), errorCode_);
  return text;
}

bool CToolOprException::GetErrorMessage(char* buffer, unsigned maxChars, unsigned* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (!buffer || maxChars == 0) return false;
  std::string text = ErrorText();
  size_t n = std::min<size_t>(text.size(), maxChars - 1);
  // Never cut a character of a translated text in half.
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return !text.empty();
}

}  // namespace axcfg
