// The system font and the clipboard.
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QApplication>
#include <QGuiApplication>

#include "axview/helpers.h"
#include "log_font.h"

namespace {
bool HaveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }
}  // namespace

extern "C" int GetSystemLogFont(LOGFONT* font) {
  if (!HaveGui()) {
    // No font system without a GUI application: a plain 9-point description.
    if (font) {
      *font = LOGFONT{};
      font->lfHeight = -axview::PointsToPixels(9);
      font->lfWeight = 400;
      font->lfCharSet = 1;
      axview::SetFaceName(*font, "Sans Serif");
    }
    return axview::PointsToPixels(9) + 7;
  }
  QFont caption = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  if (font) {
    *font = axview::LogFontFromQFont(caption);
    font->lfWeight = 400;
  }
  // A menu bar is one line of the menu font with its frame.
  QFont menuFont = qobject_cast<QApplication*>(QCoreApplication::instance())
                       ? QApplication::font("QMenuBar")
                       : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  QFontMetrics menu(menuFont);
  return menu.height() + 6;
}

BOOL GetClipboardText(HWND /*owner*/, std::string& text) {
  text.clear();
  if (!HaveGui()) return 0;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return 0;
  text = clipboard->text().toStdString();
  return text.empty() ? 0 : 1;
}

BOOL SetClipboardText(HWND /*owner*/, std::string& text) {
  if (!HaveGui()) return 0;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return 0;
  clipboard->setText(QString::fromStdString(text));
  return 1;
}
