#include "axview/control_bar_ex.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

#include "axview/helpers.h"
#include "bar_parts.h"
#include "library_strings.h"

CControlBarEx::CControlBarEx() : QDockWidget(nullptr) {
  setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  m_frame = new CBarFrame(this);
  m_title = new CBarTitle(this);
  setWidget(m_frame);
  setTitleBarWidget(m_title);
  axview::RegisterLibraryStrings();
  std::string tip;
  GetKELDExDLLString(axview::IDS_BAR_HIDE, tip);
  m_title->HideButton()->setToolTip(QString::fromStdString(tip));
  GetKELDExDLLString(axview::IDS_BAR_FLOAT, tip);
  m_title->FloatButton()->setToolTip(QString::fromStdString(tip));
  connect(m_title->HideButton(), &QAbstractButton::clicked, this, &CControlBarEx::OnButtonClose);
  connect(m_title->FloatButton(), &QAbstractButton::clicked, this, &CControlBarEx::OnButtonMinimize);
  connect(this, &QDockWidget::dockLocationChanged, this, [this] { OnWindowPosChanged(); });
  connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
    if (floating) ApplyFloatingSize();
    OnWindowPosChanged();
  });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) OnCaptureChanged();
  });
}

CControlBarEx::~CControlBarEx() { delete m_tracker.data(); }

BOOL CControlBarEx::Create(QMainWindow* parent, UINT id, const char* title, CSize size, DWORD style) {
  if (!parent) return 0;
  setObjectName(QStringLiteral("bar%1").arg(id));
  setWindowTitle(QString::fromUtf8(title ? title : ""));
  m_sizeHorz = m_sizeVert = m_sizeFloat = size;
  delete m_tracker.data();
  m_tracker = new CBarTracker(parent);
  parent->addDockWidget(Qt::TopDockWidgetArea, this);
  setVisible(style & 0x10000000);
  OnWindowPosChanged();
  ApplyDockedSize();
  return 1;
}

void CControlBarEx::SetClientWidget(QWidget* client) {
  QLayout* layout = m_frame->layout();
  while (QLayoutItem* item = layout->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  if (client) layout->addWidget(client);
}

QWidget* CControlBarEx::ClientWidget() const {
  QLayoutItem* item = m_frame->layout()->itemAt(0);
  return item ? item->widget() : nullptr;
}

void CControlBarEx::ShowFrameStuff(int gripper, int buttons) {
  m_showGripper = gripper;
  m_showButtons = buttons;
  m_title->Relayout();
}

QMainWindow* CControlBarEx::Frame() const { return qobject_cast<QMainWindow*>(parentWidget()); }

BOOL CControlBarEx::IsHorzDocked() const {
  return m_dockSide == AFX_IDW_DOCKBAR_TOP || m_dockSide == AFX_IDW_DOCKBAR_BOTTOM;
}
BOOL CControlBarEx::IsVertDocked() const {
  return m_dockSide == AFX_IDW_DOCKBAR_LEFT || m_dockSide == AFX_IDW_DOCKBAR_RIGHT;
}
BOOL CControlBarEx::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

void CControlBarEx::OnWindowPosChanged() {
  if (m_repositioning) return;
  m_repositioning = 1;
  UINT side = 0;
  if (QMainWindow* frame = Frame(); frame && !isFloating()) {
    switch (frame->dockWidgetArea(this)) {
      case Qt::TopDockWidgetArea: side = AFX_IDW_DOCKBAR_TOP; break;
      case Qt::LeftDockWidgetArea: side = AFX_IDW_DOCKBAR_LEFT; break;
      case Qt::RightDockWidgetArea: side = AFX_IDW_DOCKBAR_RIGHT; break;
      case Qt::BottomDockWidgetArea: side = AFX_IDW_DOCKBAR_BOTTOM; break;
      default: break;
    }
  }
  const bool moved = side != m_dockSide;
  m_dockSide = side;
  // Docked at the top or bottom, the gripper and buttons stand at the left.
  QDockWidget::DockWidgetFeatures f = features() & ~QDockWidget::DockWidgetVerticalTitleBar;
  if (IsHorzDocked()) f |= QDockWidget::DockWidgetVerticalTitleBar;
  setFeatures(f);
  setMinimumSize(IsVertDocked() ? kMinSize : 0, IsHorzDocked() ? kMinSize : 0);
  m_frame->Relayout();
  m_title->updateGeometry();
  m_title->Relayout();
  // A bar docked at another side takes the size it had there.
  if (moved) ApplyDockedSize();
  m_repositioning = 0;
}

void CControlBarEx::ApplyDockedSize() {
  QMainWindow* frame = Frame();
  if (!frame || IsFloating()) return;
  if (IsHorzDocked()) frame->resizeDocks({this}, {m_sizeHorz.cy}, Qt::Vertical);
  else frame->resizeDocks({this}, {m_sizeVert.cx}, Qt::Horizontal);
}

void CControlBarEx::ApplyFloatingSize() {
  // A floated bar takes its floating size, not the width it had docked
  // along the whole main window; it never exceeds the screen.
  QSize size(std::max(m_sizeFloat.cx, kMinSize), std::max(m_sizeFloat.cy, kMinSize));
  if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size());
  resize(size);
}

QRect CControlBarEx::EdgeRect() const {
  const QRect r = m_frame->rect();
  switch (m_dockSide) {
    case AFX_IDW_DOCKBAR_TOP: return QRect(r.left(), r.bottom() - kEdgeWidth + 1, r.width(), kEdgeWidth);
    case AFX_IDW_DOCKBAR_BOTTOM: return QRect(r.left(), r.top(), r.width(), kEdgeWidth);
    case AFX_IDW_DOCKBAR_LEFT: return QRect(r.right() - kEdgeWidth + 1, r.top(), kEdgeWidth, r.height());
    case AFX_IDW_DOCKBAR_RIGHT: return QRect(r.left(), r.top(), kEdgeWidth, r.height());
    default: return QRect();
  }
}

CSize CControlBarEx::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
  QMainWindow* frame = Frame();
  if (horizontal) return CSize(stretch ? 32767 : (frame ? frame->width() : 0) + 4, m_sizeHorz.cy);
  return CSize(m_sizeVert.cx, frame ? frame->height() : 0);
}

CSize CControlBarEx::CalcDynamicLayout(int length, DWORD mode) {
  if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
    if (length == -1) updateGeometry();
    return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZDOCK);
  }
  if (mode & (LM_MRUWIDTH | LM_COMMIT)) {
    if (mode & LM_COMMIT) m_sizeFloat.cx = length;
    return m_sizeFloat;
  }
  if (mode & LM_LENGTHY) {
    m_sizeFloat.cy = std::max(length, kMinSize);
    return m_sizeFloat;
  }
  return CSize(std::max(length, kMinSize), m_sizeFloat.cy);
}

QSize CControlBarEx::sizeHint() const {
  if (IsHorzDocked()) return QSize(QDockWidget::sizeHint().width(), m_sizeHorz.cy);
  if (IsVertDocked()) return QSize(m_sizeVert.cx, QDockWidget::sizeHint().height());
  return QSize(m_sizeFloat.cx, m_sizeFloat.cy);
}

// ---- Resizing by the edge -------------------------------------------------------

void CControlBarEx::StartTracking(QPoint globalPos) {
  QMainWindow* frame = Frame();
  if (!frame || !m_tracker || IsFloating() || m_tracking) return;
  m_tracking = 1;
  m_frame->grabMouse();
  QRect edge = EdgeRect();
  edge.moveTopLeft(m_frame->mapTo(frame, edge.topLeft()));
  if (IsVertDocked()) edge.adjust(0, 2, 0, -2);  // 4 pixels shorter
  m_trackStart = globalPos;
  m_trackNow = globalPos;
  m_tracker->setGeometry(edge);
  m_tracker->show();
  m_tracker->raise();
}

void CControlBarEx::TrackTo(QPoint globalPos) {
  if (!m_tracking || !m_tracker) return;
  const QPoint old = m_trackNow;
  m_trackNow = globalPos;
  // The tracker moves along the resize axis only.
  if (IsHorzDocked()) m_tracker->move(m_tracker->x(), m_tracker->y() + (globalPos.y() - old.y()));
  else m_tracker->move(m_tracker->x() + (globalPos.x() - old.x()), m_tracker->y());
}

void CControlBarEx::StopTracking(BOOL accept) {
  if (!m_tracking) return;
  m_tracking = 0;
  if (m_tracker) m_tracker->hide();
  m_frame->releaseMouse();
  QMainWindow* frame = Frame();
  if (!accept || !frame) return;
  const QPoint d = m_trackNow - m_trackStart;
  const bool horz = IsHorzDocked();
  const int old = horz ? height() : width();
  int delta = 0;
  switch (m_dockSide) {
    case AFX_IDW_DOCKBAR_TOP: delta = d.y(); break;
    case AFX_IDW_DOCKBAR_BOTTOM: delta = -d.y(); break;
    case AFX_IDW_DOCKBAR_LEFT: delta = d.x(); break;
    case AFX_IDW_DOCKBAR_RIGHT: delta = -d.x(); break;
    default: break;
  }
  const QWidget* centre = frame->centralWidget();
  const int room = centre ? (horz ? centre->height() : centre->width()) : 0;
  const int size = std::clamp(old + delta, kMinSize, std::max(kMinSize, room + old));
  if (horz) m_sizeHorz.cy = size;
  else m_sizeVert.cx = size;
  ApplyDockedSize();
}

void CControlBarEx::OnCaptureChanged() {
  if (m_tracking) StopTracking(0);
}

bool CControlBarEx::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) OnCaptureChanged();
  return QDockWidget::event(event);
}

// ---- Buttons and menu ------------------------------------------------------------

void CControlBarEx::OnButtonClose() { hide(); }

void CControlBarEx::OnButtonMinimize() { setFloating(!isFloating()); }

std::unique_ptr<QMenu> CControlBarEx::CreateContextMenu(UINT) { return nullptr; }

void CControlBarEx::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (m_menuId == 0) return;
  std::unique_ptr<QMenu> menu = CreateContextMenu(m_menuId);
  if (!menu) return;
  // Its commands go to the main window, as the menu bar's do.
  if (QWidget* top = window()) menu->setParent(top, menu->windowFlags());
  const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : m_frame->mapToGlobal(QPoint(5, 5));
  menu->exec(at);
}
