// One data monitor cycle and one status monitor cycle of an 8-axis unit over
// the simulation channel (connection server and simulated unit), read one
// value at a time and with neighbouring reads merged: median and worst time
// of many cycles, frames and words per cycle, and what a cycle would take on
// a 9600-baud line. `--delay MS` makes the simulated unit wait that long
// before each answer (30 ms is about the wire time of a frame at 9600 baud).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "axcfg_data/axcfg_strings.h"
#include "axcfg_unit/fixed_destination_library.h"
#include "axcfg_unit/monitor_cycle.h"
#include "axcfg_unit/unit_link.h"

namespace {

class QuietUi : public axcfg::ILinkUi {
 public:
  int CommunicationError(const std::string& text, void*) override { return std::fprintf(stderr, "%s\n", text.c_str()), 2; }
  int MessageBox(const std::string& text, unsigned) override { return std::fprintf(stderr, "%s\n", text.c_str()), 1; }
};

// Characters on the wire per frame (request 19, answer 9 plus 4 per word),
// 10 bits per character at 9600 baud.
double WireMs(int frames, int words) { return (28.0 * frames + 4.0 * words) * 10.0 / 9600.0 * 1000.0; }

template <typename Cycle, typename Snapshot>
bool Run(const char* what, axcfg::CUnitLink& link, const std::vector<axcfg::MonitorAxis>& axes, bool merge, int runs) {
  Cycle cycle(merge);
  Snapshot snap;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    if (int rc = cycle.Read(link, axes, snap)) {
      std::fprintf(stderr, "%s: cycle failed: %s\n", what, link.GetErrorString(rc).c_str());
      return false;
    }
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  const double wire = WireMs(cycle.Frames(), cycle.WordsRead());
  std::printf("%-26s %-9s median %8.3f ms  worst %8.3f ms  frames %3d  words %4d  9600 baud: %6.0f ms/cycle,"
              " refresh every %6.0f ms\n",
              what, merge ? "merged" : "one-by-one", times[times.size() / 2], times.back(), cycle.Frames(),
              cycle.WordsRead(), wire, wire + 200.0);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 200;
  int delay = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--cycles")) runs = std::max(1, std::atoi(argv[i + 1]));
    if (!std::strcmp(argv[i], "--delay")) delay = std::max(0, std::atoi(argv[i + 1]));
  }
  if (!std::getenv("KELD_HOME")) {
    const std::string home = "/tmp/keld-bench-monitor-" + std::to_string(getpid());
    setenv("KELD_HOME", home.c_str(), 1);
  }
  // The connection server this run starts hosts the simulated unit.
  if (delay > 0) setenv("KELD_SIM_FAULTS", ("delay=" + std::to_string(delay)).c_str(), 1);
  axcfg::RegisterAxisCfgDataStrings();
  QuietUi ui;
  axcfg::CUnitLink link("Axis Configurator", axcfg::TavLinkLibrary(), ui);
  if (link.Open(nullptr, false, true, false) != 0) return 1;
  axcfg::CUnitAxisConfig config;
  if (int rc = axcfg::ReadUnitAxisConfig(link, config)) {
    std::fprintf(stderr, "unit configuration: %d\n", rc);
    return 1;
  }
  const auto axes = axcfg::MonitorAxes(config.layout);
  std::printf("%zu axes, %d cycles each%s\n", axes.size(), runs,
              delay ? (", answers delayed " + std::to_string(delay) + " ms").c_str() : "");
  bool ok = true;
  for (bool merge : {false, true}) {
    ok = ok && Run<axcfg::CDataMonitorCycle, axcfg::DataMonitorSnapshot>("data monitor cycle", link, axes, merge, runs);
    ok = ok && Run<axcfg::CStatusMonitorCycle, axcfg::StatusMonitorSnapshot>("status monitor cycle", link, axes, merge,
                                                                              runs);
  }
  link.Close();
  return ok ? 0 : 1;
}
