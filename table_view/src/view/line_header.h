#pragma once
// The line header left of the data area: the view title in the corner, then
// one numbered button per visible row; mouse actions select whole lines.
#include <QWidget>

class CTableView;

class CLineHeaderWnd : public QWidget {
 public:
  explicit CLineHeaderWnd(CTableView* view);

  // The line shown in row y (row 0 is the corner), -1 for the corner.
  int LineAt(int y) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  CTableView* m_view;
  bool m_selecting = false;
};
