#pragma once
// The column header over the data area: one button per column, dividers to
// resize columns, and mouse actions that select whole columns.
#include <QWidget>

class CTableView;

class CColumnHeaderWnd : public QWidget {
 public:
  explicit CColumnHeaderWnd(CTableView* view);

  // Within this many pixels of a column's right edge the mouse resizes it.
  static constexpr int kDividerZone = 6;
  // The column whose divider lies at header x, or -1.
  int DividerAt(int x) const;
  // The column under header x, or -1.
  int ColumnAt(int x) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  enum class Mode { None, Selecting, Resizing };
  int ContentX(int x) const;
  CTableView* m_view;
  Mode m_mode = Mode::None;
};
