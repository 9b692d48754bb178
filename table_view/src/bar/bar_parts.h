#pragma once
// The parts of a CControlBarEx: the frame around its client widget with the
// resize edge, the title strip with the gripper and the two flat buttons, and
// the tracker line drawn while the edge is dragged.
#include <QAbstractButton>
#include <QWidget>

class CControlBarEx;

// A small button that shows a raised frame while the mouse is over it, a
// sunken one (with the icon one pixel down and right) while pressed, and no
// frame otherwise.
class CFlatIconButton : public QAbstractButton {
 public:
  explicit CFlatIconButton(QWidget* parent);
  bool IsMouseOver() const { return m_mouseOver != 0; }
  QSize sizeHint() const override { return QSize(12, 12); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int m_mouseOver = 0;
  int m_flat = 1;
};

// The three 13 x 13 icons: 0 hide, 1 float a bar docked left or right, 2
// float a bar docked at the top or bottom.
QPixmap BarIcon(int index);

class CBarTitle : public QWidget {
 public:
  explicit CBarTitle(CControlBarEx* bar);
  void Relayout();
  CFlatIconButton* HideButton() const { return m_hide; }
  CFlatIconButton* FloatButton() const { return m_float; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  CControlBarEx* m_bar;
  CFlatIconButton* m_hide;
  CFlatIconButton* m_float;
};

// The bar's frame: 2 pixels round the client, and the resize edge on the
// side facing the main window's centre.
class CBarFrame : public QWidget {
 public:
  explicit CBarFrame(CControlBarEx* bar);
  void Relayout();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  CControlBarEx* m_bar;
};

// The tracker line, drawn with a half-tone pattern over the main window.
class CBarTracker : public QWidget {
 public:
  explicit CBarTracker(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
