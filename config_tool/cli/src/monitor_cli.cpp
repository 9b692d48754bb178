// axcfg monitor: the data monitor's (or the status monitor's) read cycle run
// K times against the connected unit, one JSON line per cycle, from the same
// cycles and cell texts the windows draw.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "axcfg_data/unit_types.h"
#include "axcfg_unit/monitor_cells.h"
#include "axcfg_unit/monitor_cycle.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/trend_csv.h"
#include "json_line.h"
#include "unit_session.h"

namespace axcfg::cli {

namespace {

constexpr const char* kName = "monitor";
volatile std::sig_atomic_t g_stop = 0;

void OnStopSignal(int) { g_stop = 1; }

struct MonitorOptions {
  bool status = false;
  bool csv = false;  // the trend's CSV rows instead of JSON lines
  std::set<int> axes;  // axis numbers 1..8; empty: every used axis
  long long count = 1;
  long long interval = 200;
  UnitOptions unit;
};

bool ParseAxisList(const std::string& text, std::set<int>& axes) {
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    long long n = 0;
    if (!ParseNumber(part, n) || n < 1 || n > 8) return false;
    axes.insert(static_cast<int>(n));
  }
  return !axes.empty();
}

int ParseMonitorOptions(const Args& args, MonitorOptions& o) {
  std::set<std::string> withValue = UnitValueOptions();
  withValue.insert({"--axis", "--count", "--interval"});
  ParsedArgs a;
  if (int rc = ParseArgs(kName, args, withValue, {"--status", "--csv"}, a); rc != kExitOk) return rc;
  o.status = a.Has("--status");
  o.csv = a.Has("--csv");
  if (o.status && o.csv) return UsageError(kName, "--csv shows the data monitor's values; it does not go with --status");
  if (a.values.count("--axis") && !ParseAxisList(a.values["--axis"], o.axes))
    return UsageError(kName, "--axis takes axis numbers 1 to 8, separated by commas");
  if (a.values.count("--count") && (!ParseNumber(a.values["--count"], o.count) || o.count < 0))
    return UsageError(kName, "--count takes 0 or more");
  if (a.values.count("--interval") &&
      (!ParseNumber(a.values["--interval"], o.interval) || o.interval < 0 || o.interval > 60000))
    return UsageError(kName, "--interval takes 0 to 60000 ms");
  int exitCode = kExitOk;
  if (!TakeUnitOptions(kName, a, o.unit, exitCode)) return exitCode;
  if (!o.unit.rest.empty()) return UsageError(kName, "unexpected argument \"" + o.unit.rest[0] + "\"");
  return kExitOk;
}

// Each row's label and the text the window draws, without the alignment
// blank; spacer, button and heading rows are left out.
void Cells(CJsonLine& json, const std::vector<MonitorRow>& rows, const std::vector<MonitorCell>& cells) {
  json.Key("cells").Open('{');
  for (size_t r = 0; r < rows.size() && r < cells.size(); ++r)
    if (rows[r].kind == RowKind::Value) json.Field(rows[r].label, cells[r].text);
  json.Close('}');
}

std::string DataLine(long long cycle, const CUnitAxisConfig& unit, const std::vector<MonitorAxis>& axes,
                     const DataMonitorSnapshot& s) {
  const auto rows = DataMonitorRows(unit.family);
  CJsonLine json;
  json.Open('{').Field("cycle", cycle).Field("model", unit.modelCode).Field("family", unit.family);
  json.Key("sync").Open('[');
  for (const SyncGroupState& g : s.sync) {
    json.Open('{').Field("mode", g.mode).Field("master", g.master).Field("slave", g.slave);
    json.Field("condition", g.condition).Close('}');
  }
  json.Close(']').Key("axes").Open('[');
  for (const MonitorAxis& a : axes) {
    const DataAxisValues& v = s.axes[a.axis];
    json.Open('{').Field("axis", a.axis + 1).Field("label", a.label).Field("connected", s.IsConnected(a.axis));
    json.Field("busy", s.IsBusy(a.axis)).Field("error", s.HasError(a.axis)).Field("warning", s.HasWarning(a.axis));
    json.Field("unitCode", v.unitCode).Field("currentPulse", v.currentPulse).Field("currentValue", v.currentValue);
    json.Field("torque", v.torque).Field("speed", v.speed).Field("activeTable", v.activeTable);
    json.Field("auxCode", v.auxCode).Field("pulseInput", v.pulseInput).Field("deviation", v.deviation);
    json.Field("errorCode", v.errorCode).Field("warningCode", v.warningCode);
    Cells(json, rows, DataMonitorCells(s, unit.family, a));
    json.Close('}');
  }
  json.Close(']').Close('}');
  return json.Text();
}

std::string StatusLine(long long cycle, const std::vector<MonitorAxis>& axes, const StatusMonitorSnapshot& s) {
  const auto rows = StatusMonitorRows();
  CJsonLine json;
  json.Open('{').Field("cycle", cycle).Field("model", s.modelCode).Field("fromWrites", s.fromWrites);
  json.Field("firmware", s.firmware).Field("hardware", s.hardware);
  json.Key("cells").Open('{');
  for (const MonitorLine& line : StatusMonitorUnitLines(s)) json.Field(line.label, line.text);
  json.Close('}').Key("axes").Open('[');
  for (const MonitorAxis& a : axes) {
    json.Open('{').Field("axis", a.axis + 1).Field("label", a.label).Field("flags", s.axes[a.axis].flags);
    json.Field("homeInput", s.IsHomeOn(a.axis));
    Cells(json, rows, StatusMonitorCells(s, a));
    json.Close('}');
  }
  json.Close(']').Close('}');
  return json.Text();
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Waits up to ms, returning early when a stop signal came.
void Pause(long long ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!g_stop && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::min(std::chrono::milliseconds(20),
                                         std::chrono::duration_cast<std::chrono::milliseconds>(
                                             end - std::chrono::steady_clock::now() + std::chrono::milliseconds(1))));
}

int Monitor(const Args& args) {
  MonitorOptions o;
  if (int rc = ParseMonitorOptions(args, o); rc != kExitOk) return rc;
  OpenLink l;
  CUnitAxisConfig unit;
  if (int rc = ConnectToUnitAxes(kName, o.unit, l, unit); rc != kExitOk) return rc;
  std::vector<MonitorAxis> axes;
  for (const MonitorAxis& a : MonitorAxes(unit.layout))
    if (o.axes.empty() || o.axes.count(a.axis + 1)) axes.push_back(a);
  for (int n : o.axes) {
    if (!unit.layout.IsAxisUsed(n - 1)) {
      l.link->Close();
      return UsageError(kName, "the unit does not use axis " + std::to_string(n));
    }
  }

  g_stop = 0;
  OnStopSignals(OnStopSignal);
  CDataMonitorCycle dataCycle;
  CStatusMonitorCycle statusCycle;
  DataMonitorSnapshot data;
  StatusMonitorSnapshot status;
  std::unique_ptr<CTrendCsvStream> csv;
  if (o.csv) {
    std::vector<TrendChannel> channels;
    for (const MonitorAxis& a : axes)
      for (int v = 0; v < kTrendValueCount; ++v) channels.push_back({a.axis, static_cast<TrendValue>(v)});
    csv = std::make_unique<CTrendCsvStream>(CTrendCsvColumns(channels, axes), CTrendCsvStream::kFromFirstSample);
    csv->Attach(stdout);
  }
  for (long long cycle = 1; !g_stop && (o.count == 0 || cycle <= o.count); ++cycle) {
    if (cycle > 1) {
      Pause(o.interval);
      if (g_stop) break;
    }
    const int64_t readStart = NowMs();
    const int read = o.status ? statusCycle.Read(*l.link, axes, status) : dataCycle.Read(*l.link, axes, data);
    const int64_t readAt = readStart + (NowMs() - readStart) / 2;  // when the values were read
    if (read != 0) {
      std::fprintf(stderr, "%s%s\n", MonitorText(kMonStopMonitoring).c_str(), l.link->GetErrorString(read).c_str());
      l.link->Close();
      return kExitCommunication;
    }
    if (csv) {
      if (!csv->Write(TrendSampleOf(data, axes, readAt))) {
        std::fprintf(stderr, "axcfg monitor: cannot write the output: %s\n", csv->Error().c_str());
        l.link->Close();
        return kExitFile;
      }
      continue;
    }
    const std::string line = o.status ? StatusLine(cycle, axes, status) : DataLine(cycle, unit, axes, data);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  l.link->Close();
  return kExitOk;
}

}  // namespace

const std::vector<Command>& MonitorCommands() {
  static const std::string help =
      std::string(
          "Usage: axcfg monitor [--status | --csv] [--axis N[,N...]] [--count K] [--interval MS] [options]\n"
          "Reads the unit's axis layout and model, then runs the data monitor's read cycle (the status\n"
          "monitor's with --status) K times and prints one JSON line per cycle.\n"
          "  --status       the status monitor's values instead of the data monitor's\n"
          "  --csv          the trend's samples as CSV instead: a header line, then one line per cycle with\n"
          "                 the time, the clock and the current value, speed, torque and deviation of each axis\n"
          "  --axis N,...   only these axes (each must be used by the unit); always in axis order\n"
          "  --count K      cycles to run (default 1; 0 runs until SIGINT or SIGTERM)\n"
          "  --interval MS  pause between the end of one cycle and the next, 0 to 60000 (default 200)\n") +
      kDestHelp + "Exit code 5: the unit's axis layout words break the layout rules. Exit code 3 with --csv: the\n"
      "output cannot be written.\n";
  static const std::vector<Command> commands = {
      {"monitor", "watch the unit's axes as the monitor windows do, as JSON or CSV lines", help.c_str(), Monitor},
  };
  return commands;
}

}  // namespace axcfg::cli
