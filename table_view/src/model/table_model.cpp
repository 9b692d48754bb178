#include "axview/table_model.h"

#include <algorithm>

#include "axview/helpers.h"
#include "cell_convert.h"
#include "tab_text.h"

namespace {

template <class T>
bool ValidIndex(const std::vector<T>& list, int index) {
  return index >= 0 && static_cast<size_t>(index) < list.size();
}

// Keeps the selection and the cursor inside a sheet that lost lines or columns.
void ClampSelection(CSheetObj& sheet) {
  const int lastLine = std::max(0, static_cast<int>(sheet.m_lines.size()) - 1);
  const int lastColumn = std::max(0, static_cast<int>(sheet.m_columns.size()) - 1);
  CRect& s = sheet.m_selection;
  s.left = std::clamp(s.left, 0, lastColumn);
  s.right = std::clamp(s.right, 0, lastColumn);
  s.top = std::clamp(s.top, 0, lastLine);
  s.bottom = std::clamp(s.bottom, 0, lastLine);
  sheet.m_cursor.x = std::clamp(sheet.m_cursor.x, s.left, s.right);
  sheet.m_cursor.y = std::clamp(sheet.m_cursor.y, s.top, s.bottom);
}

// Empties the columns or the lines of a sheet and keeps its selection inside;
// false when there is no such sheet.
template <class List>
bool EmptySheetList(CSheetObj* sheet, List CSheetObj::*list) {
  if (!sheet) return false;
  (sheet->*list).clear();
  ClampSelection(*sheet);
  return true;
}

}  // namespace

CTableModel::CTableModel() = default;
CTableModel::~CTableModel() = default;

// ---- Sheets -------------------------------------------------------------------

CSheetObj* CTableModel::GetSheetObj(int index) const {
  return ValidIndex(m_sheets, index) ? m_sheets[index].get() : nullptr;
}

int CTableModel::InsertSheet(int index, const char* name) {
  const int count = GetSheetCount();
  if (index < 0 || (count > 0 && index > count)) return -1;
  auto sheet = std::make_unique<CSheetObj>();
  sheet->m_name = name ? name : "";
  const std::string caption = sheet->m_name;
  if (count == 0) {
    m_sheets.push_back(std::move(sheet));
    m_currentSheet = 0;
    SheetInserted(0, caption);
    return 0;
  }
  m_sheets.insert(m_sheets.begin() + index, std::move(sheet));
  // The sheet that was current stays current.
  if (index <= m_currentSheet && m_currentSheet < count) ++m_currentSheet;
  SheetInserted(index, caption);
  return count;
}

BOOL CTableModel::DeleteSheet(int index) {
  if (!ValidIndex(m_sheets, index)) return 0;
  const bool wasCurrent = index == m_currentSheet;
  m_sheets.erase(m_sheets.begin() + index);
  if (index < m_currentSheet) --m_currentSheet;
  SheetRemoved(index);
  if (m_sheets.empty()) {
    m_currentSheet = 0;
    m_previousTopLine = 0;
    SheetsCleared();
  } else if (wasCurrent) {
    // The following sheet (or the one before, for the last) is shown.
    OnSheetChanged(std::min(index, GetSheetCount() - 1));
  }
  return 1;
}

void CTableModel::DeleteAllSheets() {
  m_sheets.clear();
  m_currentSheet = 0;
  m_previousTopLine = 0;
  SheetsCleared();
}

int CTableModel::GetSheetCount() const { return static_cast<int>(m_sheets.size()); }

std::string CTableModel::GetSheetName(int index) const {
  CSheetObj* s = GetSheetObj(index);
  return s ? s->m_name : std::string();
}

BOOL CTableModel::SetSheetName(int index, const char* name) {
  CSheetObj* s = GetSheetObj(index);
  if (!s || !name) return 0;
  s->m_name = name;
  return 1;
}

DWORD CTableModel::GetSheetData(int index) const {
  CSheetObj* s = GetSheetObj(index);
  return s ? s->m_data : static_cast<DWORD>(-1);
}

BOOL CTableModel::SetSheetData(int index, DWORD data) {
  CSheetObj* s = GetSheetObj(index);
  if (!s) return 0;
  s->m_data = data;
  return 1;
}

int CTableModel::GetSelSheet() const { return m_sheets.empty() ? -1 : m_currentSheet; }

void CTableModel::SetSelSheet(int index) {
  if (!ValidIndex(m_sheets, index)) return;
  SelectTab(index);
}

void CTableModel::SelectTab(int index) { OnSheetChanged(index); }

void CTableModel::OnSheetChanged(int sheet) {
  CSheetObj* previous = CurrentSheet();
  m_previousTopLine = previous ? previous->m_topLine : 0;
  m_currentSheet = sheet;
  SheetShown();
  if (CSheetObj* s = CurrentSheet()) {
    CSwitchAppRes appResources;
    OnCursorMoved(s->m_cursor.y, s->m_cursor.x);
  }
}

void CTableModel::OnCellChanged(int, int) {}
void CTableModel::OnCursorMoved(int, int) {}

// ---- Columns ----------------------------------------------------------------

CColumnProp* CTableModel::Column(int sheet, int column) const {
  CSheetObj* s = GetSheetObj(sheet);
  return s && ValidIndex(s->m_columns, column) ? s->m_columns[column].get() : nullptr;
}

int CTableModel::InsertColumn(int sheet, int column, CColumnProp* prop) {
  CSheetObj* s = GetSheetObj(sheet);
  if (!s || !prop || column < 0) return -1;
  auto& columns = s->m_columns;
  const int count = static_cast<int>(columns.size());
  if (count > 0 && column > count) return -1;
  auto copy = std::make_unique<CColumnProp>(*prop);
  const int at = std::min(column, count);
  columns.insert(columns.begin() + at, std::move(copy));
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) columns[i]->m_index = i;
  if (sheet == m_currentSheet) ColumnsChanged(sheet);
  return at;
}

int CTableModel::InsertColumn(int sheet, int column, const char* title, BYTE numeric) {
  CColumnProp prop;
  prop.m_title = title ? title : "";
  prop.m_numeric = numeric ? 1 : 0;
  return InsertColumn(sheet, column, &prop);
}

BOOL CTableModel::DeleteColumn(int sheet, int column) {
  CSheetObj* s = GetSheetObj(sheet);
  if (!s || !ValidIndex(s->m_columns, column)) return 0;
  s->m_columns.erase(s->m_columns.begin() + column);
  for (int i = 0; i < static_cast<int>(s->m_columns.size()); ++i) s->m_columns[i]->m_index = i;
  ClampSelection(*s);
  if (sheet == m_currentSheet) ColumnsChanged(sheet);
  return 1;
}

BOOL CTableModel::DeleteAllColumns(int sheet) {
  if (!EmptySheetList(GetSheetObj(sheet), &CSheetObj::m_columns)) return 0;
  if (sheet == m_currentSheet) ColumnsChanged(sheet);
  return 1;
}

int CTableModel::GetColumnCount(int sheet) const {
  CSheetObj* s = GetSheetObj(sheet);
  return s ? static_cast<int>(s->m_columns.size()) : 0;
}

CColumnProp* CTableModel::GetColumnProp(int sheet, int column) const { return Column(sheet, column); }

BOOL CTableModel::SetColumnData(int sheet, int column, DWORD data) {
  CColumnProp* c = Column(sheet, column);
  if (!c) return 0;
  c->m_data = data;
  return 1;
}

int CTableModel::GetColumnData(int sheet, int column) const {
  CColumnProp* c = Column(sheet, column);
  return c ? static_cast<int>(c->m_data) : -1;
}

void CTableModel::SetColumnEditMode(int sheet, int column, BYTE numeric, int maxLength, BYTE digits, BYTE decimals) {
  CColumnProp* c = Column(sheet, column);
  if (!c) return;
  c->m_numeric = c->IsChoice() ? 0 : (numeric ? 1 : 0);
  if (c->m_numeric == 1) {
    c->m_digits = digits;
    c->m_decimals = decimals;
  } else {
    c->m_maxLength = maxLength;
  }
}

void CTableModel::SetColumnDefaultString(int sheet, int column, const char* text) {
  CColumnProp* c = Column(sheet, column);
  if (c && text) c->m_default = text;
}

int CTableModel::AddColumnString(int sheet, int column, const char* text) {
  CColumnProp* c = Column(sheet, column);
  if (!c || !text) return -1;
  c->m_choices.emplace_back(text);
  c->m_numeric = 0;  // a choice column is never numeric
  return static_cast<int>(c->m_choices.size()) - 1;
}

int CTableModel::InsertColumnString(int sheet, int column, int position, const char* text) {
  CColumnProp* c = Column(sheet, column);
  if (!c || !text || position < 0) return 0;
  c->m_numeric = 0;
  if (static_cast<size_t>(position) >= c->m_choices.size()) {
    c->m_choices.emplace_back(text);
    return 0;
  }
  c->m_choices.insert(c->m_choices.begin() + position, text);
  return 1;
}

int CTableModel::DeleteColumnString(int sheet, int column, UINT position) {
  CColumnProp* c = Column(sheet, column);
  if (!c) return -1;
  if (position < c->m_choices.size()) c->m_choices.erase(c->m_choices.begin() + position);
  return static_cast<int>(c->m_choices.size());
}

int CTableModel::FindColumnString(int sheet, int column, int start, const char* text) const {
  CColumnProp* c = Column(sheet, column);
  if (!c || !text) return -1;
  for (size_t i = static_cast<size_t>(std::max(start, 0)); i < c->m_choices.size(); ++i)
    if (c->m_choices[i] == text) return static_cast<int>(i);
  return -1;
}

void CTableModel::ResetColumnContent(int sheet, int column) {
  if (CColumnProp* c = Column(sheet, column)) c->m_choices.clear();
}

// ---- Lines --------------------------------------------------------------------

CLineProp* CTableModel::Line(int sheet, int line) const {
  CSheetObj* s = GetSheetObj(sheet);
  return s && ValidIndex(s->m_lines, line) ? s->m_lines[line].get() : nullptr;
}

void CTableModel::LinesChangedIn(int sheet) {
  CSheetObj* s = GetSheetObj(sheet);
  s->m_lineCount = static_cast<int>(s->m_lines.size());
  if (sheet == m_currentSheet) LinesChanged(sheet);
}

int CTableModel::InsertLine(int sheet, int line, const char* text) {
  CSheetObj* s = GetSheetObj(sheet);
  if (!s || !text || line < 0) return -1;
  const int count = static_cast<int>(s->m_lines.size());
  if (count > 0 && line > count) return -1;
  auto prop = std::make_unique<CLineProp>(text);
  int result;
  if (line >= count) {
    s->m_lines.push_back(std::move(prop));
    result = count + 1;
  } else {
    s->m_lines.insert(s->m_lines.begin() + line, std::move(prop));
    result = line;
  }
  LinesChangedIn(sheet);
  return result;
}

BOOL CTableModel::DeleteLine(int sheet, int line) {
  CSheetObj* s = GetSheetObj(sheet);
  if (!s || !ValidIndex(s->m_lines, line)) return 0;
  s->m_lines.erase(s->m_lines.begin() + line);
  ClampSelection(*s);
  m_previousTopLine = -1;
  LinesChangedIn(sheet);
  return 1;
}

BOOL CTableModel::DeleteAllLines(int sheet) {
  if (!EmptySheetList(GetSheetObj(sheet), &CSheetObj::m_lines)) return 0;
  m_previousTopLine = -1;
  LinesChangedIn(sheet);
  return 1;
}

int CTableModel::GetLineCount(int sheet) const {
  CSheetObj* s = GetSheetObj(sheet);
  return s ? static_cast<int>(s->m_lines.size()) : 0;
}

CLineProp* CTableModel::GetLineProp(int sheet, int line) const { return Line(sheet, line); }

DWORD CTableModel::GetLineData(int sheet, int line) const {
  CLineProp* l = Line(sheet, line);
  return l ? l->m_data : static_cast<DWORD>(-1);
}

BOOL CTableModel::SetLineData(int sheet, int line, DWORD data) {
  CLineProp* l = Line(sheet, line);
  if (!l) return 0;
  l->m_data = data;
  return 1;
}

std::string CTableModel::GetTabbedString(int sheet, int line) const {
  CLineProp* l = Line(sheet, line);
  return l ? l->m_text : std::string();
}

BOOL CTableModel::SetTabbedString(int sheet, int line, const char* text) {
  CLineProp* l = Line(sheet, line);
  if (!l || !text) return 0;
  l->m_text = text;
  return 1;
}

void CTableModel::SetLineText(int sheet, int line, const char* text, int* linked, int linkedCount) {
  CSheetObj* s = GetSheetObj(sheet);
  if (!s || !text || line < 0) return;
  CLineProp* target = Line(sheet, line);
  if (!target) return;
  std::vector<std::string_view> fields;
  axview::SplitFields(text, fields);
  const size_t used = std::min(fields.size(), s->m_columns.size());
  std::vector<std::string> converted(used);
  std::string linkedValue;
  int nextLinked = 1;
  for (size_t i = 0; i < used; ++i) {
    const int column = static_cast<int>(i);
    if (linked && linkedCount >= 1 && column != linked[0] && nextLinked < linkedCount && column == linked[nextLinked]) {
      converted[i] = linkedValue;
      ++nextLinked;
      continue;
    }
    axview::ConvertLineField(*s->m_columns[i], fields[i], converted[i]);
    if (linked && linkedCount >= 1 && column == linked[0]) linkedValue = converted[i];
  }
  std::string joined;
  size_t size = 2 + used;
  for (auto& c : converted) size += c.size();
  joined.reserve(size);
  for (size_t i = 0; i < used; ++i) {
    if (i) joined.push_back('\t');
    joined.append(converted[i]);
  }
  joined.append("\r\n");
  target->m_text = std::move(joined);
}

// ---- Cells -------------------------------------------------------------------

std::string CTableModel::GetCellText(int sheet, int line, int column) const {
  CLineProp* l = Line(sheet, line);
  if (!l || l->m_text.empty()) return {};
  return std::string(axview::FieldAt(l->m_text, column));
}

BOOL CTableModel::SetCellText(int sheet, int line, int column, const char* text) {
  CLineProp* l = Line(sheet, line);
  if (!text || !l || l->m_text.empty()) return 0;
  std::string value;
  if (!axview::ConvertCellText(Column(sheet, column), text, value)) return 0;
  std::string updated = l->m_text;
  if (axview::ReplaceFields(updated, value, column) < 0) return 0;
  // Only a change of the cells themselves is reported, not the line end
  // that rewriting adds.
  const bool changed = axview::LineContent(updated) != axview::LineContent(l->m_text);
  l->m_text = std::move(updated);
  if (changed) {
    CSwitchResource libraryResources;
    libraryResources.Switch(KELDExGetLanguage());
    OnCellChanged(line, column);
  }
  return 1;
}

// ---- Selection -------------------------------------------------------------------

void CTableModel::GetSel(CRect& selection, CPoint& cursor) const {
  CSheetObj* s = CurrentSheet();
  if (!s) {
    selection = CRect();
    cursor = CPoint();
    return;
  }
  selection = s->m_selection;
  cursor = s->m_cursor;
}

void CTableModel::SetSel(CRect selection, CPoint cursor) {
  CSheetObj* s = CurrentSheet();
  if (!s) return;
  selection.NormalizeRect();
  const CRect oldSelection = s->m_selection;
  const CPoint oldCursor = s->m_cursor;
  s->m_selection = selection;
  s->m_cursor = cursor;
  SelectionChanged(oldSelection, oldCursor);
  if (!(oldCursor == cursor)) {
    CSwitchAppRes appResources;
    OnCursorMoved(cursor.y, cursor.x);
  }
}
