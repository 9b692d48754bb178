#include "bar_parts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "axview/control_bar_ex.h"

namespace {

void Draw3dRect(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(bottomRight);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

// ---- Flat buttons -----------------------------------------------------------

CFlatIconButton::CFlatIconButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(12, 12);
}

void CFlatIconButton::enterEvent(QEnterEvent*) {
  m_mouseOver = 1;
  update();
}

void CFlatIconButton::leaveEvent(QEvent*) {
  m_mouseOver = 0;
  update();
}

void CFlatIconButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), pal.color(QPalette::Button));
  const QRect r = rect().adjusted(0, 0, -1, -1);
  const bool down = isDown();
  if (down) Draw3dRect(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
  else if (m_mouseOver || !m_flat) Draw3dRect(p, r, pal.color(QPalette::Light), pal.color(QPalette::Dark));
  const QPixmap pm = icon().pixmap(13, 13);
  const int shift = down ? 1 : 0;
  p.drawPixmap((width() - 13) / 2 + shift, (height() - 13) / 2 + shift, pm);
}

QPixmap BarIcon(int index) {
  QPixmap pm(13, 13);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QPen(Qt::black, 1));
  switch (index) {
    case 0:  // a cross
      p.drawLine(3, 3, 9, 9);
      p.drawLine(4, 3, 10, 9);
      p.drawLine(9, 3, 3, 9);
      p.drawLine(10, 3, 4, 9);
      break;
    case 1:  // docked at a side: a small window, wider than high
      p.drawRect(2, 4, 8, 5);
      p.drawLine(2, 5, 10, 5);
      break;
    default:  // docked at the top or bottom: higher than wide
      p.drawRect(4, 2, 5, 8);
      p.drawLine(4, 3, 9, 3);
      break;
  }
  return pm;
}

// ---- Title strip ----------------------------------------------------------------

CBarTitle::CBarTitle(CControlBarEx* bar) : QWidget(bar), m_bar(bar) {
  m_hide = new CFlatIconButton(this);
  m_hide->setObjectName(QStringLiteral("barButton1000"));
  m_hide->setIcon(QIcon(BarIcon(0)));
  m_float = new CFlatIconButton(this);
  m_float->setObjectName(QStringLiteral("barButton1001"));
}

QSize CBarTitle::sizeHint() const {
  if (m_bar->IsFloating()) return QSize(20, fontMetrics().height() + 4);
  return m_bar->IsHorzDocked() ? QSize(16, 16) : QSize(16, 16);
}

void CBarTitle::resizeEvent(QResizeEvent*) { Relayout(); }

void CBarTitle::Relayout() {
  const bool docked = !m_bar->IsFloating();
  const bool buttons = docked && m_bar->ShowsButtons();
  m_hide->setVisible(buttons);
  m_float->setVisible(buttons);
  if (!buttons) return;
  if (m_bar->IsHorzDocked()) {
    m_hide->move(2, 3);
    m_float->move(2, 17);
    m_float->setIcon(QIcon(BarIcon(2)));
  } else {
    m_hide->move(width() - 17, 2);
    m_float->move(width() - 31, 2);
    m_float->setIcon(QIcon(BarIcon(1)));
  }
  update();
}

void CBarTitle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), pal.color(QPalette::Button));
  if (m_bar->IsFloating()) {
    p.setPen(pal.color(QPalette::ButtonText));
    p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, m_bar->windowTitle());
    return;
  }
  if (!m_bar->ShowsGripper()) return;
  const bool buttons = m_bar->ShowsButtons();
  // Two raised lines, 3 pixels wide and 4 apart.
  if (m_bar->IsHorzDocked()) {
    const int top = buttons ? 30 : 1;
    for (int x : {4, 8}) Draw3dRect(p, QRect(x, top, 2, height() - top - 3), pal.color(QPalette::Light), pal.color(QPalette::Dark));
  } else {
    const int right = width() - (buttons ? 30 : 2);
    for (int y : {4, 8}) Draw3dRect(p, QRect(2, y, right - 4, 2), pal.color(QPalette::Light), pal.color(QPalette::Dark));
  }
}

// ---- Frame with the resize edge --------------------------------------------------

CBarFrame::CBarFrame(CControlBarEx* bar) : QWidget(bar), m_bar(bar) {
  setMouseTracking(true);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(0);
  Relayout();
}

void CBarFrame::Relayout() {
  const int e = CControlBarEx::kEdgeWidth + 2;
  QMargins m(2, 2, 2, 2);
  switch (m_bar->GetDockingSide()) {
    case AFX_IDW_DOCKBAR_TOP: m.setBottom(e); break;
    case AFX_IDW_DOCKBAR_BOTTOM: m.setTop(e); break;
    case AFX_IDW_DOCKBAR_LEFT: m.setRight(e); m.setBottom(6); break;
    case AFX_IDW_DOCKBAR_RIGHT: m.setLeft(e); m.setBottom(6); break;
    default: break;
  }
  layout()->setContentsMargins(m);
  update();
}

void CBarFrame::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), pal.color(QPalette::Button));
  const QRect edge = m_bar->EdgeRect();
  if (!edge.isEmpty()) Draw3dRect(p, edge.adjusted(0, 0, -1, -1), pal.color(QPalette::Light), pal.color(QPalette::Dark));
}

void CBarFrame::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !m_bar->IsTracking() && m_bar->EdgeRect().contains(event->position().toPoint())) {
    m_bar->StartTracking(event->globalPosition().toPoint());
    return;
  }
  event->ignore();
}

void CBarFrame::mouseMoveEvent(QMouseEvent* event) {
  if (m_bar->IsTracking()) {
    m_bar->TrackTo(event->globalPosition().toPoint());
    return;
  }
  if (m_bar->EdgeRect().contains(event->position().toPoint()))
    setCursor(m_bar->IsHorzDocked() ? Qt::SplitVCursor : Qt::SplitHCursor);
  else
    unsetCursor();
  event->ignore();
}

void CBarFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_bar->IsTracking()) {
    m_bar->TrackTo(event->globalPosition().toPoint());
    m_bar->StopTracking(1);
    return;
  }
  event->ignore();
}

void CBarFrame::changeEvent(QEvent* event) {
  // Another window taking over (Alt+Tab) ends a drag without a new size.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) m_bar->OnCaptureChanged();
  QWidget::changeEvent(event);
}

// ---- Tracker ---------------------------------------------------------------------

CBarTracker::CBarTracker(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void CBarTracker::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
}
