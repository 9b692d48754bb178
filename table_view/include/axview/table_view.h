#pragma once
// CTableView: the multi-sheet grid. Sheets are tabs under the grid; each has
// typed columns and lines of tab-separated text (see CTableModel). The view
// paints the current sheet, keeps its selection and cursor, scrolls, and lets
// the user move, select, resize columns and type into cells. Owners derive
// from it and override OnSheetChanged, OnCellChanged and OnCursorMoved.
#include <QAbstractScrollArea>
#include <QFont>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "axview/table_model.h"
#include "axview/undo_list.h"

class QMenu;
class CColumnHeaderWnd;
class CLineHeaderWnd;
class CSheetTabBar;
class CCellEdit;
class CCellCombo;
class CFindDialog;
namespace axview {
class CellTextPainter;
struct SelState;
}

// Child ids, kept for owners that identify the parts of the view by them.
enum : int {
  IDC_FIND_DIALOG = 102,
  IDC_LINE_HEADER = 30001,
  IDC_COLUMN_HEADER = 30002,
  IDC_SHEET_TAB = 30003,
  IDC_CELL_COMBO = 1002,
  IDC_CELL_EDIT = 1003,
};

// Flags of a search: the low bits are options, the high 16 bits the action.
enum : DWORD {
  FIND_ENTIRE_CELLS = 0x1,
  FIND_MATCH_CASE = 0x2,
  FIND_ACTION_NEXT = 0x00000,
  FIND_ACTION_REPLACE = 0x10000,
  FIND_ACTION_REPLACE_ALL = 0x20000,
};

// The search request the find dialog sends to its view. line and column give
// the last match (-1 when none) and receive the new one; match receives the
// matched part of the cell (start and end, or 0 and the length for whole
// cells); area is the dialog's search area (columns left..right, lines
// top..bottom).
struct CSearchRequest {
  int line = -1;
  int column = -1;
  const std::string* replace = nullptr;
  const std::string* find = nullptr;
  DWORD flags = 0;
  CPoint match;
  CRect* area = nullptr;
  // Set by the view when it refused the replace text: nothing was changed.
  bool refused = false;
};

class AXVIEW_API CTableView : public QAbstractScrollArea, public CTableModel {
  Q_OBJECT

 public:
  // Edit command ids, as the owner's menus and accelerators carry them.
  enum EditCommand : UINT {
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_REPLACE = 57641,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
  };

  explicit CTableView(QWidget* parent = nullptr);
  ~CTableView() override;

  // Called by the owner once sheets, columns and lines are filled: shows sheet 0.
  virtual void OnInitialUpdate();

  // The view title, drawn in the top-left corner cell.
  void SetWindowTextA(const char* text);
  std::string GetViewTitle() const { return m_title; }

  // Geometry in the view's client (viewport) coordinates.
  CRect GetCellRect(int line, int column) const;
  BOOL PointToCellPos(CPoint point, int& line, int& column) const;
  int GetLineHeaderWidth() const;
  int GetLineHeight() const { return m_lineHeight; }
  int GetTopLine() const;
  int GetHScrollPos() const;
  // Whole data lines that fit in the view: the page of Page Up / Page Down.
  int GetPageLines() const;
  void EnsureVisible(int line, int column);

  // Repaints everything and lays the view out again.
  BOOL RedrawWindow();

  // Font: the font dialog (8 to 14 points), or a font given directly.
  void ChangeDrawingElements();
  void SetDrawingFont(const LOGFONT& font, int sizeTenths);
  void GetLogFont(LOGFONT* font, int& size) const;
  const QFont* GetFont() const { return &m_font; }
  const QFont* GetSmallFont() const { return &m_smallFont; }

  // The cell font in the registry below the application's key ("LogFont").
  BOOL ReadLogFont(LOGFONT* font, int& size);
  BOOL WriteLogFont(LOGFONT font, int size);

  // The sheet tabs: the first one shown and whether the strip can scroll.
  int GetFirstVisibleTab() const;
  // The in-place edit control or choice list while it is shown, else null.
  QWidget* GetActiveCellEditor() const;
  // Finishes an open in-place edit as Enter would, without moving the
  // cursor: true when no edit was open or its value was written; false when
  // the value was refused, and the editor then stays open with it.
  bool CommitPendingEdit();

  // ---- Edit commands ----
  // Copy (flag EDITFUNC_COPY): the selected block as TAB-separated lines,
  // each ended by CR LF. Cut (EDITFUNC_CUT) copies and empties the block.
  // Paste (EDITFUNC_PASTE) writes the clipboard block into the selection,
  // repeated to fill it, asking or refusing when the shapes or kinds differ.
  void OnEditCopy();
  // An owner whose cells stand for stored data overrides Cut to reset the
  // cells through its own data.
  virtual void OnEditCut();
  void OnEditPaste();
  // Undo and Redo: the view keeps the undo list for its owner and performs
  // nothing itself; an owner with a history of its own overrides them.
  virtual void OnEditUndo();
  virtual void OnEditRedo() {}
  // The find and replace dialog (flags EDITFUNC_FIND and EDITFUNC_REPLACE).
  void OnEditFind();
  void OnEditReplace();
  // Whether each command can be chosen now (for the owner's menus and tool bars).
  BOOL OnUpdateEditCopy() const;
  BOOL OnUpdateEditCut() const;
  BOOL OnUpdateEditPaste() const;
  virtual BOOL OnUpdateEditUndo() const;
  virtual BOOL OnUpdateEditRedo() const { return 0; }
  BOOL OnUpdateEditFind() const;
  BOOL OnUpdateEditReplace() const;
  // Runs a command by its id; false for an id that is no edit command.
  bool RunEditCommand(UINT id);

  // The undo list; RemoveUndoBuffer empties it (1 when it is empty afterwards).
  CUndoList& GetUndoList() { return m_undoList; }
  BOOL RemoveUndoBuffer();

  // ---- Find and replace ----
  // Searches the cells of sheet from (line, column) on, within area (the
  // whole sheet when null): flags FIND_ENTIRE_CELLS and FIND_MATCH_CASE. On a
  // match line and column give the cell and match the matched part; otherwise
  // both are -1. A null text gives -1; an empty one leaves them unchanged.
  void Find(int& sheet, int& line, int& column, const char* text, DWORD flags, CRect* area, CPoint* match);
  // The find dialog's requests: a search (find next, replace, replace all)
  // and the choice of a column to search in.
  void OnSearchRequest(CSearchRequest& request);
  void OnFindColumnChosen(int column);
  // The open find dialog, else null.
  CFindDialog* GetFindDialog() const { return m_findDialog; }

  // ---- Settings kept in the registry ----
  // Column widths per sheet data word ("WidthOfColumns\Info_%08x"): read at
  // the initial update, written by the owner when it closes the view.
  BOOL ReadWidthOfColumns();
  BOOL WriteWidthOfColumns();
  // Deletes HKEY_CURRENT_USER\path with all its subkeys; -1 when it cannot
  // be opened.
  long DeleteRegKey(const std::string& path);

 signals:
  // The user (or SetSelSheet) selected another sheet tab.
  void sheetTabChanged(int sheet);

 protected:
  // Starts editing a cell of the current sheet in place.
  virtual void ShowCellEditCtrl(int line, int column, int startedByMouse);
  // The warning sound of a refused key or value.
  virtual void MessageBeep();
  // Whether text typed, pasted or given as replacement may go into cells;
  // an owner refuses text it cannot store, telling the user when tellUser
  // is set. The base accepts everything.
  virtual bool AcceptEnteredText(const std::string& text, bool tellUser);
  // Bracket one user action that may change several cells (an edit written
  // into many lines, a paste, a cut, a replace), so that an owner can keep
  // it as one step. Calls may nest; only the outermost pair counts.
  virtual void OnChangeStepBegin() {}
  virtual void OnChangeStepEnd() {}
  // The context menu of the edit commands the flags allow; null when none.
  // Owners may add commands of their own to it.
  virtual std::unique_ptr<QMenu> CreateContextMenu();
  // The search histories (newest first) under "HistoryFindWhat" and
  // "HistoryReplace"; at most 20 of each are written, each text once.
  BOOL ReadFindReplaceHistory(std::vector<std::string>& find, std::vector<std::string>& replace);
  BOOL WriteFindReplaceHistory(const std::vector<std::string>& find, const std::vector<std::string>& replace);
  // Checks clipboard text against the selection: 1 pasteable, 0 outside the
  // table, -1 other shape, -2 other kind of value, -3 no such choice.
  int IsEnableToPaste(const char* text, int& rows, int& columns, int& repeatDown, int& repeatAcross);
  // Writes one copy of the block with its top-left cell at area's; 0 when a
  // value was refused and pasting must stop.
  BOOL PasteString(const std::string& text, CRect area);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

  // Model hooks: what is shown follows the data.
  void SheetInserted(int index, const std::string& name) override;
  void SheetRemoved(int index) override;
  void SheetsCleared() override;
  void SheetShown() override;
  void ColumnsChanged(int sheet) override;
  void LinesChanged(int sheet) override;
  void SelectionChanged(const CRect& oldSelection, const CPoint& oldCursor) override;
  void SelectTab(int index) override;

 private:
  friend class CColumnHeaderWnd;
  friend class CLineHeaderWnd;
  friend class CSheetTabBar;
  friend class CCellEdit;
  friend class CCellCombo;
  friend class CFindDialog;

  // Layout after a size, sheet, line or column change.
  void OnSize();
  void UpdateScrollBars();
  void LayoutColumns(CSheetObj& sheet);
  QRect DataArea() const;
  void ScrollToTop(int top);
  void ScrollToX(int x);

  // Keyboard moves; each takes whether Shift is held.
  void OnKeyUpArrow(int shift);
  void OnKeyDownArrow(int shift);
  void OnKeyLeftArrow(int shift);
  void OnKeyRightArrow(int shift);
  void OnKeyHome(int shift, bool ctrl);
  void OnKeyEnd(int shift, bool ctrl);
  void OnKeyPageUp(int shift);
  void OnKeyPageDown(int shift);
  void OnKeyReturn(int shift);
  // Applies a keyboard move computed from the current selection, the line
  // count and the column count.
  using SelectionMove = std::function<axview::SelState(const axview::SelState&, int, int)>;
  void MoveSelection(int shift, const SelectionMove& move);
  bool StartsEditing(const QKeyEvent* event, const CColumnProp* column) const;

  // Header notifications.
  void OnHeaderColumnBeginDrag(int column);
  void OnHeaderColumnTrack(int column);
  void OnHeaderColumnEndDrag(int column);
  void OnHeaderColumnBeginTrack(int column);
  void OnHeaderColumnTracking(int x);
  void OnHeaderColumnEndTrack(int x);
  void OnHeaderColumnDividerDblClick(int column);
  void OnHeaderColumnItemClick(int column);
  void OnHeaderLineBeginDrag(int line);
  void OnHeaderLineTrack(int line);
  void OnHeaderLineEndDrag(int line);
  void OnHeaderLineItemClick(int line);
  void OnTabSheetSelchange();
  void SetColumnWidth(CSheetObj& sheet, int column, int width);

  // In-place editing.
  void OnEditCellKillfocus(Qt::FocusReason reason = Qt::OtherFocusReason);
  void OnComboCellSelendok();
  void OnComboCellKillfocus(Qt::FocusReason reason = Qt::OtherFocusReason);
  // Writes the edit control's text into the selection and hides it; false,
  // with the control left open, when the text is refused.
  bool WriteEditorValue(bool tellUser);
  void BeginStep();
  void EndStep();
  void WriteIntoSelection(int column, const CRect& selection, const std::string& text);
  void MoveAfterEdit(int key, bool shift);
  void HideCellEdit();
  void RunFindDialog(bool replace);
  void ShowContextMenu(const QPoint& globalPos);

  // Painting.
  void DrawCells(QPainter& painter, const QRect& area);
  void DrawSelection(QPainter& painter, const QRect& area);
  QRegion SelectionRegion(const CRect& sel, const CPoint& cur) const;
  axview::CellTextPainter& TextPainter() { return *m_textPainter; }

  std::unique_ptr<CColumnHeaderWnd> m_columnHeader;
  std::unique_ptr<CLineHeaderWnd> m_lineHeader;
  std::unique_ptr<CSheetTabBar> m_tabBar;
  std::unique_ptr<CCellEdit> m_cellEdit;
  std::unique_ptr<CCellCombo> m_cellCombo;
  CFindDialog* m_findDialog = nullptr;
  CUndoList m_undoList;
  bool m_inEditFinish = false;
  int m_stepDepth = 0;
  std::unique_ptr<axview::CellTextPainter> m_textPainter;

  std::string m_title;
  QFont m_font;
  QFont m_smallFont;
  LOGFONT m_logFont;
  int m_fontSize = 90;  // tenths of a point
  int m_lineHeight = 18;

  int m_trackColumn = -1;  // the column being resized, -1 when none
  int m_trackX = -1;       // the tracker line in view coordinates
  bool m_mouseSelecting = false;
  bool m_syncingBars = false;
};
