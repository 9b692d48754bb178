// The JOG window monitoring 8 axes of the simulated unit while an axis is
// held: the JOG button is pressed and held several times, each while the
// window's monitor cycle and its keep-alive worker share the link. Prints
//   keep-alive gap     the longest and the median time between two
//                      keep-alive writes while a button is held
//   release to stop    from the mouse-up to the StopJog write leaving the tool
//   monitor period     the time between two drawn monitor cycles
// Options: --holds N (default 5), --hold-ms T (default 3000), --delay MS
// (the simulated unit waits that long before each answer; 30 ms is about a
// frame's wire time at 9600 baud).
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/tool_timer_settings.h"
#include "axcfg_unit/unit_addresses.h"
#include "axcfg_unit/unit_axis_config.h"
#include "axcfg_unit/unit_link.h"
#include "platform/message_box.h"
#include "tavinter/connection_record.h"
#include "tool_opr_grid.h"
#include "tool_opr_wnd.h"
#include "ui_strings.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace ua = axcfg::unitaddr;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::array<uint8_t, axcfg::kLinkContextSize> SimulationDestination() {
  std::array<uint8_t, axcfg::kLinkContextSize> dest{};
  tavinter::CConnectionRecord r(dest.data());
  r.SetKind(tavinter::kKindSimulation);
  r.SetTimeout(3);
  return dest;
}

// The simulation channel, with the time of each keep-alive write and of each
// write that clears a JOG bit.
class TimingLibrary : public axcfg::CFixedDestinationLibrary {
 public:
  TimingLibrary() : CFixedDestinationLibrary(SimulationDestination()) {}
  int WriteWords(uint8_t* c, int st, int slot, long a, long n, const uint16_t* w) override {
    const int rc = CFixedDestinationLibrary::WriteWords(c, st, slot, a, n, w);
    const auto now = Clock::now();
    std::lock_guard lock(mutex);
    if (rc == 0 && a == ua::kKeepAlive / 2 && w[0] == ua::kAlive) keepAlive.push_back(now);
    if (rc == 0 && a == ua::RequestBits(0) / 2 && !(w[0] & (ua::kBitJogForward | ua::kBitJogBackward)))
      jogCleared.push_back(now);
    return rc;
  }
  std::mutex mutex;
  std::vector<Clock::time_point> keepAlive, jogCleared;
};

class QuietUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override { return std::fprintf(stderr, "%s\n", text.c_str()), 2; }
  int MessageBox(const std::string& text, unsigned) override { return std::fprintf(stderr, "%s\n", text.c_str()), 1; }
};

struct Figures {
  std::vector<double> values;
  void Add(double v) { values.push_back(v); }
  double Median() { return values.empty() ? 0 : (std::sort(values.begin(), values.end()), values[values.size() / 2]); }
  double Worst() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

int Option(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (!std::strcmp(argv[i], name)) return std::max(0, std::atoi(argv[i + 1]));
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int holds = std::max(1, Option(argc, argv, "--holds", 5));
  const int holdMs = std::max(200, Option(argc, argv, "--hold-ms", 3000));
  const int delay = Option(argc, argv, "--delay", 0);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("KELD_HOME")) setenv("KELD_HOME", ("/tmp/keld-bench-keepalive-" + std::to_string(getpid())).c_str(), 1);
  // The connection server this run starts hosts the simulated unit.
  if (delay > 0) setenv("KELD_SIM_FAULTS", ("delay=" + std::to_string(delay)).c_str(), 1);
  QApplication app(argc, argv);
  axcfg::RegisterAxisCfgDataStrings();
  axcfgui::RegisterAxisCfgUiStrings();
  axcfg::RegisterToolOprStrings();
  platform::SetMessageBoxHandler([](const platform::MessageBoxRequest& r) {
    std::fprintf(stderr, "message: %s\n", r.text.c_str());
    return platform::IDOK;
  });

  TimingLibrary library;
  QuietUi ui;
  axcfg::CUnitLink link("Axis Configurator", library, ui);
  if (link.Open(nullptr, false, true, false) != 0) return 1;
  axcfg::CUnitAxisConfig config;
  if (axcfg::ReadUnitAxisConfig(link, config) != 0) return 1;
  if (link.WriteToolTimeout(2) != 0 || link.RequestToolMode() != 0 || link.ServoOnOff(0, true) != 0) return 1;
  // A JOG starts only once the unit has taken the servo request.
  if (!QTest::qWaitFor([&] {
        uint16_t state = 0;
        return link.Read(ua::MonitorState(0), 1, &state, axcfg::kReportNone) == 0 && (state & ua::kMonStateServoOn);
      }, 20000))
    return std::fprintf(stderr, "servo did not come on\n"), 1;

  axcfgui::CJogWnd wnd(config.layout, link, config.family, nullptr, nullptr);
  wnd.show();
  if (!wnd.Start() || !QTest::qWaitFor([&] { return wnd.DrawnCycles() >= 2; }, 20000))
    return std::fprintf(stderr, "the window did not start\n"), 1;
  std::printf("%zu axes monitored, %d holds of %d ms%s\n", axcfg::MonitorAxes(config.layout).size(), holds, holdMs,
              delay ? (", answers delayed " + std::to_string(delay) + " ms").c_str() : "");

  const axcfg::ToolTimerSettings timers = axcfg::LoadToolTimerSettings(axcfg::ToolTimerSettingsPath());
  Figures gaps, releases, periods;
  double longestGap = 0;
  for (int h = 0; h < holds; ++h) {
    // Alternate directions so the axis stays near where it started.
    const int row = wnd.RowOf(h % 2 ? axcfg::ToolButton::kJogMinus : axcfg::ToolButton::kJogPlus);
    QPushButton* button = wnd.ToolGrid()->Button(row, 0);
    const int drawnBefore = wnd.DrawnCycles();
    const auto pressed = Clock::now();
    QTest::mousePress(button, Qt::LeftButton);
    QTest::qWait(holdMs);
    const int drawn = wnd.DrawnCycles() - drawnBefore;
    if (drawn > 0) periods.Add(Ms(Clock::now() - pressed) / drawn);
    size_t cleared = 0;
    {
      std::lock_guard lock(library.mutex);
      cleared = library.jogCleared.size();
    }
    const auto released = Clock::now();
    QTest::mouseRelease(button, Qt::LeftButton);
    {
      // Held only while reading: the workers record under it.
      std::lock_guard lock(library.mutex);
      if (library.jogCleared.size() == cleared) return std::fprintf(stderr, "no StopJog after the release\n"), 1;
      releases.Add(Ms(library.jogCleared[cleared] - released));
      // Gaps between keep-alive writes while the button was held.
      Clock::time_point last{};
      for (const auto& t : library.keepAlive) {
        if (t < pressed || t > released) continue;
        if (last != Clock::time_point{}) {
          gaps.Add(Ms(t - last));
          longestGap = std::max(longestGap, Ms(t - last));
        }
        last = t;
      }
    }
    if (!QTest::qWaitFor([&] { return !wnd.Shown().IsBusy(0); }, 20000))
      return std::fprintf(stderr, "the axis did not stop\n"), 1;
  }
  std::printf("keep-alive gap      median %8.1f ms  longest %8.1f ms  (%zu gaps, WatchTimerInterval %d ms)\n",
              gaps.Median(), longestGap, gaps.values.size(), timers.watchMs);
  std::printf("release to StopJog  median %8.1f ms  worst   %8.1f ms\n", releases.Median(), releases.Worst());
  std::printf("monitor period      median %8.1f ms  worst   %8.1f ms  (MonitorTimerInterval %d ms)\n",
              periods.Median(), periods.Worst(), timers.monitorMs);
  wnd.reject();
  link.ServoOnOff(0, false);
  link.CancelToolMode();
  link.Close();
  return 0;
}
