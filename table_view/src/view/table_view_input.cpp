// Keyboard, mouse, headers and in-place editing of CTableView.
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include "axview/table_view.h"
#include "cell_combo.h"
#include "cell_edit.h"
#include "edit_keys.h"
#include "navigation.h"

using axview::SelState;

namespace {
// The wheel scrolls this many lines a notch, whatever the notch's size.
constexpr int kWheelLines = 3;
constexpr int kMinColumnWidth = 25;
constexpr int kMaxColumnWidth = 500;

}  // namespace

// ---- Keyboard ----------------------------------------------------------------

bool CTableView::focusNextPrevChild(bool) {
  // Tab and Shift+Tab move between cells, not out of the view.
  return false;
}

void CTableView::keyPressEvent(QKeyEvent* event) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) {
    event->ignore();
    return;
  }
  const int shift = (event->modifiers() & Qt::ShiftModifier) ? 1 : 0;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Up: OnKeyUpArrow(shift); return;
    case Qt::Key_Down: OnKeyDownArrow(shift); return;
    case Qt::Key_Left: OnKeyLeftArrow(shift); return;
    case Qt::Key_Right: OnKeyRightArrow(shift); return;
    case Qt::Key_Tab: OnKeyRightArrow(0); return;
    case Qt::Key_Backtab: OnKeyLeftArrow(0); return;
    case Qt::Key_Home: OnKeyHome(shift, ctrl); return;
    case Qt::Key_End: OnKeyEnd(shift, ctrl); return;
    case Qt::Key_PageUp:
      if (ctrl) {
        if (GetSelSheet() > 0) SetSelSheet(GetSelSheet() - 1);
      } else {
        OnKeyPageUp(shift);
      }
      return;
    case Qt::Key_PageDown:
      if (ctrl) {
        if (GetSelSheet() + 1 < GetSheetCount()) SetSelSheet(GetSelSheet() + 1);
      } else {
        OnKeyPageDown(shift);
      }
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter: OnKeyReturn(shift); return;
    case Qt::Key_F2: ShowCellEditCtrl(sheet->m_cursor.y, sheet->m_cursor.x, 1); return;
    default: break;
  }
  if (const UINT command = axview::EditCommandOfKey(event->key(), event->modifiers())) {
    RunEditCommand(command);
    return;
  }
  const CColumnProp* column = GetColumnProp(m_currentSheet, sheet->m_cursor.x);
  if (StartsEditing(event, column)) {
    ShowCellEditCtrl(sheet->m_cursor.y, sheet->m_cursor.x, 0);
    if (QWidget* editor = GetActiveCellEditor()) {
      // The key becomes the first character typed into the cell, or picks
      // the choice beginning with it.
      QKeyEvent again(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
      QApplication::sendEvent(editor, &again);
      return;
    }
  }
  event->ignore();
}

bool CTableView::StartsEditing(const QKeyEvent* event, const CColumnProp* column) const {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  // A number starts with a digit or its sign.
  if (column && column->IsNumeric()) return text.at(0).isDigit() || text.at(0) == QLatin1Char('-');
  return true;
}

void CTableView::MoveSelection(int shift, const SelectionMove& move) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  const SelState old{sheet->m_selection, sheet->m_cursor};
  const SelState n = move(old, static_cast<int>(sheet->m_lines.size()), static_cast<int>(sheet->m_columns.size()));
  SetSel(n.sel, n.cur);
  if (!shift) return;
  // Keep the edge that moved in view.
  const int line = n.sel.top != old.sel.top ? n.sel.top : n.sel.bottom;
  const int column = n.sel.left != old.sel.left ? n.sel.left : n.sel.right;
  EnsureVisible(line, column);
}

void CTableView::OnKeyUpArrow(int shift) {
  MoveSelection(shift, [&](const SelState& s, int lines, int) { return axview::MoveLines(s, -1, shift, lines); });
}
void CTableView::OnKeyDownArrow(int shift) {
  MoveSelection(shift, [&](const SelState& s, int lines, int) { return axview::MoveLines(s, 1, shift, lines); });
}
void CTableView::OnKeyLeftArrow(int shift) {
  MoveSelection(shift, [&](const SelState& s, int, int columns) { return axview::MoveColumns(s, -1, shift, columns); });
}
void CTableView::OnKeyRightArrow(int shift) {
  MoveSelection(shift, [&](const SelState& s, int, int columns) { return axview::MoveColumns(s, 1, shift, columns); });
}
void CTableView::OnKeyHome(int shift, bool ctrl) {
  MoveSelection(shift, [&](const SelState& s, int, int) { return axview::KeyHome(s, ctrl, shift); });
}
void CTableView::OnKeyEnd(int shift, bool ctrl) {
  MoveSelection(shift, [&](const SelState& s, int lines, int columns) {
    return axview::KeyEnd(s, ctrl, shift, lines, columns);
  });
}
void CTableView::OnKeyPageUp(int shift) {
  const int page = std::max(1, GetPageLines());
  MoveSelection(shift, [&](const SelState& s, int lines, int) { return axview::MoveLines(s, -page, shift, lines); });
}
void CTableView::OnKeyPageDown(int shift) {
  const int page = std::max(1, GetPageLines());
  MoveSelection(shift, [&](const SelState& s, int lines, int) { return axview::MoveLines(s, page, shift, lines); });
}
void CTableView::OnKeyReturn(int shift) {
  // Within a block the selection stays; a single cell moves with the cursor.
  MoveSelection(0, [&](const SelState& s, int lines, int) { return axview::KeyReturn(s, shift, lines); });
}

// ---- Mouse in the data area --------------------------------------------------

void CTableView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // A click in the view while a cell is edited finishes the edit as Enter
  // does; a refused value keeps the editor and the click does nothing.
  if (!CommitPendingEdit()) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint p = event->position().toPoint();
  int line, column;
  if (!PointToCellPos(CPoint(p.x(), p.y()), line, column)) return;
  m_mouseSelecting = true;
  SetSel(CRect(column, line, column, line), CPoint(column, line));
}

void CTableView::mouseMoveEvent(QMouseEvent* event) {
  CSheetObj* sheet = CurrentSheet();
  if (!m_mouseSelecting || !sheet || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint p = event->position().toPoint();
  int line, column;
  if (!PointToCellPos(CPoint(p.x(), p.y()), line, column)) return;
  CRect sel(sheet->m_cursor.x, sheet->m_cursor.y, column, line);
  sel.NormalizeRect();
  if (sel == sheet->m_selection) return;
  SetSel(sel, sheet->m_cursor);
  EnsureVisible(line, column);
}

void CTableView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_mouseSelecting = false;
}

void CTableView::mouseDoubleClickEvent(QMouseEvent* event) {
  CSheetObj* sheet = CurrentSheet();
  if (event->button() != Qt::LeftButton || !sheet) return;
  const QPoint p = event->position().toPoint();
  int line, column;
  if (!PointToCellPos(CPoint(p.x(), p.y()), line, column)) return;
  const CRect& s = sheet->m_selection;
  if (column < s.left || column > s.right || line < s.top || line > s.bottom)
    SetSel(CRect(column, line, column, line), CPoint(column, line));
  EnsureVisible(line, column);
  ShowCellEditCtrl(line, column, 1);
}

void CTableView::wheelEvent(QWheelEvent* event) {
  event->accept();
  const int delta = event->angleDelta().y();
  ScrollToTop(GetTopLine() + (delta >= 0 ? -kWheelLines : kWheelLines));
}

void CTableView::contextMenuEvent(QContextMenuEvent* event) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || event->reason() != QContextMenuEvent::Mouse) return;
  setFocus(Qt::MouseFocusReason);
  m_mouseSelecting = false;
  int line, column;
  if (PointToCellPos(CPoint(event->pos().x(), event->pos().y()), line, column)) {
    const CRect& s = sheet->m_selection;
    if (column < s.left || column > s.right || line < s.top || line > s.bottom)
      SetSel(CRect(column, line, column, line), CPoint(column, line));
  }
  ShowContextMenu(event->globalPos());
}

void CTableView::ShowContextMenu(const QPoint& globalPos) {
  if (!CommitPendingEdit()) return;
  setFocus(Qt::MouseFocusReason);
  m_mouseSelecting = false;
  if (std::unique_ptr<QMenu> menu = CreateContextMenu()) menu->exec(globalPos);
}

// ---- Header notifications ------------------------------------------------------

void CTableView::OnHeaderColumnBeginDrag(int column) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || sheet->m_lines.empty() || column < 0) return;
  if (!CommitPendingEdit()) return;
  setFocus(Qt::MouseFocusReason);
  SetSel(CRect(column, 0, column, static_cast<int>(sheet->m_lines.size()) - 1), CPoint(column, 0));
}

void CTableView::OnHeaderColumnTrack(int column) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || sheet->m_lines.empty() || column < 0) return;
  CRect sel(sheet->m_cursor.x, 0, column, static_cast<int>(sheet->m_lines.size()) - 1);
  sel.NormalizeRect();
  if (!(sel == sheet->m_selection)) SetSel(sel, sheet->m_cursor);
  EnsureVisible(sheet->m_cursor.y, column);
}

void CTableView::OnHeaderColumnEndDrag(int column) { OnHeaderColumnTrack(column); }

void CTableView::OnHeaderColumnBeginTrack(int column) {
  CommitPendingEdit();
  HideCellEdit();
  m_trackColumn = column;
  m_trackX = -1;
}

void CTableView::OnHeaderColumnTracking(int x) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || m_trackColumn < 0 || m_trackColumn >= static_cast<int>(sheet->m_columns.size())) return;
  const int left = sheet->m_columns[m_trackColumn]->m_extent.left;
  x = std::clamp(x, left + kMinColumnWidth, left + kMaxColumnWidth);
  const int oldX = m_trackX;
  m_trackX = x - sheet->m_hScroll + GetLineHeaderWidth();
  const QRect data = DataArea();
  if (oldX >= 0) viewport()->update(QRect(oldX - 2, data.top(), 4, data.height()));
  viewport()->update(QRect(m_trackX - 2, data.top(), 4, data.height()));
}

void CTableView::OnHeaderColumnEndTrack(int x) {
  CSheetObj* sheet = CurrentSheet();
  const int column = m_trackColumn;
  m_trackColumn = -1;
  m_trackX = -1;
  if (!sheet || column < 0 || column >= static_cast<int>(sheet->m_columns.size())) return;
  const int left = sheet->m_columns[column]->m_extent.left;
  SetColumnWidth(*sheet, column, std::clamp(x - left, kMinColumnWidth, kMaxColumnWidth));
  OnSize();
}

void CTableView::SetColumnWidth(CSheetObj& sheet, int column, int width) {
  CRect& e = sheet.m_columns[column]->m_extent;
  const int delta = width - e.Width();
  e.right = e.left + width;
  for (size_t i = static_cast<size_t>(column) + 1; i < sheet.m_columns.size(); ++i)
    sheet.m_columns[i]->m_extent.OffsetRect(delta, 0);
}

void CTableView::OnHeaderColumnDividerDblClick(int column) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || column < 0 || column >= static_cast<int>(sheet->m_columns.size())) return;
  const CColumnProp& c = *sheet->m_columns[column];
  if (c.m_standardWidth > 0 && c.m_extent.Width() != c.m_standardWidth) SetColumnWidth(*sheet, column, c.m_standardWidth);
  RedrawWindow();
}

void CTableView::OnHeaderColumnItemClick(int column) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  const CRect& s = sheet->m_selection;
  if (s.left == s.right && s.top == s.bottom) OnHeaderColumnBeginDrag(column);
}

void CTableView::OnHeaderLineBeginDrag(int line) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || sheet->m_columns.empty() || line < 0 || line >= static_cast<int>(sheet->m_lines.size())) return;
  if (!CommitPendingEdit()) return;
  setFocus(Qt::MouseFocusReason);
  SetSel(CRect(0, line, static_cast<int>(sheet->m_columns.size()) - 1, line), CPoint(0, line));
}

void CTableView::OnHeaderLineTrack(int line) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || sheet->m_columns.empty() || sheet->m_lines.empty()) return;
  // Above the first row: the line above the top; past the last line: the last.
  if (line < 0) line = std::max(0, sheet->m_topLine - 1);
  line = std::min(line, static_cast<int>(sheet->m_lines.size()) - 1);
  CRect sel(0, sheet->m_cursor.y, static_cast<int>(sheet->m_columns.size()) - 1, line);
  sel.NormalizeRect();
  if (!(sel == sheet->m_selection)) SetSel(sel, sheet->m_cursor);
  EnsureVisible(line, sheet->m_cursor.x);
}

void CTableView::OnHeaderLineEndDrag(int line) { OnHeaderLineTrack(line); }

void CTableView::OnHeaderLineItemClick(int line) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return;
  const CRect& s = sheet->m_selection;
  if (s.left == s.right && s.top == s.bottom) OnHeaderLineBeginDrag(line);
}
