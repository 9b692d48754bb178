// axcfg tool: one button of tool operation from a script. The command enters
// tool operation mode, runs the action through the same controller as the
// windows, keeps a started movement alive until the unit's axes stand, leaves
// tool operation mode again and prints the axis as the window shows it.
#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <unistd.h>

#include "axcfg_data/axcfg_doc.h"
#include "axcfg_data/document_file.h"
#include "axcfg_unit/keep_alive.h"
#include "axcfg_unit/monitor_strings.h"
#include "axcfg_unit/tool_opr_cells.h"
#include "axcfg_unit/tool_opr_controller.h"
#include "axcfg_unit/tool_opr_strings.h"
#include "axcfg_unit/tool_timer_settings.h"
#include "axcfg_unit/unit_addresses.h"
#include "file_support.h"
#include "json_line.h"
#include "platform/message_box.h"
#include "unit_session.h"

namespace axcfg::cli {

namespace {

constexpr const char* kName = "tool";
constexpr int kExitReleased = 6;
constexpr int kExitNotFinished = 7;

volatile std::sig_atomic_t g_stop = 0;
void OnStopSignal(int) { g_stop = 1; }

struct ToolOptions {
  std::string action;
  std::string argument;  // on|off, plus|minus, error|warning, the value V or FILE
  int axis = 0;          // index 0..7
  int timeout = 0;       // seconds; 0: the tool's setting
  bool restart = false;
  long long waitMs = 60000;
  long long holdMs = 0;  // jog
  long long table = 0;   // position (0: none) and teach
  UnitOptions unit;
};

// Actions, with what follows them and the window whose rows they print.
struct ActionInfo {
  const char* name;
  const char* argument;  // nullptr: none; otherwise its name in messages
  ToolOprWindow window;
};

constexpr ActionInfo kActions[] = {
    {"servo", "on|off", ToolOprWindow::kJog},
    {"jog", "plus|minus", ToolOprWindow::kJog},
    {"home", nullptr, ToolOprWindow::kHoming},
    {"position", nullptr, ToolOprWindow::kPositioning},
    {"stop", nullptr, ToolOprWindow::kJog},
    {"current-value", "V", ToolOprWindow::kJog},
    {"origin", "V", ToolOprWindow::kHoming},
    {"jog-speed", "V", ToolOprWindow::kJog},
    {"speed-rate", "P", ToolOprWindow::kJog},
    {"clear", "error|warning", ToolOprWindow::kJog},
    {"sync", nullptr, ToolOprWindow::kJog},
    {"teach", "FILE", ToolOprWindow::kTeaching},
};

const ActionInfo* FindAction(const std::string& name) {
  for (const ActionInfo& a : kActions)
    if (name == a.name) return &a;
  return nullptr;
}

bool IsNegativeNumber(const std::string& text) {
  return text.size() > 1 && text[0] == '-' && (std::isdigit(static_cast<unsigned char>(text[1])) || text[1] == '.');
}

bool OneOf(const std::string& text, const char* a, const char* b) { return text == a || text == b; }

int ParseToolOptions(const Args& args, ToolOptions& o) {
  std::set<std::string> withValue = UnitValueOptions();
  withValue.insert({"--axis", "--timeout", "--wait", "--ms", "--table"});
  // A "-" followed by a digit is a value, not an option (unless it is the
  // value of an option), so that negative positions can be given.
  Args options;
  std::vector<std::string> negatives;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool optionValue = i > 0 && withValue.count(args[i - 1]) != 0;
    if (!optionValue && IsNegativeNumber(args[i])) negatives.push_back(args[i]);
    else options.push_back(args[i]);
  }
  ParsedArgs a;
  if (int rc = ParseArgs(kName, options, withValue, {"--restart"}, a); rc != kExitOk) return rc;
  int exitCode = kExitOk;
  if (!TakeUnitOptions(kName, a, o.unit, exitCode)) return exitCode;
  std::vector<std::string> positional = o.unit.rest;
  if (negatives.size() > 1) return UsageError(kName, "only one value may follow the action");
  if (!negatives.empty()) positional.insert(positional.begin() + (positional.empty() ? 0 : 1), negatives[0]);
  if (positional.empty()) return UsageError(kName, "an action is missing");
  o.action = positional[0];
  const ActionInfo* action = FindAction(o.action);
  if (!action) return UsageError(kName, "unknown action \"" + o.action + "\"");
  const size_t expected = action->argument ? 2 : 1;
  if (positional.size() < expected) return UsageError(kName, o.action + " takes " + action->argument);
  if (positional.size() > expected) return UsageError(kName, "unexpected argument \"" + positional[expected] + "\"");
  if (action->argument) o.argument = positional[1];
  if ((o.action == "servo" && !OneOf(o.argument, "on", "off")) ||
      (o.action == "jog" && !OneOf(o.argument, "plus", "minus")) ||
      (o.action == "clear" && !OneOf(o.argument, "error", "warning")))
    return UsageError(kName, o.action + " takes " + action->argument);

  auto number = [&](const char* option, long long low, long long high, long long& out) {
    if (!a.values.count(option)) return true;
    return ParseNumber(a.values[option], out) && out >= low && out <= high;
  };
  long long axis = 1, timeout = 0, waitS = 60;
  if (!number("--axis", 1, 8, axis)) return UsageError(kName, "--axis takes 1 to 8");
  if (!number("--timeout", 1, 30, timeout)) return UsageError(kName, "--timeout takes 1 to 30 seconds");
  if (!number("--wait", 1, 3600, waitS)) return UsageError(kName, "--wait takes 1 to 3600 seconds");
  if (!number("--ms", 1, 600000, o.holdMs)) return UsageError(kName, "--ms takes 1 to 600000");
  if (!number("--table", 1, 600, o.table)) return UsageError(kName, "--table takes 1 to 600");
  if (o.action == "jog" && !a.values.count("--ms")) return UsageError(kName, "jog needs --ms T");
  if (o.action != "jog" && a.values.count("--ms")) return UsageError(kName, "--ms belongs to jog");
  if (o.action == "teach" && !a.values.count("--table")) return UsageError(kName, "teach needs --table K");
  if (!OneOf(o.action, "teach", "position") && a.values.count("--table"))
    return UsageError(kName, "--table belongs to position and teach");
  o.axis = static_cast<int>(axis) - 1;
  o.timeout = static_cast<int>(timeout);
  o.waitMs = waitS * 1000;
  o.restart = a.Has("--restart");
  return kExitOk;
}

// Prompts answered from the command line: messages go to stderr, the one
// value comes from the arguments, questions are answered No.
class CCommandLinePrompts : public IToolOprPrompts {
 public:
  int Message(const std::string& text, unsigned type) override {
    std::fprintf(stderr, "%s\n", ConsoleText(text).c_str());
    lastIcon_ = type & platform::MB_ICONMASK;
    return (type & 0x0F) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
  }
  bool InputValue(const ValueInputRule& rule, int64_t, int64_t& value) override {
    if (values_.empty()) return false;
    const std::string text = values_.front();
    values_.erase(values_.begin());
    const ValueInputCheck check = ParseValueInput(text, rule, value);
    if (check == ValueInputCheck::kOk) return true;
    std::fprintf(stderr, "%s\n%s\n", ConsoleText(ValueInputMessage(check)).c_str(), rule.RangeText().c_str());
    valueRefused_ = true;
    return false;
  }
  void Give(const std::string& text) { values_.push_back(text); }
  bool ValueRefused() const { return valueRefused_; }
  bool LastWasStop() const { return lastIcon_ == platform::MB_ICONSTOP; }

 private:
  std::vector<std::string> values_;
  bool valueRefused_ = false;
  unsigned lastIcon_ = 0;
};

int ExitCodeOf(ToolAction action, const CCommandLinePrompts& prompts) {
  switch (action) {
    case ToolAction::kDone: return kExitOk;
    case ToolAction::kCancelled: return prompts.ValueRefused() ? kExitUsage : kExitRefused;
    case ToolAction::kStopped: return kExitRefused;
    case ToolAction::kCommError: return kExitCommunication;
    case ToolAction::kReleased: return kExitReleased;
  }
  return kExitRefused;
}

// What the keep-alive worker reported when it ended by itself.
struct KeepAliveEnd {
  std::atomic<bool> ended{false};
  std::atomic<int> result{0};
  std::atomic<int> status{0};
};

// One session of tool operation on an open link.
class CToolSession {
 public:
  CToolSession(OpenLink& l, const CUnitAxisConfig& unit, const ToolOptions& o)
      : l_(l), unit_(unit), o_(o), timers_(LoadToolTimerSettings(ToolTimerSettingsPath())),
        ctl_(*l.link, unit.layout, unit.family, prompts_),
        keep_(*l.link, timers_.watchMs, [this](int result, uint8_t status) {
          end_.result = result;
          end_.status = status;
          end_.ended = true;
        }) {
    ctl_.SetKeepAlive(&keep_);
  }

  int Run() {
    const int timeout = o_.timeout ? o_.timeout : ReadToolOprTimes();
    const int entered = ctl_.EnterUnasked(timeout, o_.restart);
    if (entered != kToolOprActive)
      return entered == kToolOprError && !prompts_.LastWasStop() ? kExitCommunication : kExitRefused;
    int rc = Act();
    if (rc == kExitOk && moving_) rc = WaitStanding();
    keep_.Stop();
    if (rc != kExitReleased && !released_) {
      if (int c = l_.link->CancelToolMode(); c != 0 && rc == kExitOk) {
        std::fprintf(stderr, "%s\n%s\n", l_.link->GetErrorString(c).c_str(),
                     ConsoleText(ToolOprText(kTopCancelFailed)).c_str());
        rc = kExitCommunication;
      }
    }
    return rc;
  }

  CCommandLinePrompts& Prompts() { return prompts_; }
  CToolOprController& Controller() { return ctl_; }

 private:
  int Act() {
    const int axis = o_.axis;
    const std::string& action = o_.action;
    if (action == "servo") {
      const bool on = o_.argument == "on";
      if (int rc = Done(ctl_.SetServo(axis, on)); rc != kExitOk) return rc;
      return WaitServo(on);
    }
    if (action == "jog") return Jog();
    if (action == "home") return Moved(ctl_.HomeReturn(axis, true));
    if (action == "position") {
      if (o_.table) {
        prompts_.Give(std::to_string(o_.table));
        if (int rc = Done(ctl_.ChangeStartingTable(PositioningAxis())); rc != kExitOk) return rc;
      }
      return Moved(ctl_.Positioning(axis));
    }
    if (action == "stop") return Done(ctl_.DecelerationStop(axis));
    prompts_.Give(o_.argument);
    if (action == "current-value") return Done(ctl_.ChangeCurrentValue(axis, false));
    if (action == "origin") return Done(ctl_.ChangeCurrentValue(axis, true));
    if (action == "jog-speed") return Done(ctl_.ChangeJogSpeed(axis));
    if (action == "speed-rate") return Done(ctl_.ChangeSpeedRate());
    if (action == "clear") return Done(ctl_.ClearErrorWarning(axis, o_.argument == "error"));
    if (action == "sync") return Done(ctl_.ChangeSynchronous(axis));
    return kExitUsage;
  }

  // The axis a positioning start goes to: the interpolation group's smallest.
  int PositioningAxis() const {
    int target = o_.axis;
    if (const int group = unit_.layout.GetAxisGroupNo(o_.axis); group > 0) {
      for (int member = 1; member <= 3; ++member) {
        const int a = unit_.layout.GetGroupAxis(group - 1, member);
        if (a >= 0 && a < target) target = a;
      }
    }
    return target;
  }

  int Done(ToolAction action) {
    if (action == ToolAction::kReleased) released_ = true;
    return ExitCodeOf(action, prompts_);
  }

  int Moved(ToolAction action) {
    if (action == ToolAction::kDone) {
      moving_ = true;
      startedAt_ = std::chrono::steady_clock::now();
    }
    return Done(action);
  }

  int Jog() {
    if (int rc = Moved(ctl_.JogPress(o_.axis, o_.argument == "plus")); rc != kExitOk) {
      ctl_.JogRelease();
      return rc;
    }
    const auto until = startedAt_ + std::chrono::milliseconds(o_.holdMs);
    while (!g_stop && !end_.ended && std::chrono::steady_clock::now() < until) Sleep(10);
    if (end_.ended) return KeepAliveEnded();
    const bool interrupted = g_stop;
    if (int rc = Done(ctl_.JogRelease()); rc != kExitOk) return rc;
    return interrupted ? Interrupted() : kExitOk;
  }

  // Keeps the movement alive until a read of the busy word at least one
  // monitor period after the start shows every used axis standing.
  int WaitStanding() {
    const auto started = startedAt_;
    const auto firstRead = started + std::chrono::milliseconds(timers_.monitorMs);
    const auto limit = started + std::chrono::milliseconds(o_.waitMs);
    for (;;) {
      if (end_.ended) return KeepAliveEnded();
      if (g_stop || std::chrono::steady_clock::now() >= limit) return Interrupted();
      if (std::chrono::steady_clock::now() >= firstRead) {
        uint16_t busy = 0;
        if (int rc = l_.link->Read(unitaddr::kStatusBusy, 1, &busy, kReportNone); rc != 0) {
          std::fprintf(stderr, "%s\n", l_.link->GetErrorString(rc).c_str());
          ctl_.AbandonMotion(true);
          return kExitCommunication;
        }
        const uint16_t running = static_cast<uint16_t>(~busy & (unit_.layout.GetUsedAxisMask() << 8));
        if (!running) return kExitOk;
      }
      Sleep(timers_.monitorMs > 0 ? std::min<int>(timers_.monitorMs, 50) : 50);
    }
  }

  // The unit takes the servo request in tool operation mode only: it is
  // waited for before the mode is left.
  int WaitServo(bool on) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(o_.waitMs);
    for (;;) {
      uint16_t state = 0;
      if (int rc = l_.link->Read(unitaddr::MonitorState(o_.axis), 1, &state, kReportNone); rc != 0) {
        std::fprintf(stderr, "%s\n", l_.link->GetErrorString(rc).c_str());
        return kExitCommunication;
      }
      if (((state & unitaddr::kMonStateServoOn) != 0) == on) return kExitOk;
      if (g_stop || std::chrono::steady_clock::now() >= limit) {
        std::fprintf(stderr, "axcfg tool: the servo did not follow the request\n");
        return kExitNotFinished;
      }
      Sleep(20);
    }
  }

  // Waiting ran out or a signal came: stop what was started, each request once.
  int Interrupted() {
    ctl_.AbandonMotion(true);
    std::fprintf(stderr, "axcfg tool: the movement was stopped before it finished\n");
    return kExitNotFinished;
  }

  int KeepAliveEnded() {
    if (end_.result != 0) {
      ctl_.AbandonMotion(true);
      std::fprintf(stderr, "%s%s\n", ConsoleText(MonitorText(kMonStopMonitoring)).c_str(),
                   l_.link->GetErrorString(end_.result).c_str());
      return kExitCommunication;
    }
    released_ = true;
    ctl_.AbandonMotion(false);
    std::fprintf(stderr, "%s\n", ConsoleText(ToolOprText(kTopReleased)).c_str());
    return kExitReleased;
  }

  static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

  OpenLink& l_;
  const CUnitAxisConfig& unit_;
  const ToolOptions& o_;
  ToolTimerSettings timers_;
  CCommandLinePrompts prompts_;
  CToolOprController ctl_;
  KeepAliveEnd end_;
  CKeepAlive keep_;
  bool moving_ = false;
  bool released_ = false;
  std::chrono::steady_clock::time_point startedAt_;
};

void PrintAxis(OpenLink& l, const CUnitAxisConfig& unit, const ToolOptions& o, int teachTable) {
  const ActionInfo* action = FindAction(o.action);
  MonitorAxis axis{o.axis, unit.layout.GetAxisLabel(o.axis)};
  for (const MonitorAxis& a : MonitorAxes(unit.layout))
    if (a.axis == o.axis) axis = a;
  CToolOprCycle cycle;
  ToolOprSnapshot s;
  uint16_t state = 0;
  if (cycle.Read(*l.link, {axis}, action->window, s) != 0 ||
      l.link->Read(unitaddr::MonitorState(o.axis), 1, &state, kReportNone) != 0)
    return;  // the action's own result stands; a snapshot is only a courtesy
  const ToolOprAxisValues& v = s.axes[o.axis];
  CJsonLine json;
  json.Open('{').Field("action", o.action).Field("model", unit.modelCode).Field("family", unit.family);
  json.Field("axis", o.axis + 1).Field("label", axis.label).Field("connected", s.IsConnected(o.axis));
  json.Field("busy", s.IsBusy(o.axis)).Field("error", s.HasError(o.axis)).Field("warning", s.HasWarning(o.axis));
  json.Field("servo", (state & unitaddr::kMonStateServoOn) != 0).Field("unitCode", v.unitCode);
  json.Field("currentValue", v.currentValue).Field("deviation", v.deviation);
  json.Field("errorCode", v.errorCode).Field("warningCode", v.warningCode).Field("speedRate", s.speedRate);
  switch (action->window) {
    case ToolOprWindow::kJog:
      json.Field("jogSpeed", v.jogSpeed);
      break;
    case ToolOprWindow::kTeaching:
      json.Field("jogSpeed", v.jogSpeed).Field("table", teachTable);
      break;
    case ToolOprWindow::kHoming:
      json.Field("origin", v.origin).Field("homeMode", v.homeMode);
      break;
    case ToolOprWindow::kPositioning:
      json.Field("startingTable", v.startingTable).Field("activeTable", v.activeTable);
      break;
  }
  const auto rows = ToolOprRows(action->window, unit.family);
  const auto cells = ToolOprCells(s, action->window, unit.family, axis, teachTable);
  json.Key("cells").Open('{');
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].kind == RowKind::Value) json.Field(rows[r].label, cells[r].text);
  json.Close('}').Close('}');
  std::printf("%s\n", json.Text().c_str());
  std::fflush(stdout);
}

// Teaching reads the unit and changes the file; no tool operation mode.
int Teach(OpenLink& l, const CUnitAxisConfig& unit, const ToolOptions& o) {
  CAxisCfgDoc doc;
  if (int rc = OpenSettingFile(o.argument, doc); rc != kExitOk) return rc;
  CCommandLinePrompts prompts;
  CToolOprController ctl(*l.link, unit.layout, unit.family, prompts);
  prompts.Give(std::to_string(o.table));
  const ToolAction done = ctl.Teach(o.axis, doc);
  if (done != ToolAction::kDone) return ExitCodeOf(done, prompts);
  // The file is replaced only once the whole new content is written.
  const std::string temporary = o.argument + ".tmp" + std::to_string(getpid());
  std::error_code ec;
  std::filesystem::copy_file(o.argument, temporary, std::filesystem::copy_options::overwrite_existing, ec);
  FileStatus st = SaveDocumentFile(doc, temporary);
  if (ec || !st.Succeeded()) {
    std::filesystem::remove(temporary, ec);
    std::fprintf(stderr, "%s\n", ConsoleText(FileStatusText(st, o.argument)).c_str());
    return kExitFile;
  }
  std::filesystem::rename(temporary, o.argument, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    std::fprintf(stderr, "axcfg tool: %s cannot be replaced\n", o.argument.c_str());
    return kExitFile;
  }
  PrintAxis(l, unit, o, static_cast<int>(o.table));
  return kExitOk;
}

int Tool(const Args& args) {
  ToolOptions o;
  if (int rc = ParseToolOptions(args, o); rc != kExitOk) return rc;
  OpenLink l;
  CUnitAxisConfig unit;
  if (int rc = ConnectToUnitAxes(kName, o.unit, l, unit); rc != kExitOk) return rc;
  if (!unit.layout.IsAxisUsed(o.axis)) {
    l.link->Close();
    return UsageError(kName, "the unit does not use axis " + std::to_string(o.axis + 1));
  }
  RegisterToolOprStrings();
  RegisterMonitorStrings();
  int rc = kExitOk;
  if (o.action == "teach") {
    rc = Teach(l, unit, o);
  } else {
    g_stop = 0;
    OnStopSignals(OnStopSignal);
    CToolSession session(l, unit, o);
    rc = session.Run();
    if (rc != kExitCommunication) PrintAxis(l, unit, o, 1);
  }
  l.link->Close();
  return rc;
}

}  // namespace

const std::vector<Command>& ToolCommands() {
  static const std::string help =
      std::string(
          "Usage: axcfg tool ACTION [--axis N] [--timeout S] [--restart] [--wait S] [options]\n"
          "Drives one axis of the unit as the tool operation windows do: reads the unit's axis layout,\n"
          "writes the tool operation time-out, enters tool operation mode, runs ACTION, keeps a started\n"
          "movement alive until the unit's axes stand, leaves tool operation mode and prints the axis as\n"
          "one JSON line (the operation window's rows under \"cells\").\n"
          "Actions:\n"
          "  servo on|off            servo of the axis (servo network units)\n"
          "  jog plus|minus --ms T   JOG held for T milliseconds, then released\n"
          "  home                    home return\n"
          "  position [--table K]    positioning start (K first becomes the starting table No. of the\n"
          "                          axis the start goes to: the interpolation group's smallest)\n"
          "  stop                    deceleration stop\n"
          "  current-value V         new current value in the axis's position unit\n"
          "  origin V                new coordinate origin\n"
          "  jog-speed V             JOG target speed\n"
          "  speed-rate P            speed rate in percent\n"
          "  clear error|warning     error or warning clear of the axis\n"
          "  sync                    switch the synchronous condition of the axis's group\n"
          "  teach FILE --table K    the axis's current value becomes the movement amount of table K in\n"
          "                          the setting file (no tool operation mode; nothing is sent)\n"
          "V may be negative: a \"-\" followed by a digit is a value, not an option.\n"
          "  --axis N       axis 1 to 8 (default 1)\n"
          "  --timeout S    the unit's keep-alive time-out, 1 to 30 s (default: the tool's setting)\n"
          "  --restart      tool operation mode already on: restart it (otherwise exit 5)\n"
          "  --wait S       longest wait for the axes to stand, 1 to 3600 s (default 60)\n") +
      kDestHelp +
      "Exit codes: 5 refused, or a message stopped the action (on stderr); 6 the unit released tool\n"
      "operation mode; 7 not finished within --wait or interrupted by SIGINT/SIGTERM (the axis was\n"
      "stopped); 2 also for a value outside its range; 3 the setting file (teach).\n";
  static const std::vector<Command> commands = {
      {"tool", "servo, JOG, home return, positioning and values of one axis", help.c_str(), Tool},
  };
  return commands;
}

}  // namespace axcfg::cli
