#pragma once
// What both parts of tavtools do with a caller's arguments: the language a
// connection record asks for, and texts copied into the caller's buffers.
#include <cstddef>
#include <string>

namespace tavtools {

// The record's language (0 Japanese, 1 English); English without a record.
int LanguageOfRecord(const unsigned char* record);

// Copies into a caller's buffer of `size` bytes, NUL-terminated and cut on a
// UTF-8 character boundary. Nothing happens for a null buffer or size 0.
void CopyToCaller(const std::string& text, char* out, size_t size);

}  // namespace tavtools
