// Painting the data area: grid, cell texts and the inverted selection.
#include <QPaintEvent>
#include <QPainter>
#include <string_view>
#include <vector>

#include "axview/table_view.h"
#include "cell_text_painter.h"
#include "platform/cp932.h"
#include "header_paint.h"
#include "tab_text.h"

namespace {
// The most of a line's text that is drawn.
constexpr size_t kMaxDrawnLine = 999;
}  // namespace

void CTableView::paintEvent(QPaintEvent* event) {
  const QRect area = DataArea() & event->rect();
  if (area.isEmpty()) return;
  QPainter painter(viewport());
  painter.setClipRect(area);
  painter.fillRect(area, palette().color(QPalette::Base));
  DrawCells(painter, area);
  DrawSelection(painter, area);
  if (m_trackX >= 0) {
    // The column-resize tracker: two inverted pixels wide across the data.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(m_trackX - 1, area.top(), 2, area.height()), Qt::white);
  }
}

void CTableView::DrawCells(QPainter& painter, const QRect& area) {
  const QPalette& pal = palette();
  const int h = m_lineHeight, w = GetLineHeaderWidth();
  const int firstRow = std::max(0, (area.top() - h) / h), lastRow = (area.bottom() - h) / h;
  const CSheetObj* sheet = CurrentSheet();

  struct Visible {
    int x0, x1;
    size_t index;
    bool numeric;
  };
  std::vector<Visible> columns;
  if (sheet) {
    for (const auto& c : sheet->m_columns) {
      const CRect& e = c->m_extent;
      if (e.Width() <= 0) continue;
      const int x0 = e.left - sheet->m_hScroll + w, x1 = e.right - sheet->m_hScroll + w;
      if (x1 <= area.left() || x0 > area.right()) continue;
      columns.push_back({x0, x1, static_cast<size_t>(c->m_index), c->IsNumeric()});
    }
  }

  if (sheet) {
    painter.setFont(m_font);
    painter.setPen(pal.color(QPalette::Text));
    axview::CellTextPainter& texts = TextPainter();
    const int lines = static_cast<int>(sheet->m_lines.size());
    std::vector<std::string_view> fields;
    for (int row = firstRow; row <= lastRow; ++row) {
      const int line = sheet->m_topLine + row;
      if (line >= lines) break;
      std::string_view text = sheet->m_lines[line]->m_text;
      text = text.substr(0, platform::Cp932Prefix(text, kMaxDrawnLine));
      axview::SplitFields(text, fields);
      const int y = h + row * h;
      for (const auto& c : columns) {
        if (c.index >= fields.size() || fields[c.index].empty()) continue;
        const std::string_view field = fields[c.index];
        const QRect textRect(c.x0 + 6, y + 1, c.x1 - c.x0 - 12, h - 1);
        texts.Draw(painter, textRect, field, c.numeric ? Qt::AlignRight : Qt::AlignLeft);
      }
    }
  }

  painter.setPen(pal.color(QPalette::Button));
  for (int row = firstRow; row <= lastRow; ++row) {
    const int y = h + (row + 1) * h - 1;
    painter.drawLine(area.left(), y, area.right(), y);
  }
  for (const auto& c : columns) painter.drawLine(c.x1 - 1, area.top(), c.x1 - 1, area.bottom());
}

QRegion CTableView::SelectionRegion(const CRect& sel, const CPoint& cur) const {
  const CRect first = GetCellRect(sel.top, sel.left), last = GetCellRect(sel.bottom, sel.right);
  if (first.IsRectEmpty() || last.IsRectEmpty()) return {};
  // The block grown by 2 pixels, with the cursor cell (shrunk by 1) cut out
  // so that it keeps its colours inside an inverted frame.
  QRegion block(QRect(QPoint(first.left - 2, first.top - 2), QPoint(last.right + 1, last.bottom + 1)));
  const CRect cell = GetCellRect(cur.y, cur.x);
  if (!cell.IsRectEmpty()) block ^= QRegion(QRect(QPoint(cell.left + 1, cell.top + 1), QPoint(cell.right - 2, cell.bottom - 2)));
  return block;
}

void CTableView::DrawSelection(QPainter& painter, const QRect& area) {
  const CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  const QRegion region = SelectionRegion(sheet->m_selection, sheet->m_cursor) & QRegion(area);
  if (region.isEmpty()) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  for (const QRect& r : region) painter.fillRect(r, Qt::white);
  painter.restore();
}
