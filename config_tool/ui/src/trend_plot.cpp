#include "trend_plot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "axcfg_data/fixed_point.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/trend_csv.h"

namespace axcfgui {

using axcfg::TrendChannel;
using axcfg::TrendValue;

namespace {

constexpr int kLeftMargin = 72, kRightMargin = 12, kTopMargin = 6, kBottomMargin = 30, kStripGap = 10;
constexpr double kWheelZoom = 0.8;  // one wheel step in: the window shrinks to 80 %

// The step between grid lines: 1, 2 or 5 times a power of ten, giving at
// most `count` lines over `range`.
double NiceStep(double range, int count) {
  if (!(range > 0) || count < 1) return 1;
  const double raw = range / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw) return m * power;
  return 10 * power;
}

QString NumberText(double value, double step) {
  const int decimals = step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
  return QString::number(std::abs(value) < step / 1e6 ? 0.0 : value, 'f', decimals);
}

// What one pixel column holds of one channel.
struct Column {
  double lo = 0, hi = 0, first = 0, last = 0;
  bool has = false;
};

// Reads one channel's value from samples; the current value's unit is
// checked and its divisor worked out once per unit code, not per sample.
class ValueReader {
 public:
  explicit ValueReader(const TrendChannel& channel) : m_channel(channel) {}
  bool Read(const axcfg::TrendSample& sample, double& y) {
    const axcfg::TrendAxisSample& a = sample.axes[m_channel.axis];
    if (!a.present) return false;
    if (a.unitCode != m_code || !m_known) {
      m_code = a.unitCode;
      m_known = true;
      m_valid = axcfg::TrendHasValue(a, m_channel.value);
      m_divisor = axcfg::TrendDivisor(m_channel.value, a.unitCode);
    }
    if (!m_valid) return false;
    y = a.raw[static_cast<int>(m_channel.value)] / m_divisor;
    return true;
  }

 private:
  TrendChannel m_channel;
  uint16_t m_code = 0;
  bool m_known = false;
  bool m_valid = false;
  double m_divisor = 1;
};

// Draws a channel's pixel columns into `image` (one pixel per column): each
// column a vertical run from its lowest to its highest value, stretched to
// the previous column's last value so that the trace stays connected.
template <typename Y>
void DrawColumns(QImage& image, const std::vector<Column>& columns, QRgb colour, Y yOf) {
  const int height = image.height();
  const int width = image.width();
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  bool previous = false;
  double previousLast = 0;
  for (size_t c = 0; c < columns.size(); ++c) {
    const Column& column = columns[c];
    if (!column.has) {
      previous = false;
      continue;
    }
    double lo = column.lo, hi = column.hi;
    if (previous) {
      lo = std::min(lo, previousLast);
      hi = std::max(hi, previousLast);
    }
    previous = true;
    previousLast = column.last;
    const int x = static_cast<int>(c) - 1;
    if (x < 0 || x >= width) continue;
    const int top = std::clamp(static_cast<int>(std::lround(yOf(hi))), 0, height - 1);
    const int bottom = std::clamp(static_cast<int>(std::lround(yOf(lo))), 0, height - 1);
    for (int y = top; y <= bottom; ++y) reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
  }
}

}  // namespace

QColor TrendAxisColour(int axis) {
  static const QColor kColours[axcfg::kAxisCount] = {
      QColor(0x1f, 0x4e, 0xd8), QColor(0xd6, 0x27, 0x28), QColor(0x1a, 0x8a, 0x2e), QColor(0xe0, 0x7b, 0x00),
      QColor(0x8e, 0x3c, 0xc8), QColor(0x00, 0x93, 0x99), QColor(0x8c, 0x56, 0x3b), QColor(0xd6, 0x3c, 0xa0)};
  return kColours[std::clamp(axis, 0, axcfg::kAxisCount - 1)];
}

// One channel over the window, ready to be scaled: while samples are few,
// polylines broken where the axis has no value; else one column per pixel
// (the first and last hold the samples just outside the window).
struct CTrendPlot::StripData {
  TrendChannel channel;
  std::vector<std::vector<QPointF>> lines;  // x in pixels from the plot's left, y as value
  std::vector<Column> columns;
};

CTrendPlot::CTrendPlot(const axcfg::CTrendRecorder& recorder, std::vector<axcfg::MonitorAxis> axes, QWidget* parent)
    : QWidget(parent), m_recorder(recorder), m_axes(std::move(axes)), m_ranges(axcfg::kTrendValueCount, {0.0, 1.0}) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(320, 200);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTrendPlot::SetChannels(std::vector<TrendChannel> channels) {
  m_channels = std::move(channels);
  update();
  emit cursorMoved();  // the readout lists other channels
}

int64_t CTrendPlot::LatestMs() const { return m_recorder.Empty() ? 0 : m_recorder.Latest().timeMs; }

void CTrendPlot::Refresh() {
  m_window.Follow(LatestMs());
  update();
  if (m_cursor) emit cursorMoved();
}

void CTrendPlot::SetLive(bool live) {
  if (live)
    m_window.Resume(LatestMs());
  else
    m_window.Pause();
  update();
  emit windowChanged();
}

QRect CTrendPlot::PlotArea() const {
  return QRect(kLeftMargin, kTopMargin, std::max(1, width() - kLeftMargin - kRightMargin),
               std::max(1, height() - kTopMargin - kBottomMargin));
}

int64_t CTrendPlot::TimeAtX(int x) const {
  const QRect area = PlotArea();
  return m_window.StartMs() + static_cast<int64_t>(std::llround(static_cast<double>(x - area.left()) *
                                                                 static_cast<double>(m_window.SpanMs()) / area.width()));
}

int CTrendPlot::XAtTime(int64_t timeMs) const {
  const QRect area = PlotArea();
  return area.left() + static_cast<int>(std::llround(static_cast<double>(timeMs - m_window.StartMs()) * area.width() /
                                                      static_cast<double>(m_window.SpanMs())));
}

std::vector<TrendValue> CTrendPlot::Strips() const {
  std::vector<TrendValue> strips;
  for (int v = 0; v < axcfg::kTrendValueCount; ++v)
    for (const TrendChannel& c : m_channels)
      if (static_cast<int>(c.value) == v) {
        strips.push_back(c.value);
        break;
      }
  return strips;
}

std::pair<double, double> CTrendPlot::StripRange(TrendValue value) const { return m_ranges[static_cast<int>(value)]; }

QRect CTrendPlot::StripRect(int index, int count) const {
  const QRect area = PlotArea();
  const int height = std::max(1, (area.height() - kStripGap * (count - 1)) / std::max(1, count));
  return QRect(area.left(), area.top() + index * (height + kStripGap), area.width(), height);
}

void CTrendPlot::SetCursorTime(std::optional<int64_t> timeMs) {
  if (m_cursor == timeMs) return;
  m_cursor = timeMs;
  update();
  emit cursorMoved();
}

std::vector<std::string> CTrendPlot::Readout() const {
  if (!m_cursor || m_recorder.Empty()) return {};
  const axcfg::TrendSample& s = m_recorder.At(m_recorder.Nearest(*m_cursor));
  std::vector<std::string> lines;
  lines.push_back(axcfg::MonitorText(axcfg::kMonTrendTime) + ": " +
                  axcfg::FormatFixed(3, s.timeMs - m_recorder.OriginMs()) + " s  (" + axcfg::TrendClockText(s.timeMs) +
                  ")");
  for (const TrendChannel& c : m_channels)
    lines.push_back(axcfg::TrendAxisLabel(m_axes, c.axis) + " " + axcfg::TrendValueLabel(c.value) + ": " +
                    axcfg::TrendMonitorText(s.axes[c.axis], c.value));
  return lines;
}

void CTrendPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

void CTrendPlot::Paint(QPainter& p) {
  p.fillRect(rect(), palette().base());
  const QRect area = PlotArea();
  const std::vector<TrendValue> strips = Strips();
  const int64_t start = m_window.StartMs(), span = m_window.SpanMs();
  const int width = area.width();
  const QFontMetrics fm(font());

  // The samples in the window, with one more on each side so lines reach the edges.
  size_t first = m_recorder.LowerBound(start);
  size_t last = m_recorder.LowerBound(m_window.EndMs() + 1);  // one past the window
  if (first > 0) --first;
  if (last < m_recorder.Size()) ++last;
  const double pxPerMs = static_cast<double>(width) / static_cast<double>(span);

  // Each channel's lines: every sample while there are no more than pixel
  // columns, else per column the first, lowest, highest and last value. One
  // pass over the samples serves every channel.
  const size_t channelCount = m_channels.size();
  std::vector<StripData> data(channelCount);
  std::vector<ValueReader> readers;
  for (size_t k = 0; k < channelCount; ++k) {
    data[k].channel = m_channels[k];
    readers.emplace_back(m_channels[k]);
  }
  std::vector<std::pair<double, double>> ranges(axcfg::kTrendValueCount, {HUGE_VAL, -HUGE_VAL});
  const bool dense = last - first > static_cast<size_t>(width);
  if (!dense) {
    std::vector<bool> broken(channelCount, true);
    for (size_t i = first; i < last; ++i) {
      const axcfg::TrendSample& s = m_recorder.At(i);
      const double x = static_cast<double>(s.timeMs - start) * pxPerMs;
      for (size_t k = 0; k < channelCount; ++k) {
        double y = 0;
        if (!readers[k].Read(s, y)) {
          broken[k] = true;
          continue;
        }
        if (broken[k]) data[k].lines.emplace_back();
        broken[k] = false;
        data[k].lines.back().emplace_back(x, y);
      }
    }
  } else {
    const size_t stride = static_cast<size_t>(width) + 2;  // the two ends: the samples outside
    std::vector<Column> columns(stride * channelCount);
    for (size_t i = first; i < last; ++i) {
      const axcfg::TrendSample& s = m_recorder.At(i);
      const int64_t col = static_cast<int64_t>(std::floor(static_cast<double>(s.timeMs - start) * pxPerMs));
      const size_t c = static_cast<size_t>(std::clamp<int64_t>(col + 1, 0, width + 1));
      for (size_t k = 0; k < channelCount; ++k) {
        double y = 0;
        if (!readers[k].Read(s, y)) continue;
        Column& column = columns[k * stride + c];
        if (!column.has) {
          column = {y, y, y, y, true};
        } else {
          column.lo = std::min(column.lo, y);
          column.hi = std::max(column.hi, y);
          column.last = y;
        }
      }
    }
    for (size_t k = 0; k < channelCount; ++k)
      data[k].columns.assign(columns.begin() + static_cast<std::ptrdiff_t>(k * stride),
                             columns.begin() + static_cast<std::ptrdiff_t>((k + 1) * stride));
  }
  for (const StripData& d : data) {
    auto& range = ranges[static_cast<int>(d.channel.value)];
    for (const auto& line : d.lines)
      for (const QPointF& pt : line) {
        range.first = std::min(range.first, pt.y());
        range.second = std::max(range.second, pt.y());
      }
    for (const Column& column : d.columns) {
      if (!column.has) continue;
      range.first = std::min(range.first, column.lo);
      range.second = std::max(range.second, column.hi);
    }
  }

  // Value ranges with a margin; a flat line gets room around it.
  for (auto& r : ranges) {
    if (r.first > r.second) {
      r = {0.0, 1.0};
      continue;
    }
    double pad = (r.second - r.first) * 0.05;
    if (pad == 0) pad = std::max(1.0, std::abs(r.first) * 0.05);
    r = {r.first - pad, r.second + pad};
  }
  m_ranges = ranges;

  const QColor gridColour = palette().mid().color();
  const QColor textColour = palette().text().color();
  if (strips.empty()) {
    p.setPen(textColour);
    p.drawRect(area.adjusted(0, 0, -1, -1));
  }
  // Time grid and labels under the last strip.
  const double spanS = static_cast<double>(span) / 1000.0;
  const double tStep = NiceStep(spanS, std::max(2, width / 90));
  const double t0 = static_cast<double>(start - m_recorder.OriginMs()) / 1000.0;
  std::vector<std::pair<int, QString>> timeTicks;
  for (double t = std::ceil(t0 / tStep) * tStep; t <= t0 + spanS + 1e-9; t += tStep)
    timeTicks.emplace_back(area.left() + static_cast<int>(std::lround((t - t0) * 1000.0 * pxPerMs)),
                           NumberText(t, tStep) + " s");

  const int count = static_cast<int>(strips.size());
  for (int si = 0; si < count; ++si) {
    const TrendValue value = strips[si];
    const QRect r = StripRect(si, count);
    const auto [lo, hi] = ranges[static_cast<int>(value)];
    auto yOf = [&](double v) { return r.bottom() - (v - lo) * (r.height() - 1) / (hi - lo); };

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(gridColour, 0, Qt::DotLine));
    for (const auto& [x, text] : timeTicks) p.drawLine(x, r.top(), x, r.bottom());
    const double vStep = NiceStep(hi - lo, std::max(2, r.height() / 40));
    for (double v = std::ceil(lo / vStep) * vStep; v <= hi; v += vStep) {
      const int y = static_cast<int>(std::lround(yOf(v)));
      p.setPen(QPen(gridColour, 0, Qt::DotLine));
      p.drawLine(r.left(), y, r.right(), y);
      p.setPen(textColour);
      const QString text = NumberText(v, vStep);
      p.drawText(QRect(0, y - fm.height() / 2, kLeftMargin - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter, text);
    }
    p.setPen(textColour);
    p.drawRect(r.adjusted(0, 0, -1, -1));

    // The lines, clipped to the strip.
    p.save();
    p.setClipRect(r.adjusted(1, 1, -1, -1));
    QImage runs;
    for (const StripData& d : data) {
      if (d.channel.value != value) continue;
      if (!d.columns.empty()) {
        if (runs.isNull()) {
          runs = QImage(r.size(), QImage::Format_ARGB32_Premultiplied);
          runs.fill(Qt::transparent);
        }
        DrawColumns(runs, d.columns, TrendAxisColour(d.channel.axis).rgba(),
                    [&](double v) { return yOf(v) - r.top(); });
        continue;
      }
      p.setPen(QPen(TrendAxisColour(d.channel.axis), 0));
      for (const auto& line : d.lines) {
        QPolygonF poly;
        poly.reserve(static_cast<qsizetype>(line.size()));
        for (const QPointF& pt : line) poly.append(QPointF(area.left() + pt.x(), yOf(pt.y())));
        if (poly.size() == 1)
          p.drawPoint(poly.front());
        else
          p.drawPolyline(poly);
      }
    }
    if (!runs.isNull()) p.drawImage(r.topLeft(), runs);
    p.restore();
    // The strip's name, over its lines, and the units of its channels.
    std::vector<std::string> units;
    for (const TrendChannel& c : m_channels) {
      if (c.value != value) continue;
      uint16_t code = 0;
      if (!m_recorder.Empty()) code = m_recorder.Latest().axes[c.axis].unitCode;
      const std::string unit = axcfg::TrendUnitText(value, code);
      if (std::find(units.begin(), units.end(), unit) == units.end()) units.push_back(unit);
    }
    std::string title = axcfg::TrendValueName(value) + " [";
    for (size_t i = 0; i < units.size(); ++i) title += (i ? ", " : "") + units[i];
    title += "]";
    const QString titleText = QString::fromStdString(title);
    const QRect titleRect(r.left() + 4, r.top() + 2, fm.horizontalAdvance(titleText) + 8, fm.height());
    p.fillRect(titleRect, palette().base());
    p.drawText(titleRect, Qt::AlignCenter, titleText);
  }
  // Time labels under the plot.
  p.setPen(textColour);
  for (const auto& [x, text] : timeTicks) {
    const int w = fm.horizontalAdvance(text);
    p.drawText(QRect(x - w / 2 - 2, area.bottom() + 6, w + 4, fm.height()), Qt::AlignCenter, text);
  }
  // The cursor and, on each line, the value it reads.
  if (m_cursor && !m_recorder.Empty() && count > 0) {
    const axcfg::TrendSample& s = m_recorder.At(m_recorder.Nearest(*m_cursor));
    const int x = XAtTime(s.timeMs);
    if (x >= area.left() && x <= area.right()) {
      p.setPen(QPen(textColour, 0, Qt::DashLine));
      p.drawLine(x, area.top(), x, area.bottom());
      p.setRenderHint(QPainter::Antialiasing, true);
      for (int si = 0; si < count; ++si) {
        const QRect r = StripRect(si, count);
        const auto [lo, hi] = ranges[static_cast<int>(strips[si])];
        for (const TrendChannel& c : m_channels) {
          if (c.value != strips[si] || !axcfg::TrendHasValue(s.axes[c.axis], c.value)) continue;
          const double y = r.bottom() - (axcfg::TrendNumber(s.axes[c.axis], c.value) - lo) * (r.height() - 1) / (hi - lo);
          p.setPen(QPen(TrendAxisColour(c.axis), 1.5));
          p.drawEllipse(QPointF(x, y), 3, 3);
        }
      }
    }
  }
}

void CTrendPlot::ZoomAt(double factor, int64_t anchorMs) {
  m_window.Zoom(factor, anchorMs, LatestMs());
  update();
  emit windowChanged();
  if (m_cursor) emit cursorMoved();
}

void CTrendPlot::PanBy(int64_t deltaMs) {
  m_window.Pan(deltaMs, LatestMs());
  update();
  emit windowChanged();
  if (m_cursor) emit cursorMoved();
}

void CTrendPlot::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) return;
  ZoomAt(std::pow(kWheelZoom, steps), TimeAtX(static_cast<int>(event->position().x())));
  event->accept();
}

void CTrendPlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setFocus();
  m_dragging = true;
  m_dragX = static_cast<int>(event->position().x());
  m_dragEnd = m_window.EndMs();
}

void CTrendPlot::mouseMoveEvent(QMouseEvent* event) {
  const int x = static_cast<int>(event->position().x());
  if (m_dragging && (event->buttons() & Qt::LeftButton) && x != m_dragX) {
    const double msPerPx = static_cast<double>(m_window.SpanMs()) / PlotArea().width();
    const int64_t wanted = m_dragEnd - static_cast<int64_t>(std::llround((x - m_dragX) * msPerPx));
    PanBy(wanted - m_window.EndMs());
  }
  const QRect area = PlotArea();
  if (x >= area.left() && x <= area.right())
    SetCursorTime(TimeAtX(x));
  else
    SetCursorTime(std::nullopt);
}

void CTrendPlot::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
  QWidget::mouseReleaseEvent(event);
}

void CTrendPlot::leaveEvent(QEvent* event) {
  SetCursorTime(std::nullopt);
  QWidget::leaveEvent(event);
}

void CTrendPlot::keyPressEvent(QKeyEvent* event) {
  const int64_t centre = m_window.EndMs() - m_window.SpanMs() / 2;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: ZoomAt(0.5, m_cursor.value_or(centre)); break;
    case Qt::Key_Minus: ZoomAt(2.0, m_cursor.value_or(centre)); break;
    case Qt::Key_Left: PanBy(-m_window.SpanMs() / 10); break;
    case Qt::Key_Right: PanBy(m_window.SpanMs() / 10); break;
    case Qt::Key_Home:
      if (!m_recorder.Empty()) PanBy(m_recorder.At(0).timeMs + m_window.SpanMs() - m_window.EndMs());
      break;
    case Qt::Key_End: SetLive(true); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace axcfgui
