#include "group_area.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog_util.h"

namespace axcfgui {

namespace {
constexpr unsigned kIdsIndependent = 31224;       // "Independent"
constexpr unsigned kIdsInterpolationGroup = 31225;  // "Interpolation group"
constexpr unsigned kIdsAxisLabel = 10001;           // "%d axis"
constexpr int kGap = 4;
}  // namespace

// One area holding axis labels: the independent area (no frame) or one of
// the group boxes A-D. The labels flow left to right, then downwards.
class CAxisLabelBox : public QGroupBox {
 public:
  CAxisLabelBox(CGroupArea& area, int target, const QString& title, int columns, int rows)
      : QGroupBox(title), m_area(area), m_target(target), m_columns(columns), m_rows(rows) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (target == axcfg::kDropIndependent) setFlat(true);
  }

  std::vector<int> Axes() const {
    const axcfg::CGroupArrangement& a = m_area.Arrangement();
    return m_target == axcfg::kDropIndependent ? a.Independent() : a.Members(m_target);
  }

  QSize LabelSize() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(AxisText(8)) + 12, fm.height() + 6};
  }

  // The rectangle of the n-th label, in this box's coordinates.
  QRect LabelRect(int n) const {
    const QRect c = contentsRect().adjusted(kGap, kGap, -kGap, -kGap);
    const QSize s = LabelSize();
    const int perRow = std::max(1, (c.width() + kGap) / (s.width() + kGap));
    return QRect(c.left() + (n % perRow) * (s.width() + kGap), c.top() + (n / perRow) * (s.height() + kGap),
                 s.width(), s.height());
  }

  QSize minimumSizeHint() const override {
    const QSize s = LabelSize();
    const QMargins m = contentsMargins();
    return {m.left() + m.right() + 2 * kGap + m_columns * s.width() + (m_columns - 1) * kGap,
            m.top() + m.bottom() + 2 * kGap + m_rows * s.height() + (m_rows - 1) * kGap};
  }
  QSize sizeHint() const override { return minimumSizeHint(); }

  static QString AxisText(int axisNumber) {
    return UiQText(kIdsAxisLabel).replace(QStringLiteral("%d"), QString::number(axisNumber));
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    // The independent area is drawn without a frame of its own.
    if (m_target != axcfg::kDropIndependent) QGroupBox::paintEvent(event);
    QPainter p(this);
    const std::vector<int> axes = Axes();
    for (size_t n = 0; n < axes.size(); ++n) {
      const QRect r = LabelRect(static_cast<int>(n));
      const bool highlighted = m_area.IsHighlighted(axes[n]);
      const QPalette& pal = palette();
      p.fillRect(r, highlighted ? pal.highlight() : pal.base());
      p.setPen(pal.color(QPalette::Mid));
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.setPen(highlighted ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
      p.drawText(r, Qt::AlignCenter, AxisText(axes[n] + 1));
    }
  }

 private:
  CGroupArea& m_area;
  int m_target;
  int m_columns;
  int m_rows;
};

CGroupArea::CGroupArea(axcfg::CGroupArrangement& arrangement, QWidget* parent)
    : QWidget(parent), m_arrangement(arrangement), m_caption(new QLabel(UiQText(kIdsIndependent))) {
  m_caption->setProperty("controlId", kIdIndependent);
  m_caption->setFocusPolicy(Qt::StrongFocus);
  m_caption->installEventFilter(this);
  m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);

  m_independent = new CAxisLabelBox(*this, axcfg::kDropIndependent, QString(), 4, 2);
  auto* separator = new QFrame;
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setAttribute(Qt::WA_TransparentForMouseEvents);

  m_groupFrame = new QGroupBox(UiQText(kIdsInterpolationGroup));
  m_groupFrame->setProperty("controlId", kIdInterpolationGroup);
  m_groupFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* boxes = new QHBoxLayout(m_groupFrame);
  for (int g = 0; g < axcfg::kGroupCount; ++g) {
    auto* box = new CAxisLabelBox(*this, g, QString(QChar(u'A' + g)), 1, 3);
    box->setProperty("controlId", kIdFirstGroupBox + g);
    boxes->addWidget(box);
    m_groups[static_cast<size_t>(g)] = box;
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_caption);
  layout->addWidget(m_independent);
  layout->addWidget(separator);
  layout->addWidget(m_groupFrame);
  layout->addStretch(1);
}

CAxisLabelBox* CGroupArea::BoxOf(int target) const {
  if (target == axcfg::kDropIndependent) return m_independent;
  if (target >= 0 && target < axcfg::kGroupCount) return m_groups[static_cast<size_t>(target)];
  return nullptr;
}

QRect CGroupArea::LabelRect(int axisIndex) const {
  CAxisLabelBox* box = BoxOf(m_arrangement.GroupOf(axisIndex));
  if (!box) return {};
  const std::vector<int> axes = box->Axes();
  const auto it = std::find(axes.begin(), axes.end(), axisIndex);
  if (it == axes.end()) return {};
  const QRect r = box->LabelRect(static_cast<int>(it - axes.begin()));
  return r.translated(box->mapTo(this, QPoint(0, 0)));
}

QRect CGroupArea::TargetRect(int target) const {
  if (target == axcfg::kDropIndependent) {
    // The caption belongs to the independent area.
    const QRect caption = m_caption->geometry();
    return caption.united(QRect(m_independent->mapTo(this, QPoint(0, 0)), m_independent->size()));
  }
  CAxisLabelBox* box = BoxOf(target);
  return box ? QRect(box->mapTo(this, QPoint(0, 0)), box->size()) : QRect();
}

int CGroupArea::TargetAt(const QPoint& pos) const {
  for (int g = 0; g < axcfg::kGroupCount; ++g)
    if (TargetRect(g).contains(pos)) return g;
  if (TargetRect(axcfg::kDropIndependent).contains(pos)) return axcfg::kDropIndependent;
  return axcfg::kDropNowhere;
}

int CGroupArea::AxisAt(const QPoint& pos) const {
  for (int axis = 0; axis < axcfg::kAxisCount; ++axis)
    if (LabelRect(axis).contains(pos)) return axis;
  return -1;
}

bool CGroupArea::IsHighlighted(int axisIndex) const {
  return axisIndex == m_selected && (m_caption->hasFocus() || m_dragAxis >= 0);
}

void CGroupArea::Refresh() {
  if (m_selected >= 0 && m_arrangement.GroupOf(m_selected) == axcfg::kDropNowhere) m_selected = -1;
  m_independent->update();
  for (CAxisLabelBox* box : m_groups) box->update();
}

void CGroupArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || m_dragAxis >= 0) {
    QWidget::mousePressEvent(event);
    return;
  }
  const int axis = AxisAt(event->position().toPoint());
  if (axis < 0) {
    QWidget::mousePressEvent(event);
    return;
  }
  m_selected = axis;
  m_dragAxis = axis;
  // The press itself holds the mouse: moves and the release come here
  // until the button goes up, wherever the pointer is.
  m_caption->setFocus(Qt::MouseFocusReason);
  ShowCursorFor(event->position().toPoint());
  Refresh();
}

void CGroupArea::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragAxis >= 0) ShowCursorFor(event->position().toPoint());
  QWidget::mouseMoveEvent(event);
}

void CGroupArea::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragAxis < 0 || event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const int axis = m_dragAxis;
  const int target = TargetAt(event->position().toPoint());
  EndDrag();
  if (m_arrangement.Move(axis, target)) emit arrangementChanged();
  Refresh();
}

std::vector<int> CGroupArea::AxesInDrawingOrder() const {
  std::vector<int> order = m_arrangement.Independent();
  for (int g = 0; g < axcfg::kGroupCount; ++g)
    for (int axis : m_arrangement.Members(g)) order.push_back(axis);
  return order;
}

void CGroupArea::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (m_dragAxis >= 0) {
    if (key == Qt::Key_Escape) {
      EndDrag();
      Refresh();
    }
    return;  // the drag ends, the dialog stays
  }
  if (!m_caption->hasFocus() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  // The keyboard way of dragging: the arrow keys select a label, A to D
  // move it into that group and Delete makes it independent.
  const std::vector<int> order = AxesInDrawingOrder();
  const auto at = std::find(order.begin(), order.end(), m_selected);
  int target = axcfg::kDropNowhere;
  switch (key) {
    case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down: {
      if (order.empty()) break;
      const bool back = key == Qt::Key_Left || key == Qt::Key_Up;
      if (at == order.end()) m_selected = back ? order.back() : order.front();
      else if (back) m_selected = at == order.begin() ? *at : *(at - 1);
      else m_selected = at + 1 == order.end() ? *at : *(at + 1);
      Refresh();
      return;
    }
    case Qt::Key_A: case Qt::Key_B: case Qt::Key_C: case Qt::Key_D: target = key - Qt::Key_A; break;
    case Qt::Key_Delete: target = axcfg::kDropIndependent; break;
    default: QWidget::keyPressEvent(event); return;
  }
  if (at == order.end()) return;
  if (m_arrangement.Move(m_selected, target)) emit arrangementChanged();
  Refresh();
}

bool CGroupArea::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::UngrabMouse:
    case QEvent::WindowDeactivate:
    case QEvent::WindowBlocked:
    case QEvent::Hide:
      // The button release will not reach us: the drag ends unchanged.
      if (m_dragAxis >= 0) {
        EndDrag();
        Refresh();
      }
      break;
    default: break;
  }
  return QWidget::event(event);
}

bool CGroupArea::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_caption && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) Refresh();
  return QWidget::eventFilter(watched, event);
}

void CGroupArea::ShowCursorFor(const QPoint& pos) {
  const bool valid = m_arrangement.CanMove(m_dragAxis, TargetAt(pos));
  setCursor(valid ? kValidTargetCursor : kInvalidTargetCursor);
}

void CGroupArea::EndDrag() {
  m_dragAxis = -1;
  unsetCursor();
}

}  // namespace axcfgui
