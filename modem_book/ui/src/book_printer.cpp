#include "book_printer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "modem_book/print_layout.h"
#include "modem_ui.h"

namespace modembook {

void PrintBook(const CTelConnectDoc& doc, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QFont font(QStringLiteral("Monospace"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(9);  // the 60 port lines fit an A4 or Letter page
  painter.setFont(font);
  const QFontMetrics metrics(painter.font(), &printer);
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const PrintLayout layout = LayoutPrint(doc, static_cast<int>(page.height()), lineHeight);
  // The indent is 120 units of 600 per inch: 0.2 inch on any printer.
  const int indent = printer.resolution() * kPrintIndent / 600;
  const int width = static_cast<int>(page.width()) - indent;
  bool first = true;
  for (const PrintPage& p : layout.pages) {
    if (!first) printer.newPage();
    first = false;
    int y = metrics.ascent();
    painter.drawText(indent, y, Qt8(p.caption));
    const QString number = Qt8(p.pageText);
    painter.drawText(static_cast<int>(page.width()) - metrics.horizontalAdvance(number), y, number);
    y += lineHeight * kPrintHeadingLines;
    for (const PrintLine& line : p.lines) {
      painter.drawText(indent, y, Qt8(line.text));
      if (!line.second.empty()) painter.drawText(indent + width / 2, y, Qt8(line.second));
      y += lineHeight;
    }
  }
  painter.end();
}

}  // namespace modembook
