// Copy, cut and paste of cell blocks, the undo list and the context menu of
// CTableView.
#include <QApplication>
#include <QMenu>

#include "axview/helpers.h"
#include "axview/table_view.h"
#include "cell_edit.h"
#include "library_strings.h"
#include "paste_block.h"
#include "platform/message_box.h"

namespace {

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

bool ClipboardHasText() {
  std::string text;
  return GetClipboardText(nullptr, text) != 0;
}

}  // namespace

void CTableView::OnEditCopy() {
  CSheetObj* sheet = CurrentSheet();
  if (!(GetEditFunctions() & EDITFUNC_COPY) || !sheet || GetActiveCellEditor()) return;
  std::string text = axview::CopyBlock(*sheet, sheet->m_selection);
  SetClipboardText(this, text);
}

void CTableView::OnEditCut() {
  CSheetObj* sheet = CurrentSheet();
  if (!(GetEditFunctions() & EDITFUNC_CUT) || !sheet || GetActiveCellEditor()) return;
  WaitCursor wait;
  // Cells are emptied only once they are safe on the clipboard.
  if (!(GetEditFunctions() & EDITFUNC_COPY)) return;
  std::string text = axview::CopyBlock(*sheet, sheet->m_selection);
  if (!SetClipboardText(this, text)) return;
  const CRect sel = sheet->m_selection;
  BeginStep();
  for (int line = sel.top; line <= sel.bottom; ++line) {
    const std::string lineText = GetTabbedString(m_currentSheet, line);
    SetTabbedString(m_currentSheet, line, axview::EmptyFields(lineText, sel.left, sel.right).c_str());
  }
  EndStep();
  viewport()->update();
}

int CTableView::IsEnableToPaste(const char* text, int& rows, int& columns, int& repeatDown, int& repeatAcross) {
  rows = columns = repeatDown = repeatAcross = 0;
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || !text) return 0;
  axview::PasteShape shape;
  const int result = axview::CheckPaste(*sheet, sheet->m_selection, text, shape);
  rows = shape.rows;
  columns = shape.columns;
  repeatDown = shape.repeatDown;
  repeatAcross = shape.repeatAcross;
  return result;
}

BOOL CTableView::PasteString(const std::string& text, CRect area) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet) return 0;
  const int lineCount = static_cast<int>(sheet->m_lines.size());
  const int columnCount = static_cast<int>(sheet->m_columns.size());
  int line = area.top;
  for (const std::string& l : axview::SplitClipboardLines(text)) {
    if (line >= lineCount) break;
    int column = area.left;
    for (const std::string& value : axview::SplitFields(l)) {
      if (column >= columnCount) break;
      const CColumnProp* prop = sheet->m_columns[column].get();
      if (prop->IsNumeric() && prop->m_decimals == 0 && value.find('.') != std::string::npos) {
        MessageBeep();
        return 0;
      }
      SetCellText(m_currentSheet, line, column, value.c_str());
      ++column;
    }
    ++line;
  }
  return 1;
}

void CTableView::OnEditPaste() {
  CSheetObj* sheet = CurrentSheet();
  if (!(GetEditFunctions() & EDITFUNC_PASTE) || !sheet || GetActiveCellEditor()) return;
  WaitCursor wait;
  std::string text;
  if (!GetClipboardText(this, text)) return;
  if (!AcceptEnteredText(text, true)) return;
  int rows, columns, down, across;
  const int check = IsEnableToPaste(text.c_str(), rows, columns, down, across);
  using namespace platform;
  switch (check) {
    case 1: break;
    case -1:
      if (KELDExMessageBox(axview::IDS_PASTE_SHAPE_DIFFERS, MB_YESNO | MB_ICONEXCLAMATION, "") != IDYES) return;
      break;
    case -3:
      if (KELDExMessageBox(axview::IDS_PASTE_INVALID_CHOICE, MB_YESNO | MB_ICONEXCLAMATION, "") != IDYES) return;
      break;
    case -2: KELDExMessageBox(axview::IDS_PASTE_FORMAT_DIFFERS, MB_OK | MB_ICONSTOP, ""); return;
    default: KELDExMessageBox(axview::IDS_CANNOT_PASTE, MB_OK | MB_ICONSTOP, ""); return;
  }
  const CRect sel = sheet->m_selection;
  const CPoint cursor = sheet->m_cursor;
  bool ok = true;
  BeginStep();
  for (int d = 0; d < down && ok; ++d)
    for (int a = 0; a < across && ok; ++a)
      ok = PasteString(text, CRect(sel.left + a * columns, sel.top + d * rows, sel.right, sel.bottom)) != 0;
  EndStep();
  // The selection becomes the area the copies cover, within the sheet.
  const int lastLine = static_cast<int>(sheet->m_lines.size()) - 1;
  const int lastColumn = static_cast<int>(sheet->m_columns.size()) - 1;
  CRect covered(sel.left, sel.top, std::min(lastColumn, sel.left + columns * across - 1),
                std::min(lastLine, sel.top + rows * down - 1));
  SetSel(covered, CPoint(std::clamp(cursor.x, covered.left, covered.right), std::clamp(cursor.y, covered.top, covered.bottom)));
  viewport()->update();
}

void CTableView::OnEditUndo() {
  // The owner keeps and applies the undo records; the view has nothing to undo.
}

BOOL CTableView::RemoveUndoBuffer() {
  while (m_undoList.RemoveTail()) {
  }
  return m_undoList.IsEmpty() ? 1 : 0;
}

BOOL CTableView::OnUpdateEditCopy() const { return 1; }
BOOL CTableView::OnUpdateEditCut() const { return 1; }
BOOL CTableView::OnUpdateEditPaste() const { return ClipboardHasText() ? 1 : 0; }
BOOL CTableView::OnUpdateEditUndo() const { return m_undoList.IsEmpty() ? 0 : 1; }
BOOL CTableView::OnUpdateEditFind() const { return GetLineCount(m_currentSheet) > 0 ? 1 : 0; }
BOOL CTableView::OnUpdateEditReplace() const { return GetLineCount(m_currentSheet) > 0 ? 1 : 0; }

bool CTableView::RunEditCommand(UINT id) {
  switch (id) {
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_EDIT_CUT: OnEditCut(); return true;
    case ID_EDIT_PASTE: OnEditPaste(); return true;
    case ID_EDIT_UNDO: OnEditUndo(); return true;
    case ID_EDIT_REDO: OnEditRedo(); return true;
    case ID_EDIT_FIND: OnEditFind(); return true;
    case ID_EDIT_REPLACE: OnEditReplace(); return true;
    default: return false;
  }
}

std::unique_ptr<QMenu> CTableView::CreateContextMenu() {
  struct Item {
    UINT id;
    DWORD flag;
  };
  // 0 stands for a separator.
  static const Item kItems[] = {{ID_EDIT_UNDO, EDITFUNC_UNDO}, {ID_EDIT_REDO, EDITFUNC_REDO}, {0, 0},
                                {ID_EDIT_CUT, EDITFUNC_CUT},   {ID_EDIT_COPY, EDITFUNC_COPY},
                                {ID_EDIT_PASTE, EDITFUNC_PASTE}, {0, 0},
                                {ID_EDIT_FIND, EDITFUNC_FIND}, {ID_EDIT_REPLACE, EDITFUNC_REPLACE}};
  auto menu = std::make_unique<QMenu>(this);
  const DWORD flags = GetEditFunctions();
  bool pendingSeparator = false;
  for (const Item& item : kItems) {
    if (item.id == 0) {
      pendingSeparator = !menu->actions().isEmpty();
      continue;
    }
    if (!(flags & item.flag)) continue;
    if (pendingSeparator) menu->addSeparator();
    pendingSeparator = false;
    std::string text;
    GetKELDExDLLString(item.id, text);
    // The text carries its accelerator after a TAB, as the menu shows it.
    const QString label = QString::fromStdString(text);
    const int tab = label.indexOf(QLatin1Char('\t'));
    QAction* action = menu->addAction(tab < 0 ? label : label.left(tab));
    if (tab >= 0) action->setShortcut(QKeySequence(label.mid(tab + 1)));
    action->setShortcutVisibleInContextMenu(true);
    action->setData(item.id);
    if (item.id == ID_EDIT_PASTE) action->setEnabled(OnUpdateEditPaste() != 0);
    if (item.id == ID_EDIT_UNDO) action->setEnabled(OnUpdateEditUndo() != 0);
    if (item.id == ID_EDIT_REDO) action->setEnabled(OnUpdateEditRedo() != 0);
    const UINT id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { RunEditCommand(id); });
  }
  if (menu->actions().isEmpty()) return nullptr;
  return menu;
}
