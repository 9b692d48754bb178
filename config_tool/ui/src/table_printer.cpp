#include "table_printer.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace axcfgui {

namespace {
constexpr int kPaddingEm = 1;  // space left and right of a cell's text, in character widths
}

CTablePrinter::CTablePrinter(PrintSheet sheet) : m_sheet(std::move(sheet)) {}

void CTablePrinter::Layout(const QSize& page, const QFont& font, const QPaintDevice* device) {
  m_page = page;
  m_font = font;
  const QFontMetrics fm(font, const_cast<QPaintDevice*>(device));
  const int pad = fm.averageCharWidth() * kPaddingEm;
  m_rowHeight = fm.height() * 3 / 2;
  // A column is as wide as its widest text, title included, never wider
  // than the page.
  const int maxWidth = std::max(1, page.width() / 2);
  // A little more than the text: painting may measure a pixel wider.
  auto fit = [&](const QString& text) { return fm.horizontalAdvance(text) + 2 * pad + pad / 2 + 2; };
  m_numberWidth = std::max(fit(m_sheet.lineTitle), fit(QString::number(m_sheet.lines.size())));
  m_numberWidth = std::min(m_numberWidth, maxWidth);
  const int columns = static_cast<int>(m_sheet.titles.size());
  m_widths.assign(static_cast<size_t>(columns), 0);
  for (int c = 0; c < columns; ++c) {
    int w = fit(m_sheet.titles[c]);
    for (const QStringList& line : m_sheet.lines)
      if (c < line.size()) w = std::max(w, fit(line[c]));
    m_widths[static_cast<size_t>(c)] = std::min(w, page.width() - m_numberWidth);
  }
  // Bands of columns that fit beside the line-number column.
  m_bands.clear();
  Band band;
  int used = m_numberWidth;
  for (int c = 0; c < columns; ++c) {
    const int w = m_widths[static_cast<size_t>(c)];
    if (band.last >= band.first && used + w > page.width()) {
      m_bands.push_back(band);
      band = Band{c, c - 1};
      used = m_numberWidth;
    }
    band.last = c;
    used += w;
  }
  if (band.last >= band.first || m_bands.empty()) m_bands.push_back(band);
  // Header (two text rows), the title row, and the footer.
  const int bodyHeight = page.height() - 4 * m_rowHeight;
  m_linesPerPage = std::max(1, bodyHeight / std::max(1, m_rowHeight));
  const int lineCount = static_cast<int>(m_sheet.lines.size());
  m_linePages = std::max(1, (lineCount + m_linesPerPage - 1) / m_linesPerPage);
}

void CTablePrinter::PaintPage(QPainter& painter, int page, const QString& footerText) const {
  if (m_bands.empty()) return;
  const Band& band = m_bands[static_cast<size_t>(page / m_linePages)];
  const int firstLine = (page % m_linePages) * m_linesPerPage;
  const int lastLine = std::min(static_cast<int>(m_sheet.lines.size()), firstLine + m_linesPerPage);
  painter.save();
  painter.setFont(m_font);
  const QFontMetrics fm(m_font, painter.device());
  const int pad = fm.averageCharWidth() * kPaddingEm;
  const int h = m_rowHeight;

  // Header: the file left, the sheet right.
  painter.drawText(QRect(0, 0, m_page.width(), h), Qt::AlignLeft | Qt::AlignVCenter, m_sheet.fileName);
  painter.drawText(QRect(0, 0, m_page.width(), h), Qt::AlignRight | Qt::AlignVCenter, m_sheet.sheetName);

  auto drawCell = [&](int x, int y, int w, const QString& text, Qt::Alignment align) {
    painter.drawRect(QRect(x, y, w, h));
    const QString shown = fm.elidedText(text, Qt::ElideRight, std::max(0, w - 2 * pad));
    painter.drawText(QRect(x + pad, y, std::max(0, w - 2 * pad), h), align | Qt::AlignVCenter, shown);
  };
  auto drawRow = [&](int y, const QString& head, const QStringList& cells, bool titles) {
    int x = 0;
    drawCell(x, y, m_numberWidth, head, titles ? Qt::AlignHCenter : Qt::AlignRight);
    x += m_numberWidth;
    for (int c = band.first; c <= band.last; ++c) {
      const int w = m_widths[static_cast<size_t>(c)];
      const bool right = !titles && c < static_cast<int>(m_sheet.numeric.size()) && m_sheet.numeric[c];
      drawCell(x, y, w, c < cells.size() ? cells[c] : QString(), right ? Qt::AlignRight : Qt::AlignLeft);
      x += w;
    }
  };

  int y = 2 * h;
  painter.save();
  painter.setBrush(QColor(230, 230, 230));
  painter.drawRect(QRect(0, y, m_numberWidth + [&] {
    int w = 0;
    for (int c = band.first; c <= band.last; ++c) w += m_widths[static_cast<size_t>(c)];
    return w;
  }(), h));
  painter.restore();
  drawRow(y, m_sheet.lineTitle, m_sheet.titles, true);
  for (int line = firstLine; line < lastLine; ++line) {
    y += h;
    drawRow(y, QString::number(line + 1), m_sheet.lines[static_cast<size_t>(line)], false);
  }
  // Footer.
  painter.drawText(QRect(0, m_page.height() - h, m_page.width(), h), Qt::AlignHCenter | Qt::AlignVCenter,
                   footerText);
  painter.restore();
}

bool CTablePrinter::Print(QPagedPaintDevice& device, const QFont& font, const QString& date,
                          const QString& pageFormat) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
  Layout(area.size(), font, &device);
  const int pages = PageCount();
  for (int page = 0; page < pages; ++page) {
    if (page > 0) device.newPage();
    const QString footer = pageFormat.arg(page + 1).arg(pages) + QStringLiteral("    ") + date;
    PaintPage(painter, page, footer);
  }
  painter.end();
  return true;
}

}  // namespace axcfgui
