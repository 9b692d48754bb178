#pragma once
// The phone book file image: a 16-byte header (version text NUL-padded to 8
// bytes, entry count u32 little-endian, 4 reserved zero bytes) and the
// entries, 96 bytes each, in list order.
#include <cstddef>
#include <string>
#include <vector>

#include "modem_book/phone_book_entry.h"

namespace modembook {

constexpr size_t kBookHeaderSize = 16;
constexpr size_t kMaxEntries = 4096;
constexpr const char* kBookVersion = "2.2015";
// The largest image that can matter: the header and 4,096 entries.
constexpr size_t kMaxBookImage = kBookHeaderSize + kMaxEntries * CPhoneBookEntry::kSize;

enum class BookImageResult {
  Ok,
  Short,     // under 16 bytes: no phone book at all
  Damaged,   // a count above 4,096 or entries past the end of the image
};

struct BookImage {
  std::string version;  // as read, up to its NUL
  std::vector<CPhoneBookEntry> entries;
};

// Reads an image; on anything but Ok, `out` is left as it was.
BookImageResult ParseBookImage(const std::string& bytes, BookImage& out);
// The image of a book; the version written is always "2.2015".
std::string BookImageBytes(const std::vector<CPhoneBookEntry>& entries);

}  // namespace modembook
