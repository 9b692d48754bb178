#include "param_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

namespace axcfgui {

namespace {

constexpr int kWheelStep = 120;

int HorizontalFlags(unsigned style) {
  if (style & CParamGrid::kAlignCentre) return Qt::AlignHCenter;
  if (style & CParamGrid::kAlignLeft) return Qt::AlignLeft;
  if (style & CParamGrid::kAlignRight) return Qt::AlignRight;
  return Qt::AlignLeft;
}

int VerticalFlags(unsigned style) {
  if (style & CParamGrid::kAlignTop) return Qt::AlignTop;
  if (style & CParamGrid::kAlignBottom) return Qt::AlignBottom;
  if (style & CParamGrid::kAlignMiddle) return Qt::AlignVCenter;
  return Qt::AlignTop;
}

// A guard that marks a running end of an edit, so that a focus change
// caused by its message box does not start another one.
class EndingScope {
 public:
  explicit EndingScope(bool& flag) : m_flag(flag) { m_flag = true; }
  ~EndingScope() { m_flag = false; }

 private:
  bool& m_flag;
};

// Whether a widget is the editor or lies in it, its own popup windows included.
bool IsInside(const QWidget* widget, const QWidget* editor) {
  for (; widget; widget = widget->parentWidget())
    if (widget == editor) return true;
  return false;
}

}  // namespace

CParamGrid::CParamGrid(QWidget* parent)
    : QWidget(parent), m_vbar(new QScrollBar(Qt::Vertical, this)), m_hbar(new QScrollBar(Qt::Horizontal, this)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  m_vbar->setEnabled(false);
  m_hbar->setEnabled(false);
  m_vbar->setFocusPolicy(Qt::NoFocus);
  m_hbar->setFocusPolicy(Qt::NoFocus);
  connect(m_vbar, &QScrollBar::valueChanged, this, [this](int value) {
    if (m_syncingBars) return;
    if (!ScrollRows(value)) UpdateScrollBars();
  });
  connect(m_hbar, &QScrollBar::valueChanged, this, [this](int value) {
    if (m_syncingBars) return;
    if (!ScrollColumns(value)) UpdateScrollBars();
  });
}

CParamGrid::~CParamGrid() {
  // The grid's own ending: a subclass is already gone.
  if (m_editor) CParamGrid::FinishEdit(Qt::Key_Escape, true, 0);
}

// --- Owner operations ---

void CParamGrid::AttachOwner() {
  if (HasCells()) emit currentCellChanged(m_currentColumn, m_currentRow);
}

void CParamGrid::SetRowCount(int rows) {
  m_rows = std::max(0, rows);
  m_currentRow = std::clamp(m_currentRow, 0, std::max(0, m_rows - 1));
  m_firstRow = std::clamp(m_firstRow, 0, MaxFirstRow());
  UpdateScrollBars();
  update();
}

void CParamGrid::SetColumnCount(int columns, const std::vector<int>& widths) {
  m_columns = std::max(0, columns);
  m_widths.assign(static_cast<size_t>(m_columns), static_cast<int16_t>(m_defaultWidth));
  for (size_t i = 0; i < widths.size() && i < m_widths.size(); ++i)
    m_widths[i] = static_cast<int16_t>(std::clamp(widths[i], 0, int{std::numeric_limits<int16_t>::max()}));
  m_currentColumn = std::clamp(m_currentColumn, 0, std::max(0, m_columns - 1));
  m_firstColumn = std::clamp(m_firstColumn, 0, MaxFirstColumn());
  UpdateScrollBars();
  update();
}

void CParamGrid::SetDefaultColumnWidth(int width) {
  if (width < 0) return;
  m_defaultWidth = std::min(width, int{std::numeric_limits<int16_t>::max()});
  UpdateScrollBars();
  update();
}

void CParamGrid::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= m_columns) return;
  m_widths[static_cast<size_t>(column)] =
      static_cast<int16_t>(std::clamp(width, 0, int{std::numeric_limits<int16_t>::max()}));
  UpdateScrollBars();
  update();
}

void CParamGrid::SetHeaderWidth(int width) {
  m_headerWidth = std::max(0, width);
  UpdateScrollBars();
  update();
}

void CParamGrid::SetFirstVisibleRow(int row) { ScrollRows(row); }
void CParamGrid::SetFirstVisibleColumn(int column) { ScrollColumns(column); }

bool CParamGrid::SetCurrentCell(int column, int row) { return MoveTo(column, row); }

void CParamGrid::Redraw() { update(); }

void CParamGrid::RedrawColumn(int column) {
  const QRect area = CellArea();
  if (column < m_firstColumn || column >= m_columns) return;
  const int left = ColumnLeft(column);
  if (left >= area.right()) return;
  update(QRect(left, area.top(), ColumnWidth(column) + 1, area.height()));
}

// --- Geometry ---

int CParamGrid::ColumnWidth(int column) const {
  if (column < 0 || column >= m_columns) return m_defaultWidth;
  const int w = m_widths[static_cast<size_t>(column)];
  return w < kMinimumColumnWidth ? m_defaultWidth : w;
}

int CParamGrid::RowHeight() const { return std::max(1, fontMetrics().height() + 8); }

QRect CParamGrid::CellArea() const {
  const QRect whole(0, 0, width() - m_vbar->sizeHint().width(), height() - m_hbar->sizeHint().height());
  return whole.adjusted(m_headerWidth, RowHeight(), 0, 0);
}

int CParamGrid::TotalWidthHint() const {
  int w = m_headerWidth + m_vbar->sizeHint().width() + 2;
  for (int c = 0; c < m_columns; ++c) w += ColumnWidth(c);
  return w;
}

int CParamGrid::VisibleRows() const { return std::max(0, CellArea().height() / RowHeight()); }

int CParamGrid::MaxFirstRow() const { return std::max(0, m_rows - std::max(1, VisibleRows())); }

int CParamGrid::MaxFirstColumn() const {
  int room = CellArea().width();
  int first = m_columns;
  while (first > 0 && room >= ColumnWidth(first - 1)) room -= ColumnWidth(--first);
  return std::min(first, std::max(0, m_columns - 1));
}

int CParamGrid::ColumnLeft(int column) const {
  int x = CellArea().left();
  for (int c = m_firstColumn; c < column; ++c) x += ColumnWidth(c);
  return x;
}

QRect CParamGrid::CellRect(int column, int row) const {
  if (column < m_firstColumn || column >= m_columns || row < m_firstRow || row >= m_rows) return {};
  const QRect area = CellArea();
  const QRect cell(ColumnLeft(column), area.top() + (row - m_firstRow) * RowHeight(), ColumnWidth(column),
                   RowHeight());
  return cell.intersects(area) ? cell : QRect();
}

bool CParamGrid::CellAt(const QPoint& pos, int& column, int& row) const {
  const QRect area = CellArea();
  if (!HasCells() || !area.contains(pos)) return false;
  row = m_firstRow + (pos.y() - area.top()) / RowHeight();
  if (row >= m_rows) return false;
  int x = area.left();
  for (int c = m_firstColumn; c < m_columns; ++c) {
    x += ColumnWidth(c);
    if (pos.x() < x) {
      column = c;
      return true;
    }
  }
  return false;
}

int CParamGrid::ResizeColumnAt(const QPoint& pos) const {
  const QRect area = CellArea();
  if (pos.y() < 0 || pos.y() >= area.top()) return -1;
  int x = area.left();
  for (int c = m_firstColumn; c < m_columns && x <= area.right() + kResizeZone; ++c) {
    x += ColumnWidth(c);
    if (std::abs(pos.x() - x) <= kResizeZone) return c;
  }
  return -1;
}

void CParamGrid::UpdateScrollBars() {
  m_syncingBars = true;
  m_firstRow = std::clamp(m_firstRow, 0, MaxFirstRow());
  m_firstColumn = std::clamp(m_firstColumn, 0, MaxFirstColumn());
  m_vbar->setRange(0, MaxFirstRow());
  m_vbar->setPageStep(std::max(1, VisibleRows()));
  m_vbar->setValue(m_firstRow);
  m_vbar->setEnabled(m_rows >= 2 && MaxFirstRow() > 0);
  m_hbar->setRange(0, MaxFirstColumn());
  m_hbar->setPageStep(1);
  m_hbar->setValue(m_firstColumn);
  m_hbar->setEnabled(m_columns >= 2 && MaxFirstColumn() > 0);
  m_syncingBars = false;
}

// --- Moving and scrolling ---

bool CParamGrid::ScrollRows(int first) {
  first = std::clamp(first, 0, MaxFirstRow());
  if (first == m_firstRow) return true;
  if (m_ending || EndCellEdit(Qt::Key_Return, false, 0) < 0) return false;
  m_firstRow = first;
  UpdateScrollBars();
  update();
  return true;
}

bool CParamGrid::ScrollColumns(int first) {
  first = std::clamp(first, 0, MaxFirstColumn());
  if (first == m_firstColumn) return true;
  if (m_ending || EndCellEdit(Qt::Key_Return, false, 0) < 0) return false;
  m_firstColumn = first;
  UpdateScrollBars();
  update();
  return true;
}

void CParamGrid::EnsureVisible(int column, int row) {
  if (row < m_firstRow) m_firstRow = row;
  else if (row >= m_firstRow + std::max(1, VisibleRows())) m_firstRow = row - std::max(1, VisibleRows()) + 1;
  if (column < m_firstColumn) {
    m_firstColumn = column;
  } else {
    const int right = CellArea().right() + 1;
    while (m_firstColumn < column && ColumnLeft(column) + ColumnWidth(column) > right) ++m_firstColumn;
  }
  UpdateScrollBars();
}

bool CParamGrid::MoveBy(int dx, int dy) { return MoveTo(m_currentColumn + dx, m_currentRow + dy); }

bool CParamGrid::MoveTo(int column, int row) {
  if (!HasCells() || m_ending) return false;
  if (EndCellEdit(Qt::Key_Return, false, 0) < 0) return false;
  MoveCurrent(column, row);
  return true;
}

void CParamGrid::MoveCurrent(int column, int row) {
  if (!HasCells()) return;
  column = std::clamp(column, 0, m_columns - 1);
  row = std::clamp(row, 0, LastRow());
  if (column == m_currentColumn && row == m_currentRow) return;
  m_currentColumn = column;
  m_currentRow = row;
  EnsureVisible(column, row);
  update();
  emit currentCellChanged(column, row);
}

// --- Default operations ---

void CParamGrid::GetColumnTitle(int, QString& text) { text.clear(); }
void CParamGrid::GetRowTitle(int, QString& text) { text.clear(); }

unsigned CParamGrid::GetCellText(int, int, QString& text) {
  text.clear();
  return kAlignLeft | kAlignMiddle;
}

int CParamGrid::EndCellEdit(int key, bool final, int move) { return FinishEdit(key, final, move); }
int CParamGrid::GetCellEditKind(int, int) { return kEditNone; }
bool CParamGrid::PrepareCellEditor(QWidget*, int, int) { return true; }
void CParamGrid::MessageBeep() { QApplication::beep(); }

// --- Editing ---

bool CParamGrid::AcceptsFirstKey(int kind, QChar c) const {
  switch (kind) {
    case kEditSigned: return c.isDigit() || c == u'-';
    case kEditSignedDecimal: return c.isDigit() || c == u'-' || c == u'.';
    case kEditUnsigned: return c.isDigit();
    case kEditDecimal: return c.isDigit() || c == u'.';
    case kEditHex: return c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c);
    default: return c.isPrint();
  }
}

bool CParamGrid::StartEdit(QChar typed) {
  if (!HasCells() || m_editor || m_ending) return false;
  const int kind = GetCellEditKind(m_currentColumn, m_currentRow);
  if (kind == kEditNone || (!typed.isNull() && !AcceptsFirstKey(kind, typed))) {
    MessageBeep();
    return false;
  }
  m_editing = true;
  EnsureVisible(m_currentColumn, m_currentRow);
  update();
  QWidget* editor = nullptr;
  if (kind == kEditList) {
    editor = new QComboBox(this);
  } else {
    auto* edit = new QLineEdit(this);
    edit->setFrame(false);
    if (kind == kEditUnsigned)
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    editor = edit;
  }
  editor->setObjectName(QStringLiteral("CellEditor"));
  editor->setFont(font());
  editor->hide();
  m_editor = editor;
  PlaceEditor();
  if (!PrepareCellEditor(editor, m_currentColumn, m_currentRow)) {
    FinishEdit(Qt::Key_Escape, false, 0);
    return false;
  }
  editor->installEventFilter(this);
  editor->setEnabled(true);
  editor->show();
  editor->setFocus(Qt::OtherFocusReason);
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    if (!typed.isNull()) {
      for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).startsWith(typed, Qt::CaseInsensitive)) {
          combo->setCurrentIndex(i);
          break;
        }
    }
    combo->showPopup();
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    if (!typed.isNull()) edit->setText(QString(typed));
    else edit->selectAll();
  }
  return true;
}

void CParamGrid::PlaceEditor() {
  if (!m_editor) return;
  const QRect cell = CellRect(m_currentColumn, m_currentRow);
  if (qobject_cast<QComboBox*>(m_editor)) {
    const int h = std::max(cell.height() + 2, m_editor->sizeHint().height());
    m_editor->setGeometry(cell.left(), cell.top() - 2, cell.width(), h);
  } else {
    m_editor->setGeometry(cell.adjusted(2, 3, -2, -1));
  }
}

int CParamGrid::FinishEdit(int key, bool final, int move) {
  if (!m_editor) return 1;
  QWidget* editor = m_editor;
  m_editor = nullptr;
  m_editing = false;
  editor->removeEventFilter(this);
  if (final) {
    delete editor;
    return 0;
  }
  editor->hide();
  editor->deleteLater();
  setFocus(Qt::OtherFocusReason);
  RedrawColumn(m_currentColumn);
  if (move != 0) {
    // The edit is over, so the move needs no further end.
    if (key == Qt::Key_Return && move == 1) MoveCurrent(m_currentColumn, m_currentRow + 1);
    else MoveCurrent(m_currentColumn + 1, m_currentRow);
  }
  return 0;
}

void CParamGrid::EditorKey(QKeyEvent* event) {
  EndingScope scope(m_ending);
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: EndCellEdit(Qt::Key_Return, false, 1); break;
    case Qt::Key_Tab: EndCellEdit(Qt::Key_Return, false, 2); break;
    default: EndCellEdit(Qt::Key_Escape, false, 0); break;
  }
}

bool CParamGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_editor || !m_editor) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      // Enter, Escape and Tab end the cell edit; they never reach the
      // dialog's default or cancel button.
      auto* key = static_cast<QKeyEvent*>(event);
      const int k = key->key();
      if (k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Escape && k != Qt::Key_Tab) break;
      key->accept();
      if (event->type() == QEvent::KeyPress && !m_ending) EditorKey(key);
      return true;
    }
    case QEvent::FocusOut: {
      auto* focus = static_cast<QFocusEvent*>(event);
      // A commit's own message box and the list's popup take the focus for
      // a while; neither ends the edit.
      if (m_ending || focus->reason() == Qt::PopupFocusReason || focus->reason() == Qt::ActiveWindowFocusReason) break;
      if (QApplication::activePopupWidget()) break;
      if (IsInside(QApplication::focusWidget(), m_editor)) break;
      EndingScope scope(m_ending);
      EndCellEdit(Qt::Key_Return, false, 0);
      break;
    }
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

bool CParamGrid::focusNextPrevChild(bool next) {
  if (m_editor) return false;
  return QWidget::focusNextPrevChild(next);
}

// --- Input ---

void CParamGrid::keyPressEvent(QKeyEvent* event) {
  if (!HasCells()) {
    QWidget::keyPressEvent(event);
    return;
  }
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int page = std::max(1, VisibleRows() - 1);
  switch (event->key()) {
    case Qt::Key_Left: MoveBy(-1, 0); return;
    case Qt::Key_Right: MoveBy(1, 0); return;
    case Qt::Key_Up: ctrl ? MoveTo(m_currentColumn, 0) : MoveBy(0, -1); return;
    case Qt::Key_Down: ctrl ? MoveTo(m_currentColumn, LastRow()) : MoveBy(0, 1); return;
    case Qt::Key_PageUp: MoveBy(0, -page); return;
    case Qt::Key_PageDown: MoveBy(0, page); return;
    case Qt::Key_Home: MoveTo(0, ctrl ? 0 : m_currentRow); return;
    case Qt::Key_End: MoveTo(m_columns - 1, ctrl ? LastRow() : m_currentRow); return;
    case Qt::Key_F2: StartEdit(); return;
    default: break;
  }
  const QString text = event->text();
  if (!ctrl && !(event->modifiers() & Qt::AltModifier) && text.size() == 1 && text[0].isPrint()) {
    StartEdit(text[0]);
    return;
  }
  QWidget::keyPressEvent(event);
}

void CParamGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  const int resize = ResizeColumnAt(pos);
  if (resize >= 0) {
    m_resizingColumn = resize;
    m_dragStartX = pos.x();
    setCursor(Qt::SizeHorCursor);
    return;
  }
  int column = 0, row = 0;
  if (!CellAt(pos, column, row)) return;
  setFocus(Qt::MouseFocusReason);
  MoveTo(column, row);
}

void CParamGrid::mouseMoveEvent(QMouseEvent* event) {
  if (m_resizingColumn >= 0) return;
  if (ResizeColumnAt(event->position().toPoint()) >= 0) setCursor(Qt::SizeHorCursor);
  else unsetCursor();
}

void CParamGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (m_resizingColumn < 0 || event->button() != Qt::LeftButton) return;
  const int column = m_resizingColumn;
  m_resizingColumn = -1;
  unsetCursor();
  const int width = ColumnWidth(column) + event->position().toPoint().x() - m_dragStartX;
  SetColumnWidth(column, std::max(kMinimumColumnWidth, width));
}

void CParamGrid::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  event->accept();
  if (delta == 0) return;
  // High-resolution wheels send parts of a step: one row per full step.
  m_wheelRemainder += delta;
  const int steps = m_wheelRemainder / kWheelStep;
  if (steps == 0) return;
  m_wheelRemainder -= steps * kWheelStep;
  if (!ScrollRows(m_firstRow - steps)) m_wheelRemainder = 0;
}

void CParamGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void CParamGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void CParamGrid::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int vw = m_vbar->sizeHint().width();
  const int hh = m_hbar->sizeHint().height();
  m_vbar->setGeometry(width() - vw, 0, vw, height() - hh);
  m_hbar->setGeometry(0, height() - hh, width() - vw, hh);
  UpdateScrollBars();
  PlaceEditor();
}

// --- Drawing ---

void CParamGrid::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QPalette& pal = palette();
  const QRect area = CellArea();
  const QRect whole(0, 0, area.right() + 1, area.bottom() + 1);
  p.fillRect(event->rect(), pal.color(QPalette::Window));
  p.fillRect(whole, pal.color(QPalette::Base));
  const int rh = RowHeight();
  p.fillRect(QRect(0, 0, whole.width(), rh), pal.color(QPalette::Button));
  p.fillRect(QRect(0, 0, m_headerWidth, whole.height()), pal.color(QPalette::Button));

  const int lastVisibleRow = std::min(m_rows, m_firstRow + area.height() / rh + 1);
  int lastVisibleColumn = m_firstColumn;
  for (int x = area.left(); lastVisibleColumn < m_columns && x <= area.right(); ++lastVisibleColumn)
    x += ColumnWidth(lastVisibleColumn);

  QString text;
  p.setPen(pal.color(QPalette::ButtonText));
  // Header row.
  p.setClipRect(QRect(area.left(), 0, area.width(), rh));
  for (int c = m_firstColumn, x = area.left(); c < lastVisibleColumn; x += ColumnWidth(c), ++c) {
    GetColumnTitle(c, text);
    p.drawText(QRect(x, 0, ColumnWidth(c), rh).adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextSingleLine, text);
  }
  // Header column.
  p.setClipRect(QRect(0, area.top(), m_headerWidth, area.height()));
  for (int r = m_firstRow; r < lastVisibleRow; ++r) {
    GetRowTitle(r, text);
    const QRect cell(0, area.top() + (r - m_firstRow) * rh, m_headerWidth, rh);
    p.drawText(cell.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  }
  // Cells.
  p.setClipRect(area);
  for (int r = m_firstRow; r < lastVisibleRow; ++r) {
    int x = area.left();
    for (int c = m_firstColumn; c < lastVisibleColumn; x += ColumnWidth(c), ++c) {
      const unsigned style = GetCellText(c, r, text);
      QRect inner = QRect(x, area.top() + (r - m_firstRow) * rh, ColumnWidth(c), rh).adjusted(3, 2, -3, -2);
      const int h = HorizontalFlags(style);
      if (h == Qt::AlignRight) inner.adjust(0, 0, -2, 0);
      QColor colour = pal.color(QPalette::Text);
      if (style & kTextGrey) colour = pal.color(QPalette::Disabled, QPalette::Text);
      if (style & kTextRed) colour = Qt::red;
      p.setPen(colour);
      p.drawText(inner, h | VerticalFlags(style) | Qt::TextSingleLine, text);
    }
  }
  // Grid lines.
  p.setClipRect(whole);
  p.setPen(pal.color(QPalette::Mid));
  const int bottom = std::min(whole.bottom(), area.top() + (lastVisibleRow - m_firstRow) * rh);
  for (int r = 0, y = rh; r <= lastVisibleRow - m_firstRow; ++r, y += rh)
    p.drawLine(0, y, whole.right(), y);
  int x = area.left();
  p.drawLine(x, 0, x, bottom);
  for (int c = m_firstColumn; c < lastVisibleColumn; ++c) {
    x += ColumnWidth(c);
    p.drawLine(x, 0, x, bottom);
  }
  // Focus frame of the current cell, while the grid has the focus.
  if (hasFocus() && !m_editing && HasCells()) {
    const QRect cell = CellRect(m_currentColumn, m_currentRow);
    if (!cell.isEmpty()) {
      p.setClipRect(area);
      p.setPen(QPen(pal.color(QPalette::Highlight), 2));
      p.drawRect(cell.adjusted(1, 1, -1, -1));
    }
  }
}

}  // namespace axcfgui
