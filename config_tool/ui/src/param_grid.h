#pragma once
// CParamGrid: a grid of cells with a header row and a header column, its
// own two scroll bars, a current cell, column resizing and in-place editing
// by an edit field or a drop-down list. What a cell shows, which editor it
// gets and how an entered value is stored are decided by a subclass through
// the virtual operations.
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

class QScrollBar;

namespace axcfgui {

class CParamGrid : public QWidget {
  Q_OBJECT

 public:
  // Editor kinds a subclass returns from GetCellEditKind.
  enum EditKind : int {
    kEditList = 0,
    kEditSigned = 2,
    kEditSignedDecimal = 3,
    kEditUnsigned = 4,
    kEditDecimal = 5,
    kEditHex = 6,
    kEditNone = 8,
  };
  // Style bits of GetCellText.
  enum CellStyle : unsigned {
    kAlignCentre = 0x01,
    kAlignLeft = 0x02,
    kAlignRight = 0x04,
    kAlignTop = 0x10,
    kAlignBottom = 0x20,
    kAlignMiddle = 0x40,
    kTextGrey = 0x100,
    kTextRed = 0x200,
  };
  static constexpr int kDefaultColumnWidth = 60;
  static constexpr int kMinimumColumnWidth = 40;
  static constexpr int kResizeZone = 2;

  explicit CParamGrid(QWidget* parent = nullptr);
  ~CParamGrid() override;

  // --- Owner operations ---
  // Sends the first current-cell notification.
  void AttachOwner();
  void SetRowCount(int rows);
  // Missing widths take the default.
  void SetColumnCount(int columns, const std::vector<int>& widths = {});
  // Negative widths are ignored.
  void SetDefaultColumnWidth(int width);
  void SetColumnWidth(int column, int width);
  // Width of the header column that holds the row titles.
  void SetHeaderWidth(int width);
  void SetFirstVisibleRow(int row);
  void SetFirstVisibleColumn(int column);
  // Makes a cell current (ending an edit first); false when refused.
  bool SetCurrentCell(int column, int row);
  void Redraw();
  void RedrawColumn(int column);

  int RowCount() const { return m_rows; }
  int ColumnCount() const { return m_columns; }
  int CurrentRow() const { return m_currentRow; }
  int CurrentColumn() const { return m_currentColumn; }
  int FirstVisibleRow() const { return m_firstRow; }
  int FirstVisibleColumn() const { return m_firstColumn; }
  int DefaultColumnWidth() const { return m_defaultWidth; }
  // The width a column is drawn with.
  int ColumnWidth(int column) const;
  int RowHeight() const;
  // Rows that fit completely into the cell area.
  int VisibleRows() const;
  QRect CellArea() const;
  // Width that shows the header column and every column.
  int TotalWidthHint() const;
  // Where a cell is drawn (empty when it is not visible).
  QRect CellRect(int column, int row) const;
  QScrollBar* VerticalBar() const { return m_vbar; }
  QScrollBar* HorizontalBar() const { return m_hbar; }
  QWidget* Editor() const { return m_editor; }
  bool IsEditing() const { return m_editor != nullptr; }

  // Starts editing the current cell, with a typed first character or with
  // its value (F2); false when no editor was opened.
  bool StartEdit(QChar typed = QChar());

 signals:
  void currentCellChanged(int column, int row);

 protected:
  // --- Operations a subclass supplies ---
  virtual void GetColumnTitle(int column, QString& text);
  virtual void GetRowTitle(int row, QString& text);
  virtual unsigned GetCellText(int column, int row, QString& text);
  // Ends the active edit: key is Qt::Key_Return or Qt::Key_Escape, final
  // when the grid goes away, move 1 for one row down and any other non-zero
  // value for one column right. A negative result keeps the edit open and
  // refuses whatever asked for the end. The default ends the edit (0), or
  // returns 1 when there is none.
  virtual int EndCellEdit(int key, bool final, int move);
  virtual int GetCellEditKind(int column, int row);
  // Fills the editor (a QComboBox or a QLineEdit); false cancels editing.
  virtual bool PrepareCellEditor(QWidget* editor, int column, int row);
  virtual void MessageBeep();

  // The grid's own ending of an edit, for EndCellEdit overrides.
  int FinishEdit(int key, bool final, int move);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  bool HasCells() const { return m_rows > 0 && m_columns > 0; }
  int LastRow() const { return m_rows - 1; }
  int MaxFirstRow() const;
  int MaxFirstColumn() const;
  bool MoveBy(int dx, int dy);
  bool MoveTo(int column, int row);
  // Moves the current cell without ending an edit.
  void MoveCurrent(int column, int row);
  void EnsureVisible(int column, int row);
  bool ScrollRows(int first);
  bool ScrollColumns(int first);
  void UpdateScrollBars();
  // The cell under a point of the cell area; false outside the cells.
  bool CellAt(const QPoint& pos, int& column, int& row) const;
  // The column whose right border is within the resize zone, or -1.
  int ResizeColumnAt(const QPoint& pos) const;
  int ColumnLeft(int column) const;  // x of a visible column's left edge
  bool AcceptsFirstKey(int kind, QChar c) const;
  void PlaceEditor();
  void EditorKey(QKeyEvent* event);

  QScrollBar* m_vbar;
  QScrollBar* m_hbar;
  QWidget* m_editor = nullptr;
  int m_firstRow = 0;
  int m_firstColumn = 0;
  int m_rows = 0;
  int m_columns = 0;
  int m_defaultWidth = kDefaultColumnWidth;
  std::vector<int16_t> m_widths;
  int m_currentRow = 0;
  int m_currentColumn = 0;
  int m_resizingColumn = -1;
  int m_dragStartX = 0;
  int m_headerWidth = 200;
  bool m_editing = false;  // placing or running an edit
  bool m_ending = false;   // an end of the edit is running (it may show a message)
  bool m_syncingBars = false;
  int m_wheelRemainder = 0;
};

}  // namespace axcfgui
