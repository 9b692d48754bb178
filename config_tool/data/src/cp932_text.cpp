#include "axcfg_data/cp932_text.h"

#include <QString>
#include <QStringConverter>

namespace axcfg {

namespace {
// "windows-31j" is the code page 932 variant of Shift_JIS (NEC and IBM
// extensions, the Windows mapping of the wave dash and the like).
constexpr const char* kCodecName = "windows-31j";

bool IsPlainAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}
}  // namespace

std::string Cp932FromUtf8(std::string_view utf8) {
  if (IsPlainAscii(utf8)) return std::string(utf8);
  QStringEncoder enc(kCodecName);
  QByteArray bytes = enc.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string Utf8FromCp932(std::string_view cp932) {
  if (IsPlainAscii(cp932)) return std::string(cp932);
  QStringDecoder dec(kCodecName);
  QString text = dec.decode(QByteArrayView(cp932.data(), static_cast<qsizetype>(cp932.size())));
  return text.toStdString();
}

size_t Cp932Length(std::string_view utf8) {
  if (IsPlainAscii(utf8)) return utf8.size();
  return Cp932FromUtf8(utf8).size();
}

}  // namespace axcfg
