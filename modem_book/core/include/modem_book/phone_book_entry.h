#pragma once
// One destination of the phone book: a 96-byte record, kept as the bytes it
// was read from so that an entry nobody edits is written back unchanged
// (reserved bytes and whatever follows a title's NUL included).
//
//   0  char[42]  title, NUL-terminated (at most 40 Shift_JIS bytes when edited)
//   42 char[32]  phone number, NUL-terminated (at most 30 printable ASCII)
//   74 int16     baud-rate index 0..7 (1200 .. 115200 bit/s)
//   76 int16     data length: 0 eight bits, 1 seven bits
//   78 int16     parity: 0 none, 1 odd, 2 even
//   80 int16     stop bits: 0 one bit, 1 two bits
//   82 byte[14]  reserved
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace modembook {

class CPhoneBookEntry {
 public:
  static constexpr size_t kSize = 96;
  static constexpr size_t kTitleField = 42, kPhoneField = 32;
  static constexpr size_t kTitleMax = 40, kPhoneMax = 30;
  static constexpr size_t kReservedOffset = 82, kReservedSize = 14;
  static constexpr int kBaudCount = 8;
  static constexpr int kDefaultBaudIndex = 3;

  using Bytes = std::array<uint8_t, kSize>;

  // A new entry: all zero but the baud index 3 (9600-8-1-N).
  CPhoneBookEntry();
  static CPhoneBookEntry FromBytes(const uint8_t* bytes);

  const Bytes& Raw() const { return bytes_; }
  void Reinitialise() { *this = CPhoneBookEntry(); }

  // Texts in UTF-8, read within their fields (a field without NUL ends at its width).
  std::string Title() const;
  std::string Phone() const;
  // The texts as stored (Shift_JIS), up to the NUL or the field's end.
  std::string TitleBytes() const;
  std::string PhoneBytes() const;

  int16_t BaudIndex() const { return I16(74); }
  int16_t DataLength() const { return I16(76); }
  int16_t Parity() const { return I16(78); }
  int16_t StopBits() const { return I16(80); }
  std::array<uint8_t, kReservedSize> Reserved() const;

  // False (and nothing changed) when the text breaks the field's rules
  // (ValidTitle / ValidPhone).
  bool SetTitle(std::string_view utf8);
  bool SetPhone(std::string_view utf8);
  void SetBaudIndex(int16_t v) { PutI16(74, v); }
  void SetDataLength(int16_t v) { PutI16(76, v); }
  void SetParity(int16_t v) { PutI16(78, v); }
  void SetStopBits(int16_t v) { PutI16(80, v); }
  void SetReserved(const std::array<uint8_t, kReservedSize>& r);

  bool operator==(const CPhoneBookEntry& o) const { return bytes_ == o.bytes_; }

 private:
  int16_t I16(size_t at) const { return static_cast<int16_t>(bytes_[at] | (bytes_[at + 1] << 8)); }
  void PutI16(size_t at, int16_t v) {
    bytes_[at] = static_cast<uint8_t>(v & 0xFF);
    bytes_[at + 1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
  }
  std::string FieldBytes(size_t at, size_t width) const;
  void PutField(size_t at, size_t width, const std::string& bytes);
  Bytes bytes_{};
};

// A title fits when every character has a Shift_JIS form and the whole takes
// at most 40 bytes; a phone number when it is at most 30 printable ASCII
// characters (it is sent to the modem as it stands).
bool ValidTitle(std::string_view utf8);
bool ValidPhone(std::string_view utf8);
// True when every character of the UTF-8 text has a Shift_JIS form.
bool Cp932Representable(std::string_view utf8);

// Baud rate of an index ("9600"), empty outside 0..7; the index of a rate in
// bit/s, -1 when the table lacks it.
std::string BaudRateText(int index);
int BaudIndexOfRate(long rate);
// "N", "O", "E"; empty outside 0..2.
std::string ParityLetter(int parity);

// "9600-8-1-N"; the list form right-aligns the rate in six characters.
std::string PropertyText(const CPhoneBookEntry& entry, bool listForm);

}  // namespace modembook
