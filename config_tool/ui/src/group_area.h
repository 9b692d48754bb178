#pragma once
// The left side of the group settings dialog: the "Independent" area and
// the interpolation group boxes A-D, each drawing the labels of its axes in
// member order. Pressing a label starts a drag of that axis; the cursor
// tells whether the point under it is a drop target that changes anything,
// and releasing the button moves the axis. Escape or a lost mouse grab ends
// the drag without a change. With the "Independent" caption focused, the
// arrow keys select a label, A to D move it into a group and Delete makes it
// independent again.
#include <QWidget>
#include <array>
#include <vector>

#include "axcfg_data/axis_settings.h"

class QGroupBox;
class QLabel;

namespace axcfgui {

class CAxisLabelBox;

class CGroupArea : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kIdIndependent = 2051;
  static constexpr int kIdInterpolationGroup = 2052;
  static constexpr int kIdFirstGroupBox = 2054;  // A..D: 2054..2057
  static constexpr Qt::CursorShape kValidTargetCursor = Qt::DragMoveCursor;
  static constexpr Qt::CursorShape kInvalidTargetCursor = Qt::ForbiddenCursor;

  CGroupArea(axcfg::CGroupArrangement& arrangement, QWidget* parent = nullptr);

  // The caption that takes the keyboard focus; the selected axis is drawn
  // highlighted while it has it.
  QLabel* IndependentCaption() const { return m_caption; }
  // Where the label of an axis is drawn, in this widget's coordinates;
  // empty for an axis that is not used.
  QRect LabelRect(int axisIndex) const;
  // The area of a drop target (0..3 the group boxes, kDropIndependent), in
  // this widget's coordinates.
  QRect TargetRect(int target) const;
  // The drop target under a point: 0..3, kDropIndependent or kDropNowhere.
  int TargetAt(const QPoint& pos) const;

  int DraggedAxis() const { return m_dragAxis; }  // -1 when no drag is on
  int SelectedAxis() const { return m_selected; }
  bool IsHighlighted(int axisIndex) const;
  axcfg::CGroupArrangement& Arrangement() const { return m_arrangement; }

  // Redraws every area after the arrangement changed outside the drag.
  void Refresh();

 signals:
  void arrangementChanged();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CAxisLabelBox* BoxOf(int target) const;
  int AxisAt(const QPoint& pos) const;
  // The used axes as drawn: the independent ones, then groups A to D.
  std::vector<int> AxesInDrawingOrder() const;
  void ShowCursorFor(const QPoint& pos);
  void EndDrag();

  axcfg::CGroupArrangement& m_arrangement;
  QLabel* m_caption;
  CAxisLabelBox* m_independent;
  QGroupBox* m_groupFrame;
  std::array<CAxisLabelBox*, axcfg::kGroupCount> m_groups{};
  int m_dragAxis = -1;
  int m_selected = -1;
};

}  // namespace axcfgui
