#include "platform/cp932.h"

#include <QString>
#include <algorithm>
#include <QStringConverter>

namespace platform {

namespace {
// The code page 932 variant of Shift_JIS (with its NEC and IBM extensions).
constexpr const char* kCodec = "windows-31j";

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

size_t Utf8SequenceLength(unsigned char c) {
  if (c < 0x80) return 1;
  if ((c >> 5) == 0x6) return 2;
  if ((c >> 4) == 0xE) return 3;
  if ((c >> 3) == 0x1E) return 4;
  return 1;
}
}  // namespace

std::string Cp932FromUtf8(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string Utf8FromCp932(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  // A lead byte with nothing after it would be swallowed by the decoder.
  bool dangling = false;
  for (size_t i = 0; i < cp932.size();) {
    unsigned char c = static_cast<unsigned char>(cp932[i]);
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead && i + 1 == cp932.size()) dangling = true;
    i += lead ? 2 : 1;
  }
  if (dangling) cp932.remove_suffix(1);
  QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
  QString text = decoder.decode(QByteArrayView(cp932.data(), static_cast<qsizetype>(cp932.size())));
  std::string out = text.toStdString();
  if (dangling) out += "\xEF\xBF\xBD";
  return out;
}

namespace {
// The code point of the UTF-8 sequence at text[i] and its length (1 for a
// stray byte, which then counts as one character of its own).
size_t DecodeAt(std::string_view text, size_t i, unsigned& cp) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  size_t n = Utf8SequenceLength(c);
  if (i + n > text.size()) n = 1;
  cp = n == 1 ? c : c & (0x7Fu >> n);
  for (size_t k = 1; k < n; ++k) {
    const unsigned char d = static_cast<unsigned char>(text[i + k]);
    if ((d & 0xC0) != 0x80) {
      cp = c;
      return 1;
    }
    cp = (cp << 6) | (d & 0x3Fu);
  }
  return n;
}

// Bytes of one character in code page 932: one for ASCII and half-width
// katakana, two for every other character. A character without a code page
// 932 form is stored as '?' and so takes one byte, but counts as two here:
// limits checked with these lengths are never exceeded on disk.
size_t Width(unsigned cp) { return cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2; }
}  // namespace

size_t Cp932Length(std::string_view utf8) {
  if (IsAscii(utf8)) return utf8.size();
  size_t total = 0;
  for (size_t i = 0; i < utf8.size();) {
    unsigned cp = 0;
    i += DecodeAt(utf8, i, cp);
    total += Width(cp);
  }
  return total;
}

size_t Cp932Prefix(std::string_view utf8, size_t maxBytes) {
  if (IsAscii(utf8)) return std::min(utf8.size(), maxBytes);
  size_t used = 0, i = 0;
  while (i < utf8.size()) {
    unsigned cp = 0;
    const size_t n = DecodeAt(utf8, i, cp);
    if (used + Width(cp) > maxBytes) break;
    used += Width(cp);
    i += n;
  }
  return i;
}

std::string FirstCharNotInCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return {};
  // A character fits when it comes back unchanged from its bytes; the
  // encoder replaces the others, some with look-alikes.
  if (Utf8FromCp932(Cp932FromUtf8(utf8)) == utf8) return {};
  for (size_t i = 0; i < utf8.size();) {
    unsigned cp = 0;
    const size_t n = DecodeAt(utf8, i, cp);
    const std::string_view one = utf8.substr(i, n);
    if (Utf8FromCp932(Cp932FromUtf8(one)) != one) return std::string(one);
    i += n;
  }
  return {};
}

}  // namespace platform
