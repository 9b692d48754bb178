#pragma once
// Texts of the result codes, in English (built in) and Japanese (the
// module's table in lang/, KELD_TAVINTER.jpn.txt). The table id of a code is
// its absolute value; a PLC error answer without a text of its own uses the
// template of id 11000, an unknown code that of id 1.
#include <string>

namespace tavinter {

extern const char* const kModuleName;  // "KELD_TAVINTER"

// language: 0 Japanese, anything else English.
std::string ResultText(int code, int language);

// The language of texts when no record says otherwise (TavSetLanguage sets it).
void SetDefaultLanguage(int language);
int DefaultLanguage();

// Copies text into a caller's buffer of `size` bytes, cut on a UTF-8
// character boundary and NUL-terminated. False when the buffer is unusable.
bool CopyText(const std::string& text, char* buffer, int size);

}  // namespace tavinter
