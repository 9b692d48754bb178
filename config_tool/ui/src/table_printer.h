#pragma once
// CTablePrinter: the printed pages of one sheet of the grid. Every page has
// a header (file name and sheet name), the column titles, grid lines around
// every cell and a footer (page n of m, date). Columns keep their natural
// width; those that do not fit beside each other go on further pages, each
// again with the table No. column, so that no column is ever squeezed over
// another.
#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace axcfgui {

struct PrintSheet {
  QString fileName;
  QString sheetName;
  QString lineTitle;  // the title of the line-number column
  QStringList titles;
  std::vector<bool> numeric;  // right-aligned columns
  std::vector<QStringList> lines;
};

class CTablePrinter {
 public:
  explicit CTablePrinter(PrintSheet sheet);

  // Lays the pages out for a page area of this size (device pixels) with
  // the font as the device sees it.
  void Layout(const QSize& page, const QFont& font, const QPaintDevice* device);

  int PageCount() const { return static_cast<int>(m_bands.size()) * m_linePages; }
  // The columns of each band of pages, first and last (inclusive).
  struct Band {
    int first = 0;
    int last = -1;
  };
  const std::vector<Band>& Bands() const { return m_bands; }
  int LinesPerPage() const { return m_linesPerPage; }
  // The width every column takes on paper (the line-number column first).
  const std::vector<int>& ColumnWidths() const { return m_widths; }
  int LineNumberWidth() const { return m_numberWidth; }

  // Paints page (0-based) into the painter's page area.
  void PaintPage(QPainter& painter, int page, const QString& footerText) const;
  // Lays out and prints every page on the device; false when painting could
  // not start.
  // pageFormat holds %1 for the page and %2 for the page count.
  bool Print(QPagedPaintDevice& device, const QFont& font, const QString& date, const QString& pageFormat);

 private:
  PrintSheet m_sheet;
  QFont m_font;
  QSize m_page;
  int m_rowHeight = 0;
  int m_numberWidth = 0;
  int m_linesPerPage = 1;
  int m_linePages = 1;
  std::vector<int> m_widths;
  std::vector<Band> m_bands;
};

}  // namespace axcfgui
