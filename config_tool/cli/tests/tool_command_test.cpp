// axcfg tool against the simulated unit through the connection server: each
// action as a script runs it, the unit's state seen afterwards, every exit
// code, and the safety paths (interrupted, released, killed mid-JOG).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "axcfg_run.h"
#include "peer_process.h"

namespace {

using axcfg_test::Axcfg;
using axcfg_test::Result;

// The number after "key": in a JSON line; a large sentinel when missing.
long long JsonNumber(const std::string& line, const std::string& key) {
  const std::string k = "\"" + key + "\":";
  const auto at = line.find(k);
  if (at == std::string::npos) return 1LL << 40;
  return std::stoll(line.substr(at + k.size()));
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs `axcfg monitor --axis N` until its line satisfies `pred` (30 s at most).
template <typename Pred>
std::string MonitorUntil(int axis, Pred pred, const std::string& extra = {}) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::string line;
  while (std::chrono::steady_clock::now() < limit) {
    Result r = Axcfg("monitor --axis " + std::to_string(axis) + " " + extra, false);
    line = r.out;
    if (r.exitCode == 0 && pred(line)) return line;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ADD_FAILURE() << "the monitor never showed it; last line: " << line;
  return line;
}

// The command returns once the servo follows, and it stays on after tool
// operation mode is left.
void ServoOn(int axis) {
  Result on = Axcfg("tool servo on --axis " + std::to_string(axis), false);
  ASSERT_EQ(on.exitCode, 0);
  EXPECT_TRUE(Contains(on.out, "\"servo\":true")) << on.out;
  MonitorUntil(axis, [](const std::string& l) { return Contains(l, "\"Servo free\":\"Lock\""); }, "--status");
}

bool ToolModeOff() { return Contains(Axcfg("read-words 0x120 1").out, "0x120 0x0000"); }

TEST(AxcfgTool, JogBothWaysMovesTheAxisAndLeavesToolMode) {
  ServoOn(1);
  ASSERT_EQ(Axcfg("tool current-value 0").exitCode, 0);
  Result plus = Axcfg("tool jog plus --ms 400", false);
  ASSERT_EQ(plus.exitCode, 0) << plus.out;
  EXPECT_EQ(plus.out.rfind("{\"action\":\"jog\",\"model\":5154,\"family\":0,\"axis\":1,\"label\":\"1 axis\",", 0), 0u);
  EXPECT_TRUE(Contains(plus.out, "\"busy\":false"));  // it waited for the axis to stand
  EXPECT_TRUE(Contains(plus.out, "\"Jog target speed\":"));
  EXPECT_FALSE(Contains(plus.out, "Deviation (pulse)"));  // family 0
  const long long afterPlus = JsonNumber(plus.out, "currentValue");
  EXPECT_GT(afterPlus, 0);
  EXPECT_TRUE(ToolModeOff());

  Result minus = Axcfg("tool jog minus --ms 800 --axis 1", false);
  ASSERT_EQ(minus.exitCode, 0) << minus.out;
  EXPECT_LT(JsonNumber(minus.out, "currentValue"), afterPlus);
}

// The fields of one CSV line (no quoted fields in the monitor's rows), its CR LF cut off.
std::vector<std::string> CsvFields(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
    fields.push_back(line.substr(start, comma - start));
  fields.push_back(line.substr(start));
  return fields;
}

TEST(AxcfgTool, JogRecordedByTheMonitorsCsvRisesThenStands) {
  ServoOn(6);
  ASSERT_EQ(Axcfg("tool current-value 0 --axis 6").exitCode, 0);
  keldtest::PeerProcess monitor("axcfg", {"monitor", "--csv", "--axis", "6", "--count", "0", "--interval", "20"});
  const std::vector<std::string> header = CsvFields(monitor.ReadLine(20000));
  ASSERT_EQ(header.size(), 6u);
  EXPECT_EQ(header[0], "Time [s]");
  EXPECT_EQ(header[2], "6 axis Current value [pulse]");
  EXPECT_EQ(header[3], "6 axis Speed [rpm]");
  EXPECT_EQ(header[5], "6 axis Deviation [pulse]");
  ASSERT_EQ(CsvFields(monitor.ReadLine(20000)).at(2), "0");

  Result jog = Axcfg("tool jog plus --ms 600 --axis 6", false);
  ASSERT_EQ(jog.exitCode, 0) << jog.out;
  const long long final = JsonNumber(jog.out, "currentValue");
  ASSERT_GT(final, 0);
  // Read until the recorded value has stood at the JOG's end for a while.
  std::vector<long long> values;
  double lastTime = -1;
  int standing = 0;
  bool moving = false;
  while (standing < 10) {
    const std::string line = monitor.ReadLine(20000);
    ASSERT_FALSE(line.empty()) << "the monitor stopped";
    const std::vector<std::string> f = CsvFields(line);
    ASSERT_EQ(f.size(), 6u) << line;
    const double time = std::stod(f[0]);
    EXPECT_GT(time, lastTime);
    lastTime = time;
    values.push_back(std::stoll(f[2]));
    if (std::stoll(f[3]) > 0) moving = true;
    standing = values.back() == final ? standing + 1 : 0;
  }
  kill(monitor.Pid(), SIGINT);
  EXPECT_EQ(monitor.Wait(20000), 0);
  EXPECT_TRUE(moving) << "no line caught the axis at speed";
  // Never falling, with values between the start and the end: it rose.
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_TRUE(std::any_of(values.begin(), values.end(), [&](long long v) { return v > 0 && v < final; }));
  EXPECT_TRUE(ToolModeOff());
}

TEST(AxcfgTool, ValuesReachTheUnit) {
  ServoOn(2);
  // A negative value directly after its action is a value, not an option.
  ASSERT_EQ(Axcfg("tool current-value -125 --axis 2").exitCode, 0);
  MonitorUntil(2, [](const std::string& l) { return JsonNumber(l, "currentValue") == -125; });
  // Home return puts the axis at its coordinate origin.
  ASSERT_EQ(Axcfg("tool origin 300 --axis 2").exitCode, 0);
  Result home = Axcfg("tool home --axis 2", false);
  ASSERT_EQ(home.exitCode, 0) << home.out;
  EXPECT_TRUE(Contains(home.out, "\"origin\":300"));
  EXPECT_TRUE(Contains(home.out, "\"Home return mode\":"));
  MonitorUntil(2, [](const std::string& l) { return JsonNumber(l, "currentValue") == 300; });

  ASSERT_EQ(Axcfg("tool jog-speed 2500 --axis 2").exitCode, 0);
  ASSERT_EQ(Axcfg("tool speed-rate 80").exitCode, 0);
  Result after = Axcfg("tool clear warning --axis 2", false);
  ASSERT_EQ(after.exitCode, 0);
  EXPECT_EQ(JsonNumber(after.out, "jogSpeed"), 2500);
  EXPECT_EQ(JsonNumber(after.out, "speedRate"), 80);
  EXPECT_EQ(Axcfg("tool speed-rate 100").exitCode, 0);

  Result table = Axcfg("tool position --table 3 --axis 2", false);
  ASSERT_EQ(table.exitCode, 0) << table.out;
  EXPECT_EQ(JsonNumber(table.out, "startingTable"), 3);
  EXPECT_TRUE(Contains(table.out, "\"Starting table No.\":\"3\""));
  EXPECT_EQ(Axcfg("tool stop --axis 2").exitCode, 0);
  EXPECT_TRUE(ToolModeOff());
}

TEST(AxcfgTool, RefusalsAndValueMessagesHaveTheirExitCodes) {
  Result pulses = Axcfg("tool current-value -12.5", true);
  EXPECT_EQ(pulses.exitCode, 2);  // the pulse unit has no decimals
  EXPECT_TRUE(Contains(pulses.out, "Input a value correctly."));
  Result rate = Axcfg("tool speed-rate 70000");
  EXPECT_EQ(rate.exitCode, 2);
  EXPECT_TRUE(Contains(rate.out, "The input value is out of range.\nInput the correct value."));
  Result sync = Axcfg("tool sync");
  EXPECT_EQ(sync.exitCode, 5);  // the axis is in no synchronous group
  EXPECT_TRUE(Contains(sync.out, "the synchronous condition cannot be changed."));

  EXPECT_EQ(Axcfg("tool").exitCode, 2);
  EXPECT_EQ(Axcfg("tool fly").exitCode, 2);
  EXPECT_EQ(Axcfg("tool jog plus").exitCode, 2);  // --ms missing
  EXPECT_EQ(Axcfg("tool servo maybe").exitCode, 2);
  EXPECT_EQ(Axcfg("tool home --axis 9").exitCode, 2);
  EXPECT_EQ(Axcfg("tool home --timeout 31").exitCode, 2);
  EXPECT_EQ(Axcfg("tool current-value -1 -2").exitCode, 2);
  EXPECT_EQ(Axcfg("tool home --slot 5").exitCode, 4);  // no unit there
  EXPECT_TRUE(ToolModeOff());
}

TEST(AxcfgTool, ToolModeLeftOnIsRestartedOnlyWhenAsked) {
  ASSERT_EQ(Axcfg("write-words 0x120 0xAA55").exitCode, 0);
  Result no = Axcfg("tool stop");
  EXPECT_EQ(no.exitCode, 5) << no.out;
  EXPECT_FALSE(ToolModeOff());  // not entered by this command: left as it was
  EXPECT_EQ(Axcfg("tool stop --restart").exitCode, 0);
  EXPECT_TRUE(ToolModeOff());
}

TEST(AxcfgTool, TeachingWritesTheCurrentValueIntoTheFile) {
  const std::string file = keldtest::FreshDir("teach") + "/taught.axc";
  ASSERT_EQ(Axcfg("new -o " + file).exitCode, 0);
  ASSERT_EQ(Axcfg("tool current-value 4321 --axis 1").exitCode, 0);
  MonitorUntil(1, [](const std::string& l) { return JsonNumber(l, "currentValue") == 4321; });
  Result taught = Axcfg("tool teach " + file + " --table 7", false);
  ASSERT_EQ(taught.exitCode, 0) << taught.out;
  EXPECT_TRUE(Contains(taught.out, "\"Table No.\":\"7\""));
  EXPECT_TRUE(ToolModeOff());
  Result dump = Axcfg("dump " + file, false);
  ASSERT_EQ(dump.exitCode, 0);
  EXPECT_TRUE(Contains(dump.out, "4321")) << dump.out.substr(0, 400);
  EXPECT_EQ(Axcfg("tool teach " + file + " --table 601").exitCode, 2);
  EXPECT_EQ(Axcfg("tool teach /no/such/file.axc --table 1").exitCode, 3);
}

TEST(AxcfgTool, InterruptedJogStopsTheAxisWithExitSeven) {
  ServoOn(3);
  keldtest::PeerProcess jog("axcfg", {"tool", "jog", "plus", "--ms", "60000", "--axis", "3"});
  MonitorUntil(3, [](const std::string& l) { return Contains(l, "\"busy\":true"); });
  kill(jog.Pid(), SIGINT);
  EXPECT_EQ(jog.Wait(20000), 7);
  MonitorUntil(3, [](const std::string& l) { return Contains(l, "\"busy\":false"); });
  EXPECT_TRUE(ToolModeOff());
}

TEST(AxcfgTool, ReleasedByAnotherProcessEndsWithSix) {
  ServoOn(4);
  keldtest::PeerProcess jog("axcfg", {"tool", "jog", "minus", "--ms", "60000", "--axis", "4"});
  MonitorUntil(4, [](const std::string& l) { return Contains(l, "\"busy\":true"); });
  ASSERT_EQ(Axcfg("write-words 0x120 0").exitCode, 0);
  EXPECT_EQ(jog.Wait(20000), 6);
  MonitorUntil(4, [](const std::string& l) { return Contains(l, "\"busy\":false"); });
}

TEST(AxcfgTool, KilledMidJogTheUnitStopsTheAxisAfterItsTimeOut) {
  ServoOn(5);
  keldtest::PeerProcess jog("axcfg", {"tool", "jog", "plus", "--ms", "60000", "--axis", "5", "--timeout", "1"});
  MonitorUntil(5, [](const std::string& l) { return Contains(l, "\"busy\":true"); });
  kill(jog.Pid(), SIGKILL);
  jog.Wait(5000);
  const std::string stood =
      MonitorUntil(5, [](const std::string& l) { return Contains(l, "\"busy\":false"); });
  EXPECT_TRUE(Contains(stood, "\"Warning code\":\"00002-E0021\"")) << stood;
  EXPECT_TRUE(ToolModeOff());
  EXPECT_EQ(Axcfg("tool clear warning --axis 5").exitCode, 0);
}

}  // namespace
