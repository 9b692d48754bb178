#include "cell_edit.h"

#include <QKeyEvent>

#include "axview/table_view.h"

CCellEdit::CCellEdit(CTableView* view) : QLineEdit(view->viewport()), m_view(view) {
  setObjectName(QStringLiteral("CCellEdit"));
  setFrame(false);
  hide();
}

void CCellEdit::Begin(int line, int column, const QString& text, bool numeric, int maxLength, bool startedByMouse) {
  m_line = line;
  m_column = column;
  m_startedByMouse = startedByMouse;
  setMaxLength(maxLength > 0 ? maxLength : 32767);
  setAlignment(numeric ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
  setText(text);
  m_textAtStart = text;
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
  selectAll();
}

void CCellEdit::Cancel() {
  m_finishing = true;
  hide();
  m_finishing = false;
}

void CCellEdit::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
      m_view->FinishCellEdit(event->key(), shift);
      return;
    case Qt::Key_Backtab:
      m_view->FinishCellEdit(Qt::Key_Tab, true);
      return;
    case Qt::Key_Escape:
      setText(m_textAtStart);
      Cancel();
      m_view->setFocus(Qt::OtherFocusReason);
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (!m_startedByMouse && !shift) {
        m_view->FinishCellEdit(event->key(), false);
        return;
      }
      break;
    default:
      break;
  }
  QLineEdit::keyPressEvent(event);
}

void CCellEdit::focusOutEvent(QFocusEvent* event) {
  // Losing the focus without a finishing key writes nothing.
  if (!m_finishing && isVisible()) Cancel();
  QLineEdit::focusOutEvent(event);
}
