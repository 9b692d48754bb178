#include "column_header.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

#include "axview/table_view.h"
#include "cell_text_painter.h"
#include "header_paint.h"

CColumnHeaderWnd::CColumnHeaderWnd(CTableView* view) : QWidget(view->viewport()), m_view(view) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

int CColumnHeaderWnd::ContentX(int x) const { return x + m_view->GetHScrollPos(); }

int CColumnHeaderWnd::DividerAt(int x) const {
  const CSheetObj* sheet = m_view->CurrentSheet();
  if (!sheet) return -1;
  const int cx = ContentX(x);
  int best = -1, bestDistance = kDividerZone + 1;
  for (const auto& c : sheet->m_columns) {
    if (c->m_extent.IsRectEmpty()) continue;
    int distance = std::abs(cx - c->m_extent.right);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = c->m_index;
    }
  }
  return best;
}

int CColumnHeaderWnd::ColumnAt(int x) const {
  const CSheetObj* sheet = m_view->CurrentSheet();
  if (!sheet) return -1;
  const int cx = ContentX(x);
  for (const auto& c : sheet->m_columns)
    if (!c->m_extent.IsRectEmpty() && cx >= c->m_extent.left && cx < c->m_extent.right) return c->m_index;
  return -1;
}

void CColumnHeaderWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(*m_view->GetFont());
  const QPalette& pal = palette();
  const int hs = m_view->GetHScrollPos();
  int end = 0;
  if (const CSheetObj* sheet = m_view->CurrentSheet()) {
    for (const auto& c : sheet->m_columns) {
      const CRect& e = c->m_extent;
      if (e.IsRectEmpty()) continue;
      end = std::max(end, e.right - hs);
      QRect r(e.left - hs, 0, e.Width(), height());
      if (r.right() < 0 || r.left() >= width()) continue;
      axview::DrawButtonFace(painter, r, pal);
      painter.setPen(pal.color(QPalette::ButtonText));
      m_view->TextPainter().Draw(painter, r.adjusted(6, 1, -6, -1), c->m_title,
                                 c->IsNumeric() ? Qt::AlignRight : Qt::AlignLeft);
    }
  }
  axview::DrawButtonFace(painter, QRect(std::max(end, 0), 0, width() - std::max(end, 0), height()), pal);
}

void CColumnHeaderWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = event->position().toPoint().x();
  if (int divider = DividerAt(x); divider >= 0) {
    m_mode = Mode::Resizing;
    m_view->OnHeaderColumnBeginTrack(divider);
  } else if (int column = ColumnAt(x); column >= 0) {
    m_mode = Mode::Selecting;
    m_view->OnHeaderColumnBeginDrag(column);
  }
}

void CColumnHeaderWnd::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  switch (m_mode) {
    case Mode::None:
      setCursor(DividerAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
      break;
    case Mode::Selecting:
      m_view->OnHeaderColumnTrack(ColumnAt(x));
      break;
    case Mode::Resizing:
      m_view->OnHeaderColumnTracking(ContentX(x));
      break;
  }
}

void CColumnHeaderWnd::mouseReleaseEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (event->button() == Qt::RightButton) {
    if (int column = ColumnAt(x); column >= 0) m_view->OnHeaderColumnItemClick(column);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  if (m_mode == Mode::Selecting) m_view->OnHeaderColumnEndDrag(ColumnAt(x));
  else if (m_mode == Mode::Resizing) m_view->OnHeaderColumnEndTrack(ContentX(x));
  m_mode = Mode::None;
}

void CColumnHeaderWnd::contextMenuEvent(QContextMenuEvent* event) {
  // The right click selects as its release would, then opens the view's menu.
  if (event->reason() != QContextMenuEvent::Mouse) return;
  if (int column = ColumnAt(event->pos().x()); column >= 0) m_view->OnHeaderColumnItemClick(column);
  m_view->ShowContextMenu(event->globalPos());
}

void CColumnHeaderWnd::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (int divider = DividerAt(event->position().toPoint().x()); divider >= 0) {
    m_mode = Mode::None;
    m_view->OnHeaderColumnDividerDblClick(divider);
  }
}
