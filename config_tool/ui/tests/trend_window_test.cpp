// The data monitor's trend offscreen: the time window's zoom and pan rules,
// the plot driven with the mouse and keys, the cursor readout, pausing while
// recording goes on, export and recording to a file, and the monitor
// feeding the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_data/position_units.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/unit_link.h"
#include "data_monitor_dlg.h"
#include "message_box_recorder.h"
#include "monitor_unit.h"
#include "test_home.h"
#include "trend_plot.h"
#include "trend_window.h"

using namespace axcfgui;
using axcfg::TrendValue;

namespace {

constexpr int64_t kStart = 1'700'000'000'000;

// Sample i, 200 ms apart: axis 1 rises 1.0 um per sample (10 in 0.1 um) and
// runs at 100 rpm; axis 2 stands at -5 pulses.
axcfg::TrendSample Sample(int i) {
  axcfg::TrendSample s;
  s.timeMs = kStart + 200LL * i;
  s.axes[0] = {true, axcfg::kUnitUm01, {10 * i, 100, 250, 3}};
  s.axes[1] = {true, axcfg::kUnitPulse, {-5, 0, 0, 0}};
  return s;
}

TEST(TrendTimeWindow, ZoomKeepsItsAnchorAndPanStopsFollowing) {
  CTrendTimeWindow w;
  w.SetSpan(10'000);
  w.Follow(100'000);
  EXPECT_EQ(w.StartMs(), 90'000);
  // Live: zooming keeps the end at the newest sample.
  w.Zoom(0.5, 92'000, 100'000);
  EXPECT_EQ(w.SpanMs(), 5'000);
  EXPECT_EQ(w.EndMs(), 100'000);
  EXPECT_TRUE(w.IsLive());
  // Held: the anchor keeps its place (a fifth from the start here).
  w.Pause();
  w.Zoom(2.0, 96'000, 200'000);
  EXPECT_EQ(w.SpanMs(), 10'000);
  EXPECT_EQ(w.StartMs(), 96'000 - 10'000 / 5);
  w.Follow(120'000);
  EXPECT_EQ(w.EndMs(), 104'000);  // held windows do not follow
  // Zooming out never shows time after the newest sample.
  w.Zoom(2.0, 96'000, 105'000);
  EXPECT_EQ(w.EndMs(), 105'000);
  EXPECT_EQ(w.SpanMs(), 20'000);
  // Panning goes no further than the newest sample and stops following.
  w.Resume(120'000);
  w.Pan(5'000, 120'000);
  EXPECT_EQ(w.EndMs(), 120'000);
  EXPECT_FALSE(w.IsLive());
  w.Pan(-30'000, 120'000);
  EXPECT_EQ(w.EndMs(), 90'000);
  // The length stays between one second and thirty minutes.
  w.Zoom(1e-6, 90'000, 120'000);
  EXPECT_EQ(w.SpanMs(), CTrendTimeWindow::kMinSpanMs);
  w.SetSpan(1LL << 40);
  EXPECT_EQ(w.SpanMs(), CTrendTimeWindow::kMaxSpanMs);
}

struct TrendWindowTest : ::testing::Test {
  keldtest::MessageBoxRecorder boxes;
  axcfg::CTrendRecorder recorder{axcfg::CTrendRecorder::CapacityFor(200)};
  std::vector<axcfg::MonitorAxis> axes{{0, "1 axis"}, {1, "2 axis"}};
  std::unique_ptr<CTrendWindow> window;
  int next = 0;

  void SetUp() override {
    axcfg::RegisterAxisCfgDataStrings();
    axcfg::RegisterMonitorStrings();
    for (; next <= 500; ++next) recorder.Append(Sample(next));  // 100 s
    window = std::make_unique<CTrendWindow>(recorder, axes, nullptr);
    window->show();
    window->SpanBox()->setValue(20);
  }
  CTrendPlot* Plot() { return window->Plot(); }
  void Add(int count) {
    for (int i = 0; i < count; ++i, ++next) {
      recorder.Append(Sample(next));
      window->SampleAdded(recorder.Latest());
    }
  }
  void Wheel(int x, int delta) {
    const QPoint at(x, Plot()->PlotArea().center().y());
    QWheelEvent event(at, Plot()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Plot(), &event);
  }
  int Y() { return Plot()->PlotArea().center().y(); }
};

TEST_F(TrendWindowTest, ShowsTheChosenChannelsOverTheLastSecondsAndFollows) {
  // Every axis's current value is chosen at first.
  ASSERT_EQ(window->ChosenChannels().size(), 2u);
  EXPECT_EQ(Plot()->Strips(), std::vector<TrendValue>{TrendValue::CurrentValue});
  EXPECT_EQ(Plot()->Window().SpanMs(), 20'000);
  EXPECT_EQ(Plot()->Window().EndMs(), kStart + 100'000);
  QImage image(Plot()->size(), QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  Plot()->Paint(painter);
  // The value scale covers what is in view (80 to 100 um for axis 1, -5 pulses for axis 2), with a margin.
  auto [lo, hi] = Plot()->StripRange(TrendValue::CurrentValue);
  EXPECT_LT(lo, -5);
  EXPECT_GT(hi, 500);
  EXPECT_LT(hi, 530);

  window->ChannelBox(0, TrendValue::Speed)->setChecked(true);
  window->ChannelBox(1, TrendValue::CurrentValue)->setChecked(false);
  EXPECT_EQ(Plot()->Strips(), (std::vector<TrendValue>{TrendValue::CurrentValue, TrendValue::Speed}));
  Plot()->Paint(painter);
  std::tie(lo, hi) = Plot()->StripRange(TrendValue::CurrentValue);
  EXPECT_GT(lo, 370);  // axis 2 no longer counts
  EXPECT_LT(lo, 400);

  Add(5);
  EXPECT_EQ(Plot()->Window().EndMs(), kStart + 101'000);
  EXPECT_EQ(window->StateLabel()->text(), "Live");
}

TEST_F(TrendWindowTest, WheelZoomsAroundTheMouseAndDragPans) {
  const QRect area = Plot()->PlotArea();
  // Live: the end stays at the newest sample.
  Wheel(area.left() + area.width() / 4, 120);
  EXPECT_EQ(Plot()->Window().SpanMs(), 16'000);
  EXPECT_EQ(Plot()->Window().EndMs(), kStart + 100'000);

  QTest::mouseClick(window->PauseButton(), Qt::LeftButton);
  EXPECT_FALSE(Plot()->Window().IsLive());
  EXPECT_EQ(window->PauseButton()->text(), "&Resume");
  for (int i = 0; i < 5; ++i) QTest::keyClick(Plot(), Qt::Key_Left);  // 8 s back
  EXPECT_EQ(Plot()->Window().EndMs(), kStart + 92'000);
  const int x = area.left() + area.width() / 4;
  const int64_t before = Plot()->TimeAtX(x);
  Wheel(x, -240);  // out: two steps
  EXPECT_EQ(Plot()->Window().SpanMs(), 25'000);
  EXPECT_EQ(window->SpanBox()->value(), 25);
  EXPECT_NEAR(static_cast<double>(Plot()->TimeAtX(x)), static_cast<double>(before), 50.0);

  // Dragging right by a tenth of the width looks a tenth of the span back.
  const int64_t end = Plot()->Window().EndMs();
  const int dx = area.width() / 10;
  QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(x, Y()));
  QTest::mouseMove(Plot(), QPoint(x + dx, Y()));
  QTest::mouseRelease(Plot(), Qt::LeftButton, {}, QPoint(x + dx, Y()));
  EXPECT_NEAR(static_cast<double>(end - Plot()->Window().EndMs()), 2'500.0 * dx / (area.width() / 10.0), 30.0);
  // Keys: Left looks back a tenth, End goes live again, + zooms in.
  const int64_t panned = Plot()->Window().EndMs();
  QTest::keyClick(Plot(), Qt::Key_Left);
  EXPECT_EQ(Plot()->Window().EndMs(), panned - 2'500);
  EXPECT_FALSE(Plot()->Window().IsLive());
  QTest::keyClick(Plot(), Qt::Key_End);
  EXPECT_TRUE(Plot()->Window().IsLive());
  EXPECT_EQ(Plot()->Window().EndMs(), kStart + 100'000);
  EXPECT_EQ(window->PauseButton()->text(), "&Pause");
  QTest::keyClick(Plot(), Qt::Key_Plus);
  EXPECT_EQ(Plot()->Window().SpanMs(), 12'500);
  for (int i = 0; i < 3; ++i) QTest::keyClick(Plot(), Qt::Key_Plus);
  EXPECT_EQ(Plot()->Window().SpanMs(), 1'563);
  EXPECT_EQ(window->SpanBox()->value(), 10);  // the box's least; the plot goes deeper
  // A length typed in replaces the zoomed one.
  window->SpanBox()->setValue(30);
  EXPECT_EQ(Plot()->Window().SpanMs(), 30'000);
  QTest::keyClick(Plot(), Qt::Key_Home);
  EXPECT_EQ(Plot()->Window().StartMs(), kStart);
}

TEST_F(TrendWindowTest, CursorReadsTheNearestSampleAsTheMonitorShowsIt) {
  window->ChannelBox(1, TrendValue::Torque)->setChecked(true);
  const int x = Plot()->XAtTime(kStart + 90'040);  // nearest sample: No. 450 at 90.0 s
  QTest::mouseMove(Plot(), QPoint(x, Y()));
  const std::vector<std::string> lines = Plot()->Readout();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("Time: 90.000 s  (", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "1 axis Current value after unit conversion: 450.0 um  Min. unit 0.1 um");
  EXPECT_EQ(lines[2], "2 axis Current value after unit conversion: -5 pulse");
  EXPECT_EQ(lines[3], "2 axis Torque command (%): 0.0");
  EXPECT_TRUE(window->ReadoutLabel()->text().contains("450.0 um  Min. unit 0.1 um"));
  // Leaving the plot takes the cursor away.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(Plot(), &leave);
  EXPECT_TRUE(Plot()->Readout().empty());
}

TEST_F(TrendWindowTest, PauseHoldsThePlotWhileRecordingGoesOn) {
  QTest::mouseClick(window->PauseButton(), Qt::LeftButton);
  EXPECT_EQ(window->StateLabel()->text(), "Paused");
  const int64_t end = Plot()->Window().EndMs();
  const uint64_t appended = recorder.Appended();
  Add(25);
  EXPECT_EQ(recorder.Appended(), appended + 25);
  EXPECT_EQ(Plot()->Window().EndMs(), end);
  QTest::mouseClick(window->PauseButton(), Qt::LeftButton);
  EXPECT_EQ(Plot()->Window().EndMs(), kStart + 105'000);
}

TEST_F(TrendWindowTest, ExportWritesTheChosenChannelsOrEveryOne) {
  const std::string dir = keldtest::FreshDir("trend_window_export");
  QString answer = QString::fromStdString(dir + "/chosen.csv");
  window->SetFileChooser([&](const QString&) { return answer; });
  window->ChannelBox(1, TrendValue::CurrentValue)->setChecked(false);
  QTest::mouseClick(window->ExportButton(), Qt::LeftButton);
  std::string text = keldtest::ReadWholeFile(dir + "/chosen.csv");
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Time [s],Clock,1 axis Current value [um]");
  EXPECT_NE(text.find("\r\n100.000,"), std::string::npos);

  window->ChannelBox(0, TrendValue::CurrentValue)->setChecked(false);
  answer = QString::fromStdString(dir + "/all.csv");
  QTest::mouseClick(window->ExportButton(), Qt::LeftButton);
  text = keldtest::ReadWholeFile(dir + "/all.csv");
  EXPECT_EQ(std::count(text.begin(), text.begin() + static_cast<long>(text.find("\r\n")), ','), 9);

  // Cancelled: nothing written, nothing said. A folder that is not there: said.
  answer.clear();
  QTest::mouseClick(window->ExportButton(), Qt::LeftButton);
  EXPECT_TRUE(boxes.boxes.empty());
  answer = QString::fromStdString(dir + "/none/x.csv");
  QTest::mouseClick(window->ExportButton(), Qt::LeftButton);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text.rfind("The file cannot be written.\n", 0), 0u);

  axcfg::CTrendRecorder empty(10);
  CTrendWindow nothing(empty, axes, nullptr);
  nothing.SetFileChooser([&](const QString&) { return answer; });
  QTest::mouseClick(nothing.ExportButton(), Qt::LeftButton);
  EXPECT_EQ(boxes.Texts().back(), "There are no samples to export yet.");
}

TEST_F(TrendWindowTest, RecordToFileWritesEachNewSampleUntilSwitchedOff) {
  const std::string path = keldtest::FreshDir("trend_window_record") + "/rec.csv";
  window->SetFileChooser([&](const QString&) { return QString::fromStdString(path); });
  window->RecordButton()->click();
  ASSERT_TRUE(window->IsRecording());
  EXPECT_TRUE(window->StateLabel()->text().contains(QString::fromStdString("Recording to " + path)));
  Add(3);
  std::string text = keldtest::ReadWholeFile(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  EXPECT_NE(text.find("\r\n100.200,"), std::string::npos);  // times from the monitor's first sample
  window->RecordButton()->click();
  EXPECT_FALSE(window->IsRecording());
  Add(2);
  EXPECT_EQ(keldtest::ReadWholeFile(path), text);

  // A file that cannot be made: said, and the button comes back up.
  window->SetFileChooser([](const QString&) { return QStringLiteral("/nonexistent-dir/rec.csv"); });
  window->RecordButton()->click();
  EXPECT_FALSE(window->IsRecording());
  EXPECT_FALSE(window->RecordButton()->isChecked());
  ASSERT_EQ(boxes.boxes.size(), 1u);

  // Closing the window ends the recording.
  window->SetFileChooser([&](const QString&) { return QString::fromStdString(path); });
  window->RecordButton()->click();
  ASSERT_TRUE(window->IsRecording());
  window->reject();
  EXPECT_FALSE(window->IsRecording());
}

TEST(TrendOfTheMonitor, EveryCycleIsRecordedAndTheOpenWindowFollows) {
  keldtest::MessageBoxRecorder boxes;
  axcfg_test::MonitorUnit unit;
  axcfg_test::RecordingUi ui;
  axcfg::CUnitLink link{"Axis Configurator", unit, ui};
  axcfg::RegisterAxisCfgDataStrings();
  link.Open(nullptr, false, false, false);
  unit.SetConnected(0x03);
  unit.SetRunning(0);
  CDataMonitorDlg dialog(axcfg_test::SingleAxesLayout(2), link, 0, nullptr);
  dialog.SetPeriod(5);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Trend().Size() >= 2; }, 20000));
  EXPECT_EQ(dialog.TrendWindow(), nullptr);  // recorded before the window was opened
  dialog.TrendButton()->click();
  CTrendWindow* trend = dialog.TrendWindow();
  ASSERT_NE(trend, nullptr);
  EXPECT_TRUE(trend->isVisible());
  EXPECT_EQ(trend->ChannelBox(2, TrendValue::CurrentValue), nullptr);  // axis 3 is not monitored
  const size_t seen = dialog.Trend().Size();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Trend().Size() > seen + 2; }, 20000));
  EXPECT_EQ(trend->Plot()->Window().EndMs(), dialog.Trend().Latest().timeMs);
  EXPECT_TRUE(dialog.Trend().Latest().axes[1].present);
  EXPECT_FALSE(dialog.Trend().Latest().axes[2].present);
  dialog.reject();
}

}  // namespace
