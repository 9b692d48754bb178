#include "profile_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "axcfg_data/position_units.h"
#include "ui_strings.h"

namespace axcfgui {

namespace {

constexpr int kSamples = 1500;
constexpr int kPathStepsPerMove = 48;
constexpr int kMargin = 8;
constexpr int kLeftMargin = 64;

QString Text(unsigned id) { return QString::fromStdString(UiText(id)); }

// Tick spacing of 1, 2 or 5 times a power of ten giving about `count` ticks.
double TickStep(double span, int count) {
  if (span <= 0) return 1.0;
  const double raw = span / std::max(count, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (raw <= m * power) return m * power;
  return 10.0 * power;
}

struct Range {
  double lo = 0, hi = 1;
  void Widen() {
    if (hi - lo < 1e-9) {
      const double pad = std::max(std::fabs(hi) * 0.1, 1.0);
      lo -= pad;
      hi += pad;
    }
  }
};

QString Number(double v, double step) {
  const int decimals = step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step))));
  return QString::number(v, 'f', decimals);
}

// Frame, grid and tick labels of one chart; returns the plot rectangle.
void DrawChartFrame(QPainter& p, const QRectF& area, const Range& x, const Range& y, const QString& title,
                    bool timeLabels) {
  p.setPen(QColor(200, 200, 200));
  const QFontMetrics fm = p.fontMetrics();
  const double xs = TickStep(x.hi - x.lo, 8), ys = TickStep(y.hi - y.lo, 4);
  for (double v = std::ceil(x.lo / xs) * xs; v <= x.hi + xs * 1e-6; v += xs) {
    const double px = area.left() + (v - x.lo) / (x.hi - x.lo) * area.width();
    p.setPen(QColor(225, 225, 225));
    p.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    if (timeLabels) {
      p.setPen(Qt::black);
      p.drawText(QPointF(px - fm.horizontalAdvance(Number(v, xs)) / 2.0, area.bottom() + fm.ascent() + 2),
                 Number(v, xs));
    }
  }
  for (double v = std::ceil(y.lo / ys) * ys; v <= y.hi + ys * 1e-6; v += ys) {
    const double py = area.bottom() - (v - y.lo) / (y.hi - y.lo) * area.height();
    p.setPen(QColor(225, 225, 225));
    p.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
    p.setPen(Qt::black);
    const QString label = Number(v, ys);
    p.drawText(QPointF(area.left() - 4 - fm.horizontalAdvance(label), py + fm.ascent() / 2.0 - 1), label);
  }
  p.setPen(Qt::black);
  p.drawRect(area);
  p.drawText(QPointF(area.left() + 4, area.top() + fm.ascent() + 2), title);
}

}  // namespace

QColor ProfileAxisColor(int member) {
  static const QColor kColors[] = {QColor(31, 119, 180), QColor(214, 39, 40), QColor(44, 160, 44)};
  return kColors[std::clamp(member, 0, 2)];
}

CProfileTimePlot::CProfileTimePlot(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ProfileTimePlot"));
  setMinimumSize(320, 220);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void CProfileTimePlot::SetProfile(const axcfg::CMotionProfile* profile) {
  m_profile = profile;
  m_samples = profile ? profile->Sample(kSamples) : std::vector<axcfg::ProfileState>{};
  update();
}

void CProfileTimePlot::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics fm = p.fontMetrics();
  // Below the lower chart: a line of tick labels and the time caption.
  const double chartHeight = (height() - 3 * kMargin - 3 * fm.height()) / 2.0;
  if (chartHeight < 20) return;
  const QRectF top(kLeftMargin, kMargin, width() - kLeftMargin - kMargin, chartHeight);
  const QRectF bottom(kLeftMargin, top.bottom() + kMargin + fm.height(), top.width(), chartHeight);
  const int members = m_profile ? static_cast<int>(m_profile->Axes().size()) : 0;

  Range time{0, m_profile ? m_profile->Duration() : 1.0};
  Range pos{0, 0}, speed{0, 0};
  for (const auto& s : m_samples)
    for (int m = 0; m < members; ++m) {
      pos.lo = std::min(pos.lo, s.position[m]);
      pos.hi = std::max(pos.hi, s.position[m]);
      speed.lo = std::min(speed.lo, s.speed[m]);
      speed.hi = std::max(speed.hi, s.speed[m]);
    }
  time.Widen();
  pos.Widen();
  speed.Widen();
  const uint16_t unit = members ? m_profile->Axes()[0].unitCode : 0;
  DrawChartFrame(p, top, time, pos, Text(kIdsProfilePosition) + " [" + QString::fromStdString(axcfg::UnitShortText(unit)) + "]",
                 false);
  DrawChartFrame(p, bottom, time, speed,
                 Text(kIdsProfileSpeed) + " [" + QString::fromStdString(axcfg::UnitSpeedText(unit)) + "/s]", true);
  p.drawText(QPointF(bottom.center().x() - fm.horizontalAdvance(Text(kIdsProfileTime)) / 2.0,
                     height() - fm.descent() - 1),
             Text(kIdsProfileTime));
  if (!m_profile) return;

  // Where each table starts, with its number over the position chart.
  p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
  for (const auto& move : m_profile->Moves()) {
    const double x = top.left() + (move.startTime - time.lo) / (time.hi - time.lo) * top.width();
    p.drawLine(QPointF(x, top.top()), QPointF(x, bottom.bottom()));
    p.drawText(QPointF(x + 2, top.bottom() - 3), QString::number(move.tableNo));
  }
  const auto toPoint = [&](const QRectF& area, const Range& y, double t, double v) {
    return QPointF(area.left() + (t - time.lo) / (time.hi - time.lo) * area.width(),
                   area.bottom() - (v - y.lo) / (y.hi - y.lo) * area.height());
  };
  for (int m = 0; m < members; ++m) {
    QPainterPath position, velocity;
    for (size_t i = 0; i < m_samples.size(); ++i) {
      const auto& s = m_samples[i];
      const QPointF a = toPoint(top, pos, s.time, s.position[m]);
      const QPointF b = toPoint(bottom, speed, s.time, s.speed[m]);
      if (i == 0) {
        position.moveTo(a);
        velocity.moveTo(b);
      } else {
        position.lineTo(a);
        velocity.lineTo(b);
      }
    }
    p.setPen(QPen(ProfileAxisColor(m), 2));
    p.drawPath(position);
    p.drawPath(velocity);
    // Legend: the member letter and its axis number.
    const QString name = QStringLiteral("%1 (%2)").arg(QChar(m_profile->Axes()[m].letter)).arg(m_profile->Axes()[m].axis + 1);
    const double lx = top.right() - 70 * (members - m);
    p.drawLine(QPointF(lx, top.top() + 10), QPointF(lx + 16, top.top() + 10));
    p.drawText(QPointF(lx + 20, top.top() + 10 + fm.ascent() / 2.0 - 1), name);
  }
}

CProfilePathPlot::CProfilePathPlot(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ProfilePathPlot"));
  setMinimumSize(200, 200);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void CProfilePathPlot::SetProfile(const axcfg::CMotionProfile* profile) {
  m_profile = profile;
  m_points.clear();
  if (profile)
    for (const auto& move : profile->Moves())
      for (int i = 0; i <= kPathStepsPerMove; ++i)
        m_points.push_back(move.path.At(static_cast<double>(i) / kPathStepsPerMove));
  update();
}

void CProfilePathPlot::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics fm = p.fontMetrics();
  const QRectF frame(kMargin, kMargin + fm.height(), width() - 2 * kMargin, height() - 2 * kMargin - fm.height());
  p.setPen(Qt::black);
  p.drawText(QPointF(kMargin, kMargin + fm.ascent()), Text(kIdsProfilePath));
  p.drawRect(frame);
  if (!m_profile || m_points.empty()) return;
  Range x{m_points[0][0], m_points[0][0]}, y{m_points[0][1], m_points[0][1]};
  for (const auto& pt : m_points) {
    x.lo = std::min(x.lo, pt[0]);
    x.hi = std::max(x.hi, pt[0]);
    y.lo = std::min(y.lo, pt[1]);
    y.hi = std::max(y.hi, pt[1]);
  }
  x.Widen();
  y.Widen();
  // One scale for both axes, so that circles stay round.
  const QRectF area = frame.adjusted(24, 24, -24, -24);
  const double scale = std::min(area.width() / (x.hi - x.lo), area.height() / (y.hi - y.lo));
  const QPointF origin(area.center().x() - (x.lo + x.hi) / 2 * scale, area.center().y() + (y.lo + y.hi) / 2 * scale);
  const auto toPoint = [&](const axcfg::MotionPoint& pt) { return QPointF(origin.x() + pt[0] * scale, origin.y() - pt[1] * scale); };

  QPainterPath path;
  path.moveTo(toPoint(m_points.front()));
  for (const auto& pt : m_points) path.lineTo(toPoint(pt));
  p.setPen(QPen(ProfileAxisColor(0), 2));
  p.drawPath(path);
  p.setPen(Qt::black);
  p.setBrush(Qt::black);
  for (const auto& move : m_profile->Moves()) {
    const QPointF at = toPoint(move.path.Start());
    p.drawEllipse(at, 3, 3);
    p.drawText(at + QPointF(5, -5), QString::number(move.tableNo));
  }
  const QPointF end = toPoint(m_profile->Moves().back().path.End());
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(end, 5, 5);
  const auto& axes = m_profile->Axes();
  if (axes.size() >= 2) {
    p.drawText(QPointF(frame.right() - 40, frame.bottom() - 4), QStringLiteral("X (%1)").arg(axes[0].axis + 1));
    p.drawText(QPointF(frame.left() + 4, frame.top() + fm.ascent() + 2), QStringLiteral("Y (%1)").arg(axes[1].axis + 1));
  }
}

}  // namespace axcfgui
