#pragma once
// The charts of the motion profile window, drawn with QPainter: position
// and speed of each member axis against time, and the path of a group in
// the X-Y plane with the table numbers marked where each table starts.
#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

#include "axcfg_data/motion_profile.h"

namespace axcfgui {

// The colour of a member axis (X, Y, Z) in every chart of the window.
QColor ProfileAxisColor(int member);

// Position (upper chart) and speed (lower chart) against time.
class CProfileTimePlot : public QWidget {
  Q_OBJECT

 public:
  explicit CProfileTimePlot(QWidget* parent = nullptr);
  // The profile to draw (null draws empty charts); it must outlive the widget
  // or be replaced first.
  void SetProfile(const axcfg::CMotionProfile* profile);
  // The sampled curves: one per member, in the axis units.
  const std::vector<axcfg::ProfileState>& Samples() const { return m_samples; }
  QSize sizeHint() const override { return {640, 360}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const axcfg::CMotionProfile* m_profile = nullptr;
  std::vector<axcfg::ProfileState> m_samples;
};

// The path of the first two members in the plane, to scale.
class CProfilePathPlot : public QWidget {
  Q_OBJECT

 public:
  explicit CProfilePathPlot(QWidget* parent = nullptr);
  void SetProfile(const axcfg::CMotionProfile* profile);
  QSize sizeHint() const override { return {320, 320}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const axcfg::CMotionProfile* m_profile = nullptr;
  std::vector<axcfg::MotionPoint> m_points;
};

}  // namespace axcfgui
