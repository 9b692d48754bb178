#pragma once
// The trend's plot: the chosen channels of the recorded samples against time,
// one strip per kind of value stacked over a shared time axis, each strip
// with its unit and its own value scale, one colour per axis. The wheel
// zooms in time around the mouse, dragging pans, the mouse shows a cursor
// with the values at its time; keys do the same (+, -, Left, Right, Home,
// End). Many samples are drawn as the lowest and highest value of each pixel
// column, so drawing costs what the width costs, not what the recording holds.
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "axcfg_unit/trend_channels.h"
#include "trend_time_window.h"

namespace axcfgui {

// The colour of an axis (index 0..7) in every trend view.
QColor TrendAxisColour(int axis);

class CTrendPlot : public QWidget {
  Q_OBJECT

 public:
  CTrendPlot(const axcfg::CTrendRecorder& recorder, std::vector<axcfg::MonitorAxis> axes, QWidget* parent = nullptr);

  void SetChannels(std::vector<axcfg::TrendChannel> channels);
  const std::vector<axcfg::TrendChannel>& Channels() const { return m_channels; }
  CTrendTimeWindow& Window() { return m_window; }
  const CTrendTimeWindow& Window() const { return m_window; }
  // Samples were added: a live window follows them. Repaints.
  void Refresh();
  // Stops or resumes following the newest sample.
  void SetLive(bool live);

  // Where the lines are drawn, and the time at a position in it and back.
  QRect PlotArea() const;
  int64_t TimeAtX(int x) const;
  int XAtTime(int64_t timeMs) const;
  // The strips shown, top to bottom, and the value range of each (as last drawn).
  std::vector<axcfg::TrendValue> Strips() const;
  std::pair<double, double> StripRange(axcfg::TrendValue value) const;

  // The cursor's time; none while the mouse is outside.
  std::optional<int64_t> CursorTime() const { return m_cursor; }
  void SetCursorTime(std::optional<int64_t> timeMs);
  // What the cursor reads: the time of the nearest sample ("12.400 s",
  // seconds from the first sample, and the clock time), then for each channel
  // "<axis> <monitor row>: <value as the monitor shows it>". Empty without
  // cursor or samples.
  std::vector<std::string> Readout() const;

  // Draws the whole plot into `painter` over the widget's rectangle.
  void Paint(QPainter& painter);

 signals:
  // The time window changed by the user's zoom, pan or keys.
  void windowChanged();
  void cursorMoved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct StripData;
  QRect StripRect(int index, int count) const;
  int64_t LatestMs() const;
  void ZoomAt(double factor, int64_t anchorMs);
  void PanBy(int64_t deltaMs);

  const axcfg::CTrendRecorder& m_recorder;
  std::vector<axcfg::MonitorAxis> m_axes;
  std::vector<axcfg::TrendChannel> m_channels;
  CTrendTimeWindow m_window;
  std::optional<int64_t> m_cursor;
  std::vector<std::pair<double, double>> m_ranges;  // by TrendValue, as last drawn
  bool m_dragging = false;
  int m_dragX = 0;
  int64_t m_dragEnd = 0;
};

}  // namespace axcfgui
