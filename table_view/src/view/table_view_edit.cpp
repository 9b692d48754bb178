// In-place editing of CTableView: the edit control over text and numeric
// cells, the choice list over choice cells, and writing the value into the
// cursor column of every selected line.
#include <QApplication>

#include "axview/table_view.h"
#include "cell_combo.h"
#include "cell_convert.h"
#include "cell_edit.h"

namespace {

// How a numeric cell's value shows in the edit control: with the column's
// decimals, then without trailing zeros and without a bare point.
QString NumberForEditing(const std::string& text, int decimals) {
  if (text.empty()) return QStringLiteral("0");
  std::string s = axview::FormatFixed(axview::ParseDouble(text), decimals);
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return QString::fromStdString(s);
}

bool MovesAfterEdit(int key) {
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: return true;
    default: return false;
  }
}

}  // namespace

void CTableView::ShowCellEditCtrl(int line, int column, int startedByMouse) {
  if (column < 0) return;
  const CColumnProp* prop = GetColumnProp(m_currentSheet, column);
  const CRect r = GetCellRect(line, column);
  if (!prop || r.IsRectEmpty()) return;
  HideCellEdit();
  const std::string text = GetCellText(m_currentSheet, line, column);
  if (prop->IsChoice()) {
    m_cellCombo->setFont(m_font);
    m_cellCombo->setGeometry(r.left, r.top, r.Width(), std::max(r.Height(), m_cellCombo->minimumSizeHint().height()));
    m_cellCombo->Begin(QString::fromStdString(text), prop->m_choices);
    return;
  }
  const QString shown = prop->IsNumeric() ? NumberForEditing(text, prop->m_decimals) : QString::fromStdString(text);
  m_cellEdit->setFont(m_font);
  m_cellEdit->setGeometry(r.left, r.top, r.Width(), r.Height());
  m_cellEdit->Begin(shown, *prop, startedByMouse);
}

void CTableView::MessageBeep() { QApplication::beep(); }

void CTableView::HideCellEdit() {
  bool hadFocus = false;
  if (m_cellEdit && m_cellEdit->isVisible()) {
    hadFocus = m_cellEdit->hasFocus();
    m_cellEdit->Cancel();
  }
  if (m_cellCombo && m_cellCombo->isVisible()) {
    hadFocus = hadFocus || m_cellCombo->hasFocus();
    m_cellCombo->Cancel();
  }
  if (hadFocus) setFocus(Qt::OtherFocusReason);
}

void CTableView::WriteIntoSelection(int column, const CRect& selection, const std::string& text) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // A value the column refuses leaves that cell as it was; the others are
  // still written.
  for (int line = selection.top; line <= selection.bottom; ++line)
    SetCellText(m_currentSheet, line, column, text.c_str());
  QApplication::restoreOverrideCursor();
  viewport()->update();
}

void CTableView::MoveAfterEdit(int key, bool shift) {
  switch (key) {
    case Qt::Key_Tab: shift ? OnKeyLeftArrow(0) : OnKeyRightArrow(0); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: OnKeyReturn(shift ? 1 : 0); break;
    case Qt::Key_Up: OnKeyUpArrow(0); break;
    case Qt::Key_Down: OnKeyDownArrow(0); break;
    case Qt::Key_Left: OnKeyLeftArrow(0); break;
    case Qt::Key_Right: OnKeyRightArrow(0); break;
    default: break;
  }
}

bool CTableView::AcceptEnteredText(const std::string&, bool) { return true; }

void CTableView::BeginStep() {
  if (m_stepDepth++ == 0) OnChangeStepBegin();
}

void CTableView::EndStep() {
  if (--m_stepDepth == 0) OnChangeStepEnd();
}

bool CTableView::WriteEditorValue(bool tellUser) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) {
    m_cellEdit->Cancel();
    return true;
  }
  const std::string text = m_cellEdit->text().toStdString();
  const int column = sheet->m_cursor.x;
  std::string converted;
  if (!AcceptEnteredText(text, tellUser)) return false;
  if (!axview::ConvertCellText(GetColumnProp(m_currentSheet, column), text, converted)) {
    if (tellUser) MessageBeep();
    return false;
  }
  m_cellEdit->Cancel();
  BeginStep();
  WriteIntoSelection(column, sheet->m_selection, text);
  EndStep();
  return true;
}

bool CTableView::CommitPendingEdit() {
  if (m_inEditFinish) return false;
  if (m_cellEdit && m_cellEdit->isVisible()) {
    m_inEditFinish = true;
    const bool hadFocus = m_cellEdit->hasFocus();
    const bool ok = WriteEditorValue(true);
    m_inEditFinish = false;
    if (!ok) {
      m_cellEdit->ClearFinishingKey();
      m_cellEdit->setFocus(Qt::OtherFocusReason);
      return false;
    }
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (m_cellCombo && m_cellCombo->isVisible()) {
    m_inEditFinish = true;
    CSheetObj* sheet = CurrentSheet();
    const bool hadFocus = m_cellCombo->hasFocus();
    const int index = m_cellCombo->currentIndex();
    const std::string text = m_cellCombo->currentText().toStdString();
    m_cellCombo->Cancel();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    if (sheet && index >= 0) {
      BeginStep();
      WriteIntoSelection(sheet->m_cursor.x, sheet->m_selection, text);
      EndStep();
    }
    m_inEditFinish = false;
  }
  return true;
}

void CTableView::OnEditCellKillfocus(Qt::FocusReason reason) {
  if (m_inEditFinish || !m_cellEdit->isVisible()) return;
  const int key = m_cellEdit->FinishingKey();
  const bool shift = m_cellEdit->FinishingShift();
  // A menu or popup opening takes the focus for a moment: editing goes on.
  if (!key && reason == Qt::PopupFocusReason) return;
  m_inEditFinish = true;
  CSheetObj* sheet = CurrentSheet();
  if (key == Qt::Key_Escape) {
    m_cellEdit->Cancel();
    setFocus(Qt::OtherFocusReason);
  } else if (key && !MovesAfterEdit(key)) {
    m_cellEdit->Cancel();
    setFocus(Qt::OtherFocusReason);
  } else {
    // A finishing key, a click elsewhere or another window: what was typed
    // is written, unless it is refused; then the editor stays open with it.
    // The user is told at once only when a key asked to finish; a click is
    // answered by the command it starts, another program by nothing.
    if (WriteEditorValue(key != 0)) {
      if (key) {
        setFocus(Qt::OtherFocusReason);
        if (sheet) MoveAfterEdit(key, shift);
      }
    } else {
      m_cellEdit->ClearFinishingKey();
      if (key) m_cellEdit->setFocus(Qt::OtherFocusReason);
    }
  }
  m_inEditFinish = false;
}

void CTableView::OnComboCellSelendok() {
  if (m_inEditFinish || !m_cellCombo->isVisible() || m_cellCombo->IsStepping()) return;
  const int key = m_cellCombo->FinishingKey();
  if (key && key != Qt::Key_Return && key != Qt::Key_Left && key != Qt::Key_Right) return;
  CSheetObj* sheet = CurrentSheet();
  m_inEditFinish = true;
  const int index = m_cellCombo->currentIndex();
  const std::string text = m_cellCombo->currentText().toStdString();
  m_cellCombo->Cancel();
  setFocus(Qt::OtherFocusReason);
  if (sheet && index >= 0) {
    BeginStep();
    WriteIntoSelection(sheet->m_cursor.x, sheet->m_selection, text);
    EndStep();
  }
  m_inEditFinish = false;
}

void CTableView::OnComboCellKillfocus(Qt::FocusReason reason) {
  if (m_inEditFinish || !m_cellCombo->isVisible()) return;
  const int key = m_cellCombo->FinishingKey();
  if (!key && reason == Qt::PopupFocusReason) return;
  m_inEditFinish = true;
  const int index = m_cellCombo->currentIndex();
  const std::string text = m_cellCombo->currentText().toStdString();
  m_cellCombo->Cancel();
  CSheetObj* sheet = CurrentSheet();
  if (key) setFocus(Qt::OtherFocusReason);
  // Enter, Left and Right take the chosen item, and so does a click
  // elsewhere or another window. Escape writes nothing: the item shown at
  // the start is the cursor line's, and writing it would overwrite the
  // other selected lines.
  const bool takes = key == 0 || key == Qt::Key_Return || key == Qt::Key_Left || key == Qt::Key_Right;
  if (sheet && index >= 0 && takes) {
    BeginStep();
    WriteIntoSelection(sheet->m_cursor.x, sheet->m_selection, text);
    EndStep();
    if (key) MoveAfterEdit(key, false);
  }
  m_inEditFinish = false;
}
