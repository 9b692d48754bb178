// Searching the cells of CTableView and answering the find dialog.
#include <QApplication>

#include "axview/helpers.h"
#include "axview/table_view.h"
#include "find_dialog.h"
#include "find_text.h"

void CTableView::Find(int& sheetIndex, int& line, int& column, const char* text, DWORD flags, CRect* area,
                      CPoint* match) {
  if (!text) {
    line = column = -1;
    return;
  }
  if (!*text) {
    if (match) *match = CPoint(0, 0);
    return;
  }
  const CSheetObj* sheet = GetSheetObj(sheetIndex);
  const bool matchCase = flags & FIND_MATCH_CASE, entire = flags & FIND_ENTIRE_CELLS;
  const std::string wanted = text;
  const int lineCount = sheet ? static_cast<int>(sheet->m_lines.size()) : 0;
  int bottom = lineCount - 1, left = 0, right = -1;
  if (area) {
    bottom = std::min(bottom, std::max(0, area->bottom));
    left = std::max(0, area->left);
    right = std::max(0, area->right);
  }
  for (int l = std::max(0, line); l <= bottom; ++l) {
    const int fieldCount = static_cast<int>(sheet->m_columns.size());
    const int last = area ? std::min(right, fieldCount - 1) : fieldCount - 1;
    for (int c = l == line ? std::max(0, column) : left; c <= last; ++c) {
      const std::string cell = GetCellText(sheetIndex, l, c);
      int start = 0, end = 0;
      bool found;
      if (entire) {
        found = axview::CellEquals(cell, wanted, matchCase);
        end = static_cast<int>(wanted.size());
      } else {
        found = axview::FindInCell(cell, wanted, matchCase, start, end);
      }
      if (found) {
        line = l;
        column = c;
        if (match) *match = CPoint(start, end);
        return;
      }
    }
  }
  line = column = -1;
}

namespace {
// The cell after (line, column) within the area's columns.
void StepOn(int& line, int& column, const CRect& area) {
  if (++column > area.right) {
    column = area.left;
    ++line;
  }
}
}  // namespace

void CTableView::OnSearchRequest(CSearchRequest& request) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || !request.find || !request.area) return;
  CRect& area = *request.area;
  const DWORD options = request.flags & 0xFFFF, action = request.flags & 0xFFFF0000;
  const std::string replace = request.replace ? *request.replace : std::string();
  if (action != FIND_ACTION_NEXT && !AcceptEnteredText(replace, true)) {
    request.refused = true;
    return;
  }
  const int lineCount = static_cast<int>(sheet->m_lines.size());
  const int columnCount = static_cast<int>(sheet->m_columns.size());

  auto selectFound = [&] {
    if (request.line < 0) return;
    const CRect sel = sheet->m_selection;
    const bool wholeSheet =
        area.left <= 0 && area.top <= 0 && area.right >= columnCount - 1 && area.bottom >= lineCount - 1;
    const CPoint cell(request.column, request.line);
    if (wholeSheet || (sel.left == sel.right && sel.top == sel.bottom))
      SetSel(CRect(cell.x, cell.y, cell.x, cell.y), cell);
    else
      SetSel(sel, cell);
  };
  auto findNext = [&] {
    StepOn(request.line, request.column, area);
    Find(m_currentSheet, request.line, request.column, request.find->c_str(), options, &area, &request.match);
    selectFound();
  };
  auto replaceCell = [&](int line, int column) {
    const std::string cell = GetCellText(m_currentSheet, line, column);
    std::string value;
    if (options & FIND_ENTIRE_CELLS) value = replace;
    else value = cell.empty() ? replace : axview::ReplaceAll(cell, *request.find, replace);
    SetCellText(m_currentSheet, line, column, value.c_str());
  };

  switch (action) {
    case FIND_ACTION_NEXT: findNext(); break;
    case FIND_ACTION_REPLACE:
      Find(m_currentSheet, request.line, request.column, request.find->c_str(), options, &area, &request.match);
      if (request.line < 0) return;
      BeginStep();
      replaceCell(request.line, request.column);
      EndStep();
      viewport()->update();
      findNext();
      break;
    case FIND_ACTION_REPLACE_ALL: {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      const CRect sel = sheet->m_selection;
      if (sel.left == sel.right && sel.top == sel.bottom) {
        area.top = 0;
        area.bottom = lineCount - 1;
      }
      int line = area.top, column = area.left;
      BeginStep();
      // Every cell is visited once: the search always goes on after the cell
      // just replaced, so a replacement that still matches ends the pass too.
      for (;;) {
        Find(m_currentSheet, line, column, request.find->c_str(), options, &area, &request.match);
        if (line < 0 || line > area.bottom) break;
        replaceCell(line, column);
        StepOn(line, column, area);
      }
      EndStep();
      request.line = request.column = -1;
      QApplication::restoreOverrideCursor();
      viewport()->update();
      break;
    }
    default: break;
  }
}

void CTableView::OnFindColumnChosen(int column) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || column < 0 || column >= static_cast<int>(sheet->m_columns.size())) return;
  const CPoint cell(column, sheet->m_cursor.y);
  SetSel(CRect(cell.x, cell.y, cell.x, cell.y), cell);
  viewport()->update();
}

void CTableView::OnEditFind() {
  if (GetEditFunctions() & EDITFUNC_FIND) RunFindDialog(false);
}

void CTableView::OnEditReplace() {
  if (GetEditFunctions() & EDITFUNC_REPLACE) RunFindDialog(true);
}

void CTableView::RunFindDialog(bool replace) {
  CSheetObj* sheet = CurrentSheet();
  if (!sheet || m_findDialog) return;
  if (!CommitPendingEdit()) return;
  const CPoint cursorBefore = sheet->m_cursor;
  std::vector<std::string> findHistory, replaceHistory;
  ReadFindReplaceHistory(findHistory, replaceHistory);
  {
    CSwitchResource libraryResources;
    libraryResources.Switch(KELDExGetLanguage());
    CFindDialog dialog(this, replace, findHistory, replaceHistory);
    m_findDialog = &dialog;
    dialog.exec();
    m_findDialog = nullptr;
    findHistory = dialog.FindHistory();
    replaceHistory = dialog.ReplaceHistory();
  }
  WriteFindReplaceHistory(findHistory, replaceHistory);
  if (CSheetObj* s = CurrentSheet(); s && !(s->m_cursor == cursorBefore)) {
    CSwitchAppRes appResources;
    OnCursorMoved(s->m_cursor.y, s->m_cursor.x);
  }
}
