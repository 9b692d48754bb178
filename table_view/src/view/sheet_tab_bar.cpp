#include "sheet_tab_bar.h"

#include <QMouseEvent>
#include <QPainter>

#include "axview/table_view.h"
#include "header_paint.h"

CSheetTabBar::CSheetTabBar(CTableView* view) : QWidget(view->viewport()), m_view(view) {
  setObjectName(QStringLiteral("SheetTabBar"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSheetTabBar::InsertTab(int index, const std::string& caption) {
  index = std::clamp(index, 0, Count());
  m_captions.insert(m_captions.begin() + index, caption);
  m_widths.clear();
  if (m_current < 0) m_current = 0;
  else if (index <= m_current) ++m_current;
  update();
}

void CSheetTabBar::RemoveTab(int index) {
  if (index < 0 || index >= Count()) return;
  m_captions.erase(m_captions.begin() + index);
  m_widths.clear();
  if (m_captions.empty()) m_current = -1;
  else if (index < m_current || m_current >= Count()) --m_current;
  m_first = std::clamp(m_first, 0, std::max(0, Count() - 1));
  update();
}

void CSheetTabBar::Clear() {
  m_captions.clear();
  m_widths.clear();
  m_current = -1;
  m_first = 0;
  update();
}

void CSheetTabBar::SetCurSel(int index) {
  if (index < 0 || index >= Count()) return;
  m_current = index;
  // Scroll the strip so that the current tab shows.
  if (m_current < m_first) m_first = m_current;
  while (m_first < m_current && LastFullyShownTab() < m_current) ++m_first;
  update();
}

QRect CSheetTabBar::ButtonRect(int button) const {
  const int h = m_view->GetLineHeight();
  return QRect(button * h, 1, h, h);
}

void CSheetTabBar::FontChanged() {
  m_widths.clear();
  update();
}

int CSheetTabBar::TabWidth(int index) const {
  if (m_widths.size() != m_captions.size()) {
    const int h = m_view->GetLineHeight();
    QFontMetrics fm(*m_view->GetFont());
    m_widths.clear();
    for (const auto& caption : m_captions)
      m_widths.push_back(fm.horizontalAdvance(QString::fromStdString(caption)) + 2 * h + 1);
  }
  return m_widths[index];
}

QPolygon CSheetTabBar::TabShape(int index) const {
  if (index < m_first || index >= Count()) return {};
  const int h = m_view->GetLineHeight();
  int x = 4 * h + 1;
  for (int i = m_first; i < index; ++i) x += TabWidth(i) - h / 2;
  const int w = TabWidth(index);
  QPolygon shape;
  shape << QPoint(x, 0) << QPoint(x + w, 0) << QPoint(x + w - h / 2, h) << QPoint(x + h / 2, h);
  return shape;
}

int CSheetTabBar::LastFullyShownTab() const {
  int last = m_first - 1;
  for (int i = m_first; i < Count(); ++i) {
    if (TabShape(i).boundingRect().right() >= width()) break;
    last = i;
  }
  return last;
}

bool CSheetTabBar::ButtonEnabled(int button) const {
  if (button == First || button == Previous) return m_first > 0;
  return m_first < Count() - 1 && LastFullyShownTab() < Count() - 1;
}

int CSheetTabBar::TabAt(const QPoint& point) const {
  // The current tab lies on top of its neighbours.
  if (m_current >= 0 && TabShape(m_current).containsPoint(point, Qt::OddEvenFill)) return m_current;
  for (int i = m_first; i < Count(); ++i)
    if (TabShape(i).containsPoint(point, Qt::OddEvenFill)) return i;
  return -1;
}

void CSheetTabBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& pal = palette();
  const int h = m_view->GetLineHeight();
  painter.fillRect(rect(), pal.color(QPalette::Button));
  painter.setRenderHint(QPainter::Antialiasing, false);

  for (int b = 0; b < ButtonCount; ++b) {
    QRect r = ButtonRect(b);
    axview::DrawButtonFace(painter, r, pal);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pal.color(ButtonEnabled(b) ? QPalette::ButtonText : QPalette::Mid));
    const int cx = r.center().x(), cy = r.center().y(), s = std::max(2, h / 5);
    const int dir = b <= Previous ? -1 : 1;
    QPolygon arrow;
    arrow << QPoint(cx + dir * s, cy) << QPoint(cx - dir * s, cy - s) << QPoint(cx - dir * s, cy + s);
    painter.drawPolygon(arrow);
    if (b == First || b == Last) painter.drawRect(cx + dir * s + (dir < 0 ? -2 : 1), cy - s, 1, 2 * s);
  }

  QFont normal = *m_view->GetFont();
  QFont bold = normal;
  bold.setBold(true);
  auto drawTab = [&](int i, bool current) {
    QPolygon shape = TabShape(i);
    if (shape.isEmpty()) return;
    painter.setPen(pal.color(QPalette::Dark));
    painter.setBrush(pal.color(current ? QPalette::Base : QPalette::Button));
    painter.drawPolygon(shape);
    painter.setFont(current ? bold : normal);
    painter.setPen(pal.color(current ? QPalette::Text : QPalette::ButtonText));
    QRect r = shape.boundingRect().adjusted(h / 2, 0, -h / 2, 0);
    axview::DrawElidedText(painter, r, QString::fromStdString(m_captions[i]), Qt::AlignHCenter);
  };
  for (int i = Count() - 1; i >= m_first; --i)
    if (i != m_current) drawTab(i, false);
  // The line along the top edge, open under the current tab.
  painter.setPen(pal.color(QPalette::Dark));
  painter.drawLine(4 * h + 1, 0, width(), 0);
  if (m_current >= m_first) drawTab(m_current, true);
  if (m_current >= m_first && !TabShape(m_current).isEmpty()) {
    QPolygon s = TabShape(m_current);
    painter.setPen(pal.color(QPalette::Base));
    painter.drawLine(s[0].x() + 1, 0, s[1].x() - 1, 0);
  }
}

void CSheetTabBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  for (int b = 0; b < ButtonCount; ++b) {
    if (!ButtonRect(b).contains(p)) continue;
    if (!ButtonEnabled(b)) return;
    if (b == First) m_first = 0;
    else if (b == Previous) --m_first;
    else if (b == Next) ++m_first;
    else
      while (LastFullyShownTab() < Count() - 1 && m_first < Count() - 1) ++m_first;
    update();
    return;
  }
  const int tab = TabAt(p);
  if (tab < 0 || tab == m_current) return;
  // The open edit belongs to the sheet shown now: it is finished first, and
  // a refused value keeps that sheet.
  if (!m_view->CommitPendingEdit()) return;
  m_current = tab;
  update();
  m_view->OnTabSheetSelchange();
}
