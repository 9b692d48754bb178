#include "header_paint.h"

#include <QFontMetrics>
#include <QPalette>

namespace axview {

void DrawButtonFace(QPainter& painter, const QRect& r, const QPalette& palette) {
  if (r.width() <= 0 || r.height() <= 0) return;
  painter.fillRect(r, palette.color(QPalette::Button));
  painter.setPen(palette.color(QPalette::Light));
  painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  painter.setPen(palette.color(QPalette::Dark));
  painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

void DrawElidedText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment horizontal) {
  DrawElidedText(painter, painter.fontMetrics(), rect, text, horizontal);
}

void DrawElidedText(QPainter& painter, const QFontMetrics& fm, const QRect& rect, const QString& text,
                    Qt::Alignment horizontal) {
  if (rect.width() <= 0 || text.isEmpty()) return;
  QString shown = text;
  int width = fm.horizontalAdvance(shown);
  if (width > rect.width()) {
    shown = fm.elidedText(text, Qt::ElideRight, rect.width());
    width = fm.horizontalAdvance(shown);
  }
  int x = rect.left();
  if (horizontal & Qt::AlignRight) x = rect.left() + rect.width() - width;
  else if (horizontal & Qt::AlignHCenter) x = rect.left() + (rect.width() - width) / 2;
  int y = rect.top() + (rect.height() - fm.height()) / 2 + fm.ascent();
  painter.drawText(x, y, shown);
}

}  // namespace axview
