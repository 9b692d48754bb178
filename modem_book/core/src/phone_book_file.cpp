#include "modem_book/phone_book_file.h"

#include <cstring>

namespace modembook {

namespace {
uint32_t U32At(const std::string& b, size_t at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
}  // namespace

BookImageResult ParseBookImage(const std::string& bytes, BookImage& out) {
  if (bytes.size() < kBookHeaderSize) return BookImageResult::Short;
  const uint32_t count = U32At(bytes, 8);
  // Checked before any multiplication, so a huge count cannot wrap.
  if (count > kMaxEntries) return BookImageResult::Damaged;
  if (bytes.size() - kBookHeaderSize < static_cast<size_t>(count) * CPhoneBookEntry::kSize)
    return BookImageResult::Damaged;
  BookImage image;
  image.version.assign(bytes.data(), strnlen(bytes.data(), 8));
  image.entries.reserve(count);
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + kBookHeaderSize;
  for (uint32_t i = 0; i < count; ++i) image.entries.push_back(CPhoneBookEntry::FromBytes(p + i * CPhoneBookEntry::kSize));
  out = std::move(image);
  return BookImageResult::Ok;
}

std::string BookImageBytes(const std::vector<CPhoneBookEntry>& entries) {
  std::string out(kBookHeaderSize, '\0');
  std::memcpy(out.data(), kBookVersion, std::strlen(kBookVersion));
  const uint32_t n = static_cast<uint32_t>(entries.size());
  for (int i = 0; i < 4; ++i) out[8 + i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  out.reserve(kBookHeaderSize + entries.size() * CPhoneBookEntry::kSize);
  for (const auto& e : entries) out.append(reinterpret_cast<const char*>(e.Raw().data()), CPhoneBookEntry::kSize);
  return out;
}

}  // namespace modembook
