#pragma once
// The data of a table view without its window: sheets, columns, choice
// strings, lines, cell conversion, selection and the owner notifications.
// CTableView adds the window; tests use this class on its own.
#include <string>
#include <vector>

#include "axview/table_objects.h"

// Edit-function flags: one bit per editing command.
enum : DWORD {
  EDITFUNC_COPY = 0x01,
  EDITFUNC_CUT = 0x02,
  EDITFUNC_PASTE = 0x04,
  EDITFUNC_CLEAR = 0x08,
  EDITFUNC_FIND = 0x10,
  EDITFUNC_REPLACE = 0x20,
  EDITFUNC_UNDO = 0x40,
  EDITFUNC_REDO = 0x80,  // offered by owners that keep a history of their own
  EDITFUNC_DEFAULT = 0x77,
};

class AXVIEW_API CTableModel {
 public:
  CTableModel();
  virtual ~CTableModel();
  CTableModel(const CTableModel&) = delete;
  CTableModel& operator=(const CTableModel&) = delete;

  // Sheets.
  int InsertSheet(int index, const char* name);
  BOOL DeleteSheet(int index);
  void DeleteAllSheets();
  int GetSheetCount() const;
  std::string GetSheetName(int index) const;
  BOOL SetSheetName(int index, const char* name);
  DWORD GetSheetData(int index) const;
  BOOL SetSheetData(int index, DWORD data);
  int GetSelSheet() const;
  void SetSelSheet(int index);

  // Columns.
  int InsertColumn(int sheet, int column, CColumnProp* prop);
  int InsertColumn(int sheet, int column, const char* title, BYTE numeric);
  BOOL DeleteColumn(int sheet, int column);
  BOOL DeleteAllColumns(int sheet);
  int GetColumnCount(int sheet) const;
  CColumnProp* GetColumnProp(int sheet, int column) const;
  BOOL SetColumnData(int sheet, int column, DWORD data);
  int GetColumnData(int sheet, int column) const;
  void SetColumnEditMode(int sheet, int column, BYTE numeric, int maxLength, BYTE digits, BYTE decimals);
  void SetColumnDefaultString(int sheet, int column, const char* text);
  int AddColumnString(int sheet, int column, const char* text);
  int InsertColumnString(int sheet, int column, int position, const char* text);
  int DeleteColumnString(int sheet, int column, UINT position);
  int FindColumnString(int sheet, int column, int start, const char* text) const;
  void ResetColumnContent(int sheet, int column);

  // Lines.
  int InsertLine(int sheet, int line, const char* text);
  BOOL DeleteLine(int sheet, int line);
  BOOL DeleteAllLines(int sheet);
  int GetLineCount(int sheet) const;
  CLineProp* GetLineProp(int sheet, int line) const;
  DWORD GetLineData(int sheet, int line) const;
  BOOL SetLineData(int sheet, int line, DWORD data);
  std::string GetTabbedString(int sheet, int line) const;
  BOOL SetTabbedString(int sheet, int line, const char* text);
  void SetLineText(int sheet, int line, const char* text, int* linked = nullptr, int linkedCount = 0);

  // Cells.
  std::string GetCellText(int sheet, int line, int column) const;
  BOOL SetCellText(int sheet, int line, int column, const char* text);

  // Selection of the current sheet and edit functions.
  void GetSel(CRect& selection, CPoint& cursor) const;
  void SetSel(CRect selection, CPoint cursor);
  void SetEditFunctions(DWORD flags) { m_editFunctions = flags; }
  DWORD GetEditFunctions() const { return m_editFunctions; }

 protected:
  // Owner notifications. The base OnSheetChanged switches to the sheet; an
  // override must call it.
  virtual void OnSheetChanged(int sheet);
  virtual void OnCellChanged(int line, int column);
  virtual void OnCursorMoved(int line, int column);

  CSheetObj* GetSheetObj(int index) const;
  CSheetObj* CurrentSheet() const { return GetSheetObj(m_currentSheet); }

  // What the window shows follows the data through these; the model alone
  // does nothing in them.
  virtual void SheetInserted(int /*index*/, const std::string& /*name*/) {}
  virtual void SheetRemoved(int /*index*/) {}
  virtual void SheetsCleared() {}
  virtual void SheetShown() {}  // the current sheet was switched to
  virtual void ColumnsChanged(int /*sheet*/) {}
  virtual void LinesChanged(int /*sheet*/) {}
  virtual void SelectionChanged(const CRect& /*oldSelection*/, const CPoint& /*oldCursor*/) {}
  // A tab becomes current (SetSelSheet); the base switches the sheet.
  virtual void SelectTab(int index);

  int m_currentSheet = 0;
  int m_previousTopLine = 0;

 private:
  CColumnProp* Column(int sheet, int column) const;
  CLineProp* Line(int sheet, int line) const;
  void LinesChangedIn(int sheet);

  std::vector<std::unique_ptr<CSheetObj>> m_sheets;
  DWORD m_editFunctions = EDITFUNC_DEFAULT;
};
