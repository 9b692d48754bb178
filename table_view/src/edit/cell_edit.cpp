#include "cell_edit.h"

#include <QKeyEvent>

#include "axview/byte_limit_validator.h"
#include "axview/helpers.h"
#include "axview/table_view.h"
#include "cell_convert.h"
#include "numeric_entry.h"

namespace {

axview::EntryState StateOf(const QLineEdit& edit) {
  axview::EntryState s;
  s.text = edit.text().toStdString();
  if (edit.hasSelectedText()) {
    s.start = edit.selectionStart();
    s.end = edit.selectionEnd();
  } else {
    s.start = s.end = edit.cursorPosition();
  }
  return s;
}

void Apply(QLineEdit& edit, const axview::EntryState& s) {
  edit.setText(QString::fromStdString(s.text));
  edit.setCursorPosition(s.end);
}

bool IsFinishingArrow(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

}  // namespace

CCellEdit::CCellEdit(CTableView* view)
    : QLineEdit(view->viewport()), m_view(view), m_byteLimit(new CByteLimitValidator(32767, this)) {
  setObjectName(QStringLiteral("CCellEdit"));
  setFrame(false);
  setDragEnabled(false);
  setAcceptDrops(false);
  hide();
}

void CCellEdit::Begin(const QString& text, const CColumnProp& column, int startedByMouse) {
  m_textMode = column.IsNumeric() ? 0 : 1;
  m_digits = column.m_digits;
  m_decimals = column.m_decimals;
  m_startedByMouse = startedByMouse;
  m_finishKey = 0;
  m_finishShift = false;
  m_lastAction = kNone;
  // Numbers take no input method; texts accept any, Japanese included.
  setAttribute(Qt::WA_InputMethodEnabled, m_textMode != 0);
  setAlignment(m_textMode ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
  // A text column's limit is in stored bytes, checked as the user types.
  if (m_textMode && column.m_maxLength > 0) {
    m_byteLimit->SetMaxBytes(column.m_maxLength);
    setValidator(m_byteLimit);
  } else {
    setValidator(nullptr);
  }
  setText(text);
  m_numericValue = m_textMode ? 0.0 : axview::ParseDouble(text.toStdString());
  m_textAtStart = text;
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
  m_textAtStart = this->text();
  selectAll();
}

void CCellEdit::Cancel() {
  m_cancelling = true;
  hide();
  m_cancelling = false;
}

void CCellEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  m_textAtStart = text();
  selectAll();
}

void CCellEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Losing the focus to a click elsewhere or to another window writes what
  // was typed, as Enter would (the view decides; a popup ends nothing).
  if (!m_cancelling && isVisible()) m_view->OnEditCellKillfocus(event->reason());
}

void CCellEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The cell is edited with the keys only; the control's own commands keep
  // the numeric rules, which a standard menu would bypass.
  event->accept();
}

void CCellEdit::Finish(int key, bool shift) {
  m_finishKey = key;
  m_finishShift = shift;
  m_view->OnEditCellKillfocus();
}

void CCellEdit::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
  const int key = event->key();
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter: Finish(key, shift); return;
    case Qt::Key_Backtab: Finish(Qt::Key_Tab, true); return;
    case Qt::Key_Escape:
      if (m_textMode) setText(m_textAtStart);
      Finish(key, shift);
      return;
    case Qt::Key_Delete:
      if (shift) break;
      ClearSelection(true);
      return;
    case Qt::Key_Insert:
      if (shift && !m_textMode) {
        PasteClipboard();
        return;
      }
      break;
    default: break;
  }
  if (IsFinishingArrow(key) && !m_startedByMouse && !shift) {
    Finish(key, false);
    return;
  }
  if (ctrl && !shift) {
    switch (key) {
      case Qt::Key_C: CopySelection(); return;
      case Qt::Key_V: PasteClipboard(); return;
      case Qt::Key_X: CutSelection(); return;
      case Qt::Key_Z: UndoLast(); return;
      default: break;
    }
  }
  if (!m_textMode && NumericKey(event)) return;
  QLineEdit::keyPressEvent(event);
}

// The numeric keys; true when the key was handled (or swallowed).
bool CCellEdit::NumericKey(QKeyEvent* event) {
  const QString t = event->text();
  if (t.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  const QChar c = t.at(0);
  const axview::NumberRules rules{m_digits, m_decimals};
  axview::EntryState s = StateOf(*this);
  if (c == QLatin1Char('-')) {
    axview::ToggleMinus(s);
    Apply(*this, s);
    return true;
  }
  if (c == QLatin1Char('.')) {
    axview::InsertPoint(s, rules);
    Apply(*this, s);
    return true;
  }
  if (c.isDigit()) {
    if (!axview::AcceptsDigit(s, rules)) return true;
    s.Insert(std::string(1, static_cast<char>(c.unicode())));
    Apply(*this, s);
    return true;
  }
  // Only digits are typed directly into a number.
  return c.isPrint();
}

void CCellEdit::SaveForUndo(Action action) {
  m_undoText = text();
  if (hasSelectedText()) {
    m_undoStart = selectionStart();
    m_undoEnd = selectionEnd();
  } else {
    m_undoStart = m_undoEnd = cursorPosition();
  }
  m_lastAction = action;
}

void CCellEdit::CopySelection() {
  if (!hasSelectedText()) return;
  std::string selected = selectedText().toStdString();
  SetClipboardText(this, selected);
  m_lastAction = kCopy;
}

void CCellEdit::CutSelection() {
  if (!hasSelectedText()) return;
  std::string selected = selectedText().toStdString();
  if (!SetClipboardText(this, selected)) return;  // nothing removed that is not on the clipboard
  SaveForUndo(kCut);
  const int start = selectionStart();
  QString t = text();
  t.remove(start, selectedText().size());
  setText(t);
  setCursorPosition(start);
}

void CCellEdit::ClearSelection(bool deleteHeld) {
  if (!hasSelectedText() && (!deleteHeld || cursorPosition() >= text().size())) return;
  SaveForUndo(kClear);
  QString t = text();
  int start = cursorPosition();
  if (hasSelectedText()) {
    start = selectionStart();
    t.remove(start, selectedText().size());
  } else {
    t.remove(start, 1);
  }
  setText(t);
  setCursorPosition(start);
}

void CCellEdit::PasteClipboard() {
  std::string clip;
  GetClipboardText(this, clip);
  if (m_textMode) {
    const QString field = QString::fromStdString(axview::FirstClipboardField(clip));
    if (field.isEmpty()) return;
    SaveForUndo(kPaste);
    insert(field);  // replaces the selection, within the text limit
    return;
  }
  axview::EntryState s = StateOf(*this);
  if (!axview::PasteNumber(s, clip, axview::NumberRules{m_digits, m_decimals})) {
    m_view->MessageBeep();
    return;
  }
  SaveForUndo(kPaste);
  Apply(*this, s);
}

void CCellEdit::UndoLast() {
  if (m_lastAction != kCut && m_lastAction != kPaste && m_lastAction != kClear && m_lastAction != kUndo) return;
  const QString nowText = text();
  int nowStart = cursorPosition(), nowEnd = nowStart;
  if (hasSelectedText()) {
    nowStart = selectionStart();
    nowEnd = selectionEnd();
  }
  setText(m_undoText);
  if (m_undoStart != m_undoEnd) setSelection(m_undoStart, m_undoEnd - m_undoStart);
  else setCursorPosition(m_undoStart);
  // Kept in their place, so that a second undo redoes.
  m_undoText = nowText;
  m_undoStart = nowStart;
  m_undoEnd = nowEnd;
  m_lastAction = kUndo;
}
