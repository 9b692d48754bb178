#include "modem_book/phone_book_entry.h"

#include <cstdio>
#include <cstring>

#include "platform/cp932.h"

namespace modembook {

namespace {
constexpr size_t kTitleAt = 0, kPhoneAt = 42;
const char* const kBaudRates[CPhoneBookEntry::kBaudCount] = {"1200",  "2400",  "4800",  "9600",
                                                              "19200", "38400", "57600", "115200"};
}  // namespace

CPhoneBookEntry::CPhoneBookEntry() { SetBaudIndex(kDefaultBaudIndex); }

CPhoneBookEntry CPhoneBookEntry::FromBytes(const uint8_t* bytes) {
  CPhoneBookEntry e;
  std::memcpy(e.bytes_.data(), bytes, kSize);
  return e;
}

std::string CPhoneBookEntry::FieldBytes(size_t at, size_t width) const {
  const char* p = reinterpret_cast<const char*>(bytes_.data() + at);
  return std::string(p, strnlen(p, width));
}

void CPhoneBookEntry::PutField(size_t at, size_t width, const std::string& bytes) {
  std::memset(bytes_.data() + at, 0, width);
  std::memcpy(bytes_.data() + at, bytes.data(), std::min(bytes.size(), width - 1));
}

std::string CPhoneBookEntry::TitleBytes() const { return FieldBytes(kTitleAt, kTitleField); }
std::string CPhoneBookEntry::PhoneBytes() const { return FieldBytes(kPhoneAt, kPhoneField); }
std::string CPhoneBookEntry::Title() const { return platform::Utf8FromCp932(TitleBytes()); }
std::string CPhoneBookEntry::Phone() const { return platform::Utf8FromCp932(PhoneBytes()); }

std::array<uint8_t, CPhoneBookEntry::kReservedSize> CPhoneBookEntry::Reserved() const {
  std::array<uint8_t, kReservedSize> r{};
  std::memcpy(r.data(), bytes_.data() + kReservedOffset, kReservedSize);
  return r;
}

void CPhoneBookEntry::SetReserved(const std::array<uint8_t, kReservedSize>& r) {
  std::memcpy(bytes_.data() + kReservedOffset, r.data(), kReservedSize);
}

bool CPhoneBookEntry::SetTitle(std::string_view utf8) {
  if (!ValidTitle(utf8)) return false;
  // Unchanged text keeps the field's bytes as they are.
  if (Title() == utf8) return true;
  PutField(kTitleAt, kTitleField, platform::Cp932FromUtf8(utf8));
  return true;
}

bool CPhoneBookEntry::SetPhone(std::string_view utf8) {
  if (!ValidPhone(utf8)) return false;
  if (Phone() == utf8) return true;
  PutField(kPhoneAt, kPhoneField, std::string(utf8));
  return true;
}

bool Cp932Representable(std::string_view utf8) {
  // A character without a Shift_JIS form comes back as something else.
  return platform::Utf8FromCp932(platform::Cp932FromUtf8(utf8)) == utf8;
}

bool ValidTitle(std::string_view utf8) {
  if (utf8.find('\0') != std::string_view::npos) return false;
  return Cp932Representable(utf8) && platform::Cp932FromUtf8(utf8).size() <= CPhoneBookEntry::kTitleMax;
}

bool ValidPhone(std::string_view utf8) {
  if (utf8.size() > CPhoneBookEntry::kPhoneMax) return false;
  for (unsigned char c : utf8)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

std::string BaudRateText(int index) {
  return index >= 0 && index < CPhoneBookEntry::kBaudCount ? kBaudRates[index] : "";
}

int BaudIndexOfRate(long rate) {
  for (int i = 0; i < CPhoneBookEntry::kBaudCount; ++i)
    if (std::to_string(rate) == kBaudRates[i]) return i;
  return -1;
}

std::string ParityLetter(int parity) {
  static const char* const kLetters[] = {"N", "O", "E"};
  return parity >= 0 && parity < 3 ? kLetters[parity] : "";
}

std::string PropertyText(const CPhoneBookEntry& e, bool listForm) {
  char text[64];
  const std::string rate = BaudRateText(e.BaudIndex());
  std::snprintf(text, sizeof text, listForm ? "%6s-%d-%d-%s" : "%s-%d-%d-%s", rate.c_str(), 8 - e.DataLength(),
                e.StopBits() + 1, ParityLetter(e.Parity()).c_str());
  return text;
}

}  // namespace modembook
