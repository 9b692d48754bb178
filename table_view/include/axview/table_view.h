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

#include "axview/table_model.h"

class CColumnHeaderWnd;
class CLineHeaderWnd;
class CSheetTabBar;
class CCellEdit;
namespace axview {
class CellTextPainter;
struct SelState;
}

// Child ids, kept for owners that identify the parts of the view by them.
enum : int {
  IDC_LINE_HEADER = 30001,
  IDC_COLUMN_HEADER = 30002,
  IDC_SHEET_TAB = 30003,
  IDC_CELL_COMBO = 1002,
  IDC_CELL_EDIT = 1003,
};

class AXVIEW_API CTableView : public QAbstractScrollArea, public CTableModel {
  Q_OBJECT

 public:
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
  // The in-place edit control while it is shown, else null.
  QWidget* GetActiveCellEditor() const;

 signals:
  // The user (or SetSelSheet) selected another sheet tab.
  void sheetTabChanged(int sheet);

 protected:
  // Starts editing a cell of the current sheet in place.
  virtual void ShowCellEditCtrl(int line, int column, int startedByMouse);

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
  void FinishCellEdit(int key, bool shift);
  void HideCellEdit();

  // Painting.
  void DrawCells(QPainter& painter, const QRect& area);
  void DrawSelection(QPainter& painter, const QRect& area);
  QRegion SelectionRegion(const CRect& sel, const CPoint& cur) const;
  axview::CellTextPainter& TextPainter() { return *m_textPainter; }

  std::unique_ptr<CColumnHeaderWnd> m_columnHeader;
  std::unique_ptr<CLineHeaderWnd> m_lineHeader;
  std::unique_ptr<CSheetTabBar> m_tabBar;
  std::unique_ptr<CCellEdit> m_cellEdit;
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
