#include "log_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstring>

namespace axview {

namespace {
double ScreenDpi() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInchY();
  return 96.0;
}
}  // namespace

int PointsToPixels(double points) { return static_cast<int>(std::lround(points * ScreenDpi() / 72.0)); }

void SetFaceName(LOGFONT& font, const std::string& face) {
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  size_t n = face.size() < LF_FACESIZE - 1 ? face.size() : LF_FACESIZE - 1;
  // Never cut a UTF-8 character in two.
  while (n > 0 && n < face.size() && (static_cast<unsigned char>(face[n]) & 0xC0) == 0x80) --n;
  std::memcpy(font.lfFaceName, face.data(), n);
}

LOGFONT LogFontFromQFont(const QFont& font) {
  LOGFONT lf;
  int pixels = font.pixelSize() > 0 ? font.pixelSize() : PointsToPixels(font.pointSizeF());
  lf.lfHeight = -pixels;
  lf.lfWeight = font.weight();
  lf.lfItalic = font.italic() ? 1 : 0;
  lf.lfUnderline = font.underline() ? 1 : 0;
  lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
  lf.lfCharSet = 1;
  SetFaceName(lf, font.family().toStdString());
  return lf;
}

QFont QFontFromLogFont(const LOGFONT& lf, int sizeTenths) {
  QFont font(QString::fromUtf8(lf.lfFaceName, static_cast<int>(strnlen(lf.lfFaceName, LF_FACESIZE))));
  font.setPointSizeF(sizeTenths > 0 ? sizeTenths / 10.0 : 9.0);
  if (lf.lfWeight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 100, 900)));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  return font;
}

}  // namespace axview
