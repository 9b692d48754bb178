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

void CTableView::FinishCellEdit(int key, bool shift) {
  if (m_cellEdit->isVisible()) m_cellEdit->Finish(key, shift);
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

void CTableView::OnEditCellKillfocus() {
  if (m_inEditFinish || !m_cellEdit->isVisible()) return;
  m_inEditFinish = true;
  const int key = m_cellEdit->FinishingKey();
  const bool shift = m_cellEdit->FinishingShift();
  const std::string text = m_cellEdit->text().toStdString();
  m_cellEdit->Cancel();
  CSheetObj* sheet = CurrentSheet();
  // Another window taking the focus keeps it; a finishing key gives it back.
  if (key) setFocus(Qt::OtherFocusReason);
  if (sheet && MovesAfterEdit(key)) {
    WriteIntoSelection(sheet->m_cursor.x, sheet->m_selection, text);
    MoveAfterEdit(key, shift);
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
  if (sheet && index >= 0) WriteIntoSelection(sheet->m_cursor.x, sheet->m_selection, text);
  m_inEditFinish = false;
}

void CTableView::OnComboCellKillfocus() {
  if (m_inEditFinish || !m_cellCombo->isVisible()) return;
  m_inEditFinish = true;
  const int key = m_cellCombo->FinishingKey();
  const int index = m_cellCombo->currentIndex();
  const std::string text = m_cellCombo->currentText().toStdString();
  m_cellCombo->Cancel();
  CSheetObj* sheet = CurrentSheet();
  if (key) setFocus(Qt::OtherFocusReason);
  // Enter, Left and Right take the chosen item. Escape writes nothing: the
  // item shown at the start is the cursor line's, and writing it would
  // overwrite the other selected lines.
  if (sheet && index >= 0 && (key == Qt::Key_Return || key == Qt::Key_Left || key == Qt::Key_Right)) {
    WriteIntoSelection(sheet->m_cursor.x, sheet->m_selection, text);
    MoveAfterEdit(key, false);
  }
  m_inEditFinish = false;
}
