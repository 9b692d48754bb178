#pragma once
// Drawing shared by the view's header and tab windows.
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

namespace axview {

// A raised push button face in the palette's button colours.
void DrawButtonFace(QPainter& painter, const QRect& rect, const QPalette& palette);
// Text on one line, vertically centred, cut with an ellipsis when too long.
void DrawElidedText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment horizontal);
void DrawElidedText(QPainter& painter, const QFontMetrics& fm, const QRect& rect, const QString& text,
                    Qt::Alignment horizontal);

}  // namespace axview
