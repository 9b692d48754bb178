#include "tool_opr_grid.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

namespace axcfgui {

void CToolOprGrid::SetHoldRow(int row) {
  for (int c = 0; c < kVisibleColumns; ++c) {
    QPushButton* button = Button(row, c);
    if (!button) return;
    button->installEventFilter(this);
    connect(button, &QPushButton::pressed, this, [this, row, c] {
      m_heldRow = row;
      m_heldColumn = c;
      emit buttonPressed(row, c);
    });
    connect(button, &QPushButton::released, this, [this] { Release(); });
  }
}

void CToolOprGrid::SetCaption(int row, const QString& caption) {
  m_captions[row] = caption;
  update();
}

void CToolOprGrid::LoseHold() {
  if (m_heldRow < 0) return;
  if (QPushButton* button = Button(m_heldRow, m_heldColumn)) button->setDown(false);
  Release();
}

void CToolOprGrid::Release() {
  if (m_heldRow < 0) return;
  const int row = m_heldRow, column = m_heldColumn;
  m_heldRow = m_heldColumn = -1;
  emit buttonReleased(row, column);
}

bool CToolOprGrid::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Hide:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::WindowDeactivate:
      if (m_heldRow >= 0 && watched == Button(m_heldRow, m_heldColumn)) LoseHold();
      break;
    default:
      break;
  }
  return CMonitorGrid::eventFilter(watched, event);
}

void CToolOprGrid::paintEvent(QPaintEvent* event) {
  CMonitorGrid::paintEvent(event);
  QPainter p(this);
  for (const auto& [row, caption] : m_captions) {
    const QRect r(0, row * RowHeight(), LabelWidth(), RowHeight());
    p.fillRect(r, palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
  }
}

}  // namespace axcfgui
