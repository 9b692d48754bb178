// The trend of the data monitor on the simulated unit (through a started
// connection server) while two axes JOG, saved as a picture: axis 1 runs
// forward and axis 2 backward, each for about two seconds, with the current
// value and speed of both plotted. Options:
//   --screenshot FILE  where the picture goes (default trend.png)
//   --csv FILE         also records the samples to this CSV file
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cstdio>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "data_monitor_dlg.h"
#include "trend_plot.h"
#include "trend_window.h"
#include "ui_strings.h"

namespace {

class PrintingUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override { return std::fprintf(stderr, "%s\n", text.c_str()), 2; }
  int MessageBox(const std::string& text, unsigned) override { return std::fprintf(stderr, "%s\n", text.c_str()), 1; }
};

bool ServoLocked(axcfg::CUnitLink& link, int axis) {
  uint16_t state = 0;
  return link.Read(0x860 + 0x80u * static_cast<uint32_t>(axis), 1, &state, axcfg::kReportNone) == 0 &&
         (state & 0x0080);
}

// Holds a JOG for `ms`, writing the keep-alive the unit waits for meanwhile.
void Jog(axcfg::CUnitLink& link, int axis, bool forward, int ms) {
  link.StartJog(axis, forward);
  for (int t = 0; t < ms; t += 100) {
    uint8_t status = 0;
    link.KeepAlive(status, true);
    QTest::qWait(100);
  }
  link.StopJog(axis, forward);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  axcfg::RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  const QStringList args = app.arguments();
  auto value = [&](const QString& name, const QString& fallback) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
  };
  PrintingUi ui;
  axcfg::CUnitLink link("Axis Configurator", axcfg::TavLinkLibrary(), ui);
  if (link.Open(nullptr, true, true, false) != 0) return 1;
  axcfg::CUnitAxisConfig config;
  if (axcfg::ReadUnitAxisConfig(link, config) != 0) return 1;

  axcfgui::CDataMonitorDlg monitor(config.layout, link, config.family, nullptr);
  monitor.SetPeriod(50);
  monitor.show();
  axcfgui::CTrendWindow* trend = monitor.ShowTrend();
  trend->SpanBox()->setValue(10);
  for (int axis = 2; axis < axcfg::kAxisCount; ++axis)
    if (QCheckBox* box = trend->ChannelBox(axis, axcfg::TrendValue::CurrentValue)) box->setChecked(false);
  for (int axis = 0; axis < 2; ++axis) trend->ChannelBox(axis, axcfg::TrendValue::Speed)->setChecked(true);
  const QString csv = value("--csv", "");
  if (!csv.isEmpty()) {
    trend->SetFileChooser([csv](const QString&) { return csv; });
    trend->RecordButton()->setChecked(true);
  }

  link.RequestToolMode();
  for (int axis = 0; axis < 2; ++axis) {
    link.WriteCurrentValue(axis, 0);
    link.ServoOnOff(axis, true);
  }
  if (!QTest::qWaitFor([&] { return ServoLocked(link, 0) && ServoLocked(link, 1); }, 5000))
    std::fprintf(stderr, "the servos did not lock\n");
  QTest::qWait(1000);
  Jog(link, 0, true, 2000);
  QTest::qWait(500);
  Jog(link, 1, false, 2000);
  QTest::qWait(1500);
  link.CancelToolMode();

  // The cursor in the middle of axis 2's run.
  axcfgui::CTrendPlot* plot = trend->Plot();
  plot->SetCursorTime(plot->Window().EndMs() - 2500);
  QTest::qWait(200);
  const QString shot = value("--screenshot", "trend.png");
  const bool saved = trend->grab().save(shot);
  std::printf("%s %s\n", saved ? "saved" : "cannot write", qPrintable(shot));
  trend->RecordButton()->setChecked(false);
  monitor.reject();
  link.Close();
  return saved ? 0 : 1;
}
