// Update of the data monitor's trend plot: 8 axes x 4 channels over a full
// ring of 9,000 samples (30 minutes at 200 ms), one new sample appended and
// the whole plot drawn into a 1200 x 800 picture, as each monitor cycle does.
// Measured with all 30 minutes in view and with the last 60 seconds, as
// elapsed time and as the processor time the drawing thread used.
// Built with Qt Charts present, it also times the same update done with a
// chart view (32 line series replaced and the view rendered), with every
// sample and with the samples reduced to each pixel column's lowest and
// highest value, which is how the choice of drawing library was made
// (`--no-charts` leaves that out). `--screenshot FILE` saves the 30-minute
// picture.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/monitor_strings.h"
#include "bench_timing.h"
#include "trend_plot.h"

#ifdef KELD_BENCH_WITH_CHARTS
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#endif

namespace {

constexpr int kSamples = 9000, kWidth = 1200, kHeight = 800;

axcfg::TrendSample MakeSample(int i) {
  axcfg::TrendSample s;
  s.timeMs = 1'700'000'000'000 + 200LL * i;
  for (int a = 0; a < axcfg::kAxisCount; ++a) {
    auto& x = s.axes[a];
    x.present = true;
    x.unitCode = 0x0100;
    x.raw = {static_cast<int32_t>(100000 * std::sin(i * 0.003 + a)), static_cast<int32_t>(3000 * std::cos(i * 0.01 + a)),
             static_cast<int32_t>(i % 700 - 350), static_cast<int32_t>(i % 50 - 25 + a)};
  }
  return s;
}

#ifdef KELD_BENCH_WITH_CHARTS
void ChartsBench(const axcfg::CTrendRecorder& recorder) {
  auto* chart = new QChart;
  auto* ax = new QValueAxis;
  auto* ay = new QValueAxis;
  chart->addAxis(ax, Qt::AlignBottom);
  chart->addAxis(ay, Qt::AlignLeft);
  std::vector<QLineSeries*> series;
  for (int c = 0; c < 32; ++c) {
    auto* line = new QLineSeries;
    chart->addSeries(line);
    line->attachAxis(ax);
    line->attachAxis(ay);
    series.push_back(line);
  }
  QChartView view(chart);
  view.resize(kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (bool reduced : {false, true}) {
    const auto t = bench::MeasureMs(reduced ? 15 : 5, [&] {
      for (int c = 0; c < 32; ++c) {
        const auto value = static_cast<axcfg::TrendValue>(c % 4);
        QList<QPointF> points;
        const int columns = reduced ? kWidth : kSamples;
        for (int k = 0; k < columns; ++k) {
          const size_t a = static_cast<size_t>(k) * recorder.Size() / columns;
          const size_t b = std::max(a + 1, static_cast<size_t>(k + 1) * recorder.Size() / columns);
          double lo = HUGE_VAL, hi = -HUGE_VAL;
          for (size_t i = a; i < b; ++i) {
            const double y = axcfg::TrendNumber(recorder.At(i).axes[c / 4], value);
            lo = std::min(lo, y);
            hi = std::max(hi, y);
          }
          const double x = static_cast<double>(recorder.At(a).timeMs - recorder.OriginMs()) / 1000.0;
          points.append(QPointF(x, lo));
          if (reduced) points.append(QPointF(x, hi));
        }
        series[static_cast<size_t>(c)]->replace(points);
      }
      ax->setRange(0, kSamples * 0.2);
      ay->setRange(-100000, 100000);
      QPainter painter(&image);
      view.render(&painter);
    });
    bench::Print(reduced ? "Qt Charts, reduced" : "Qt Charts, every point", t);
  }
}
#endif

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  axcfg::RegisterAxisCfgDataStrings();
  axcfg::RegisterMonitorStrings();
  axcfg::CTrendRecorder recorder(axcfg::CTrendRecorder::CapacityFor(200));
  for (int i = 0; i < kSamples; ++i) recorder.Append(MakeSample(i));
  std::vector<axcfg::MonitorAxis> axes;
  std::vector<axcfg::TrendChannel> channels;
  for (int a = 0; a < axcfg::kAxisCount; ++a) {
    axes.push_back({a, std::to_string(a + 1) + " axis"});
    for (int v = 0; v < axcfg::kTrendValueCount; ++v) channels.push_back({a, static_cast<axcfg::TrendValue>(v)});
  }
  axcfgui::CTrendPlot plot(recorder, axes);
  plot.resize(kWidth, kHeight);
  plot.SetChannels(channels);
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  int next = kSamples;
  std::printf("trend plot %d x %d, %zu channels, %zu samples in the ring\n", kWidth, kHeight, channels.size(),
              recorder.Size());
  for (int seconds : {30 * 60, 60}) {
    plot.Window().SetSpan(seconds * 1000LL);
    auto update = [&] {
      recorder.Append(MakeSample(next++));
      plot.Refresh();
      QPainter painter(&image);
      plot.Paint(painter);
    };
    const auto t = bench::MeasureMs(60, update);
    bench::Print(seconds == 60 ? "QPainter, last 60 s" : "QPainter, 30 min", t);
    const int at = app.arguments().indexOf("--screenshot");
    if (at > 0 && at + 1 < app.arguments().size() && seconds != 60) image.save(app.arguments()[at + 1]);
    const auto cpu = bench::MeasureCpuMs(60, update);
    bench::Print("  processor time", cpu);
  }
#ifdef KELD_BENCH_WITH_CHARTS
  if (!app.arguments().contains("--no-charts")) ChartsBench(recorder);
#else
  std::printf("(Qt Charts not installed: the chart view comparison is left out)\n");
#endif
  return 0;
}
