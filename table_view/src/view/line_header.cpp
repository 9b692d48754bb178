#include "line_header.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include "axview/table_view.h"
#include "cell_text_painter.h"
#include "header_paint.h"

CLineHeaderWnd::CLineHeaderWnd(CTableView* view) : QWidget(view->viewport()), m_view(view) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

int CLineHeaderWnd::LineAt(int y) const {
  const int h = m_view->GetLineHeight();
  if (y < h) return -1;
  return y / h + m_view->GetTopLine() - 1;
}

void CLineHeaderWnd::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setFont(*m_view->GetFont());
  const QPalette& pal = palette();
  const int h = m_view->GetLineHeight();
  const int w = width();
  axview::DrawButtonFace(painter, QRect(0, 0, w, h), pal);
  painter.setPen(pal.color(QPalette::ButtonText));
  axview::DrawElidedText(painter, QRect(2, 0, w - 4, h), QString::fromStdString(m_view->GetViewTitle()),
                         Qt::AlignHCenter);
  const CSheetObj* sheet = m_view->CurrentSheet();
  const int lines = sheet ? static_cast<int>(sheet->m_lines.size()) : 0;
  const int top = m_view->GetTopLine();
  const QRect area = event->rect();
  for (int y = h; y < height(); y += h) {
    if (y + h <= area.top() || y > area.bottom()) continue;
    QRect r(0, y, w, h);
    axview::DrawButtonFace(painter, r, pal);
    const int line = top + y / h - 1;
    if (sheet && line < lines) {
      painter.setPen(pal.color(QPalette::ButtonText));
      const std::string number = std::to_string(line + 1);
      m_view->TextPainter().Draw(painter, r.adjusted(2, 0, -2, 0), number, Qt::AlignHCenter);
    }
  }
}

void CLineHeaderWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const CSheetObj* sheet = m_view->CurrentSheet();
  const int line = LineAt(event->position().toPoint().y());
  if (!sheet || line < 0 || line >= static_cast<int>(sheet->m_lines.size())) return;
  m_selecting = true;
  m_view->OnHeaderLineBeginDrag(line);
}

void CLineHeaderWnd::mouseMoveEvent(QMouseEvent* event) {
  if (!m_selecting) return;
  m_view->OnHeaderLineTrack(LineAt(event->position().toPoint().y()));
}

void CLineHeaderWnd::mouseReleaseEvent(QMouseEvent* event) {
  const int line = LineAt(event->position().toPoint().y());
  if (event->button() == Qt::RightButton) {
    const CSheetObj* sheet = m_view->CurrentSheet();
    if (sheet && line >= 0 && line < static_cast<int>(sheet->m_lines.size())) m_view->OnHeaderLineItemClick(line);
    return;
  }
  if (event->button() == Qt::LeftButton && m_selecting) {
    m_selecting = false;
    m_view->OnHeaderLineEndDrag(line);
  }
}

void CLineHeaderWnd::contextMenuEvent(QContextMenuEvent* event) {
  // The right click selects as its release would, then opens the view's menu.
  if (event->reason() != QContextMenuEvent::Mouse) return;
  const int line = LineAt(event->pos().y());
  const CSheetObj* sheet = m_view->CurrentSheet();
  if (sheet && line >= 0 && line < static_cast<int>(sheet->m_lines.size())) m_view->OnHeaderLineItemClick(line);
  m_view->ShowContextMenu(event->globalPos());
}
