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

size_t Cp932Length(std::string_view utf8) {
  return IsAscii(utf8) ? utf8.size() : Cp932FromUtf8(utf8).size();
}

size_t Cp932Prefix(std::string_view utf8, size_t maxBytes) {
  if (IsAscii(utf8)) return std::min(utf8.size(), maxBytes);
  size_t used = 0, i = 0;
  while (i < utf8.size()) {
    size_t n = std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    size_t width = Cp932Length(utf8.substr(i, n));
    if (used + width > maxBytes) break;
    used += width;
    i += n;
  }
  return i;
}

}  // namespace platform
