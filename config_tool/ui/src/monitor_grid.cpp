#include "monitor_grid.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace axcfgui {

using axcfg::CellColour;
using axcfg::RowKind;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

void CellColours(CellColour colour, const QPalette& palette, QColor& text, QColor& back) {
  text = palette.color(QPalette::WindowText);
  switch (colour) {
    case CellColour::Plain: back = palette.color(QPalette::Base); break;
    case CellColour::Face: back = palette.color(QPalette::Button); break;
    case CellColour::Set: back = Qt::green; break;
    case CellColour::Error: text = Qt::white; back = Qt::red; break;
    case CellColour::Warning: text = Qt::black; back = Qt::yellow; break;
    case CellColour::Active: text = Qt::black; back = Qt::cyan; break;
  }
}

}  // namespace

CMonitorGrid::CMonitorGrid(QWidget* parent) : QWidget(parent), m_scroll(new QScrollBar(Qt::Horizontal, this)) {
  setFocusPolicy(Qt::WheelFocus);
  m_scroll->setSingleStep(1);
  m_scroll->setPageStep(kVisibleColumns);
  // A page moves by one column as a line does.
  connect(m_scroll, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderPageStepAdd || action == QAbstractSlider::SliderPageStepSub) {
      m_scroll->setSliderPosition(m_first + (action == QAbstractSlider::SliderPageStepAdd ? 1 : -1));
    }
  });
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) { ScrollTo(value); });
  UpdateScrollBar();
}

void CMonitorGrid::SetRows(const std::vector<axcfg::MonitorRow>& rows) {
  for (auto& b : m_buttonRows)
    for (QPushButton* button : b.buttons) delete button;
  m_buttonRows.clear();
  m_rows = rows;
  for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
    if (m_rows[r].kind != RowKind::Button) continue;
    ButtonRow b{r, {}};
    for (int c = 0; c < kVisibleColumns; ++c) {
      auto* button = new QPushButton(Q(m_rows[r].label), this);
      button->setObjectName(QStringLiteral("button_%1_%2").arg(r).arg(c));
      connect(button, &QPushButton::clicked, this, [this, r, c] { emit buttonClicked(r, c); });
      b.buttons.push_back(button);
    }
    m_buttonRows.push_back(std::move(b));
  }
  Relayout();
}

void CMonitorGrid::SetColumns(std::vector<std::vector<axcfg::MonitorCell>> columns) {
  const bool countChanged = columns.size() != m_columns.size();
  m_columns = std::move(columns);
  if (countChanged) {
    UpdateScrollBar();
    UpdateButtons();
  }
  update();
}

void CMonitorGrid::SetHeaderLines(std::vector<axcfg::MonitorLine> lines) {
  m_header = std::move(lines);
  Relayout();
}

void CMonitorGrid::SetFooterLines(std::vector<axcfg::MonitorLine> lines) {
  m_footer = std::move(lines);
  Relayout();
}

void CMonitorGrid::SetColumnsRight(int x) {
  m_columnsRight = x;
  Relayout();
}

int CMonitorGrid::ColumnWidth() const {
  const int right = m_columnsRight > 0 ? m_columnsRight : width();
  return std::max(1, (right - m_labelWidth) / kVisibleColumns);
}

int CMonitorGrid::GridTop() const { return static_cast<int>(m_header.size()) * m_rowHeight; }

QSize CMonitorGrid::sizeHint() const {
  const int lines = static_cast<int>(m_header.size() + m_rows.size() + m_footer.size());
  QFontMetrics fm(font());
  // Room for the longest texts of the cells ("Within the range", "An error occurred").
  return {m_labelWidth + kVisibleColumns * (fm.horizontalAdvance(QStringLiteral("An error occurred")) + 16),
          lines * m_rowHeight + m_scroll->sizeHint().height() + 4};
}

void CMonitorGrid::ScrollTo(int first) {
  const int last = std::max(0, AxisCount() - kVisibleColumns);
  first = std::clamp(first, 0, last);
  if (first == m_first) {
    if (m_scroll->value() != first) m_scroll->setValue(first);
    return;
  }
  m_first = first;
  m_scroll->setValue(first);
  UpdateButtons();
  repaint();
}

QPushButton* CMonitorGrid::Button(int row, int column) const {
  for (const auto& b : m_buttonRows)
    if (b.row == row && column >= 0 && column < kVisibleColumns) return b.buttons[column];
  return nullptr;
}

void CMonitorGrid::SetButtonsEnabled(bool enabled) {
  for (const auto& b : m_buttonRows)
    for (QPushButton* button : b.buttons) button->setEnabled(enabled);
}

QString CMonitorGrid::CellText(int row, int column) const {
  const int axis = m_first + column;
  if (axis < 0 || axis >= AxisCount() || row < 0 || row >= static_cast<int>(m_columns[axis].size())) return {};
  const QString text = Q(m_columns[axis][row].text);
  return m_rows[row].numeric && !text.isEmpty() ? text + QLatin1Char(' ') : text;
}

void CMonitorGrid::UpdateScrollBar() {
  // Qt counts the page outside the range: 0 .. axes-4 with a page of four.
  const int extra = AxisCount() - kVisibleColumns;
  m_scroll->setRange(0, std::max(0, extra));
  m_scroll->setEnabled(extra > 0);
  if (m_first > std::max(0, extra)) ScrollTo(extra);
}

void CMonitorGrid::UpdateButtons() {
  const int width = ColumnWidth();
  for (const auto& b : m_buttonRows) {
    for (int c = 0; c < kVisibleColumns; ++c) {
      QPushButton* button = b.buttons[c];
      button->setGeometry(m_labelWidth + c * width + 4, RowTop(b.row) + 1, width - 8, m_rowHeight - 2);
      // No button under an empty column: it would have no axis.
      button->setVisible(m_first + c < AxisCount());
    }
  }
}

void CMonitorGrid::Relayout() {
  QFontMetrics fm(font());
  m_rowHeight = fm.height() + 8;
  int label = 0;
  for (const auto& row : m_rows)
    if (row.kind != RowKind::Button) label = std::max(label, fm.horizontalAdvance(Q(row.label)));
  for (const auto& line : m_header) label = std::max(label, fm.horizontalAdvance(Q(line.label)));
  for (const auto& line : m_footer) label = std::max(label, fm.horizontalAdvance(Q(line.label)));
  m_labelWidth = label + 16;
  const int top = GridTop() + static_cast<int>(m_rows.size() + m_footer.size()) * m_rowHeight + 2;
  const int right = m_columnsRight > 0 ? m_columnsRight : width();
  m_scroll->setGeometry(m_labelWidth, top, right - m_labelWidth, m_scroll->sizeHint().height());
  UpdateButtons();
  updateGeometry();
  update();
}

void CMonitorGrid::resizeEvent(QResizeEvent*) { Relayout(); }

void CMonitorGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) Relayout();
  QWidget::changeEvent(event);
}

void CMonitorGrid::wheelEvent(QWheelEvent* event) {
  // One column per notch; turning the wheel towards the user scrolls right.
  m_wheelRest += event->angleDelta().y();
  while (m_wheelRest <= -120) {
    m_wheelRest += 120;
    ScrollBy(1);
  }
  while (m_wheelRest >= 120) {
    m_wheelRest -= 120;
    ScrollBy(-1);
  }
  event->accept();
}

void CMonitorGrid::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const int width = ColumnWidth();
  const int right = m_labelWidth + kVisibleColumns * width;
  p.fillRect(rect(), pal.color(QPalette::Window));
  auto frame = [&](const QRect& r) {
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
  };
  auto label = [&](int y, const QString& text) {
    const QRect r(0, y, m_labelWidth, m_rowHeight);
    p.fillRect(r, pal.color(QPalette::Button));
    frame(r);
    p.setPen(pal.color(QPalette::ButtonText));
    p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
  };
  auto line = [&](int y, const axcfg::MonitorLine& l) {
    label(y, Q(l.label));
    const QRect r(m_labelWidth, y, right - m_labelWidth, m_rowHeight);
    p.fillRect(r, pal.color(QPalette::Base));
    frame(r);
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, Q(l.text));
  };
  for (size_t i = 0; i < m_header.size(); ++i) line(static_cast<int>(i) * m_rowHeight, m_header[i]);
  for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
    const auto& row = m_rows[r];
    const int y = RowTop(r);
    if (row.kind == RowKind::Spacer || row.kind == RowKind::Button) continue;
    label(y, Q(row.label));
    if (row.kind == RowKind::Heading) continue;
    for (int c = 0; c < kVisibleColumns; ++c) {
      const QRect cell(m_labelWidth + c * width, y, width, m_rowHeight);
      const int axis = m_first + c;
      QColor text, back;
      const auto colour = axis < AxisCount() && r < static_cast<int>(m_columns[axis].size())
                              ? m_columns[axis][r].colour
                              : CellColour::Plain;
      CellColours(colour, pal, text, back);
      p.fillRect(cell, back);
      frame(cell);
      p.setPen(text);
      const Qt::Alignment align = (row.numeric ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter;
      // Texts are centred by their visible characters: identification
      // texts come padded with blanks.
      const QString shown = row.numeric ? CellText(r, c) : CellText(r, c).trimmed();
      p.drawText(cell.adjusted(2, 0, -2, 0), align | Qt::TextSingleLine, shown);
    }
  }
  const int footerTop = RowTop(static_cast<int>(m_rows.size()));
  for (size_t i = 0; i < m_footer.size(); ++i) line(footerTop + static_cast<int>(i) * m_rowHeight, m_footer[i]);
}

}  // namespace axcfgui
