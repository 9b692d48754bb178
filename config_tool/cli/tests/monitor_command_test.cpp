// axcfg monitor against the simulated unit through the connection server:
// the JSON lines, --axis, running until a signal, and every exit code.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "axcfg_run.h"
#include "peer_process.h"

namespace {

using axcfg_test::Axcfg;
using axcfg_test::Result;

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(AxcfgMonitor, DataLinesCarryEveryAxisWithItsCells) {
  Result r = Axcfg("monitor --count 2 --interval 0");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  ASSERT_EQ(Count(r.out, "\n"), 2u) << r.out;
  EXPECT_EQ(r.out.rfind("{\"cycle\":1,\"model\":5154,\"family\":0,\"sync\":[{\"mode\":", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\n{\"cycle\":2,"), std::string::npos);
  const std::string first = r.out.substr(0, r.out.find('\n'));
  EXPECT_EQ(Count(first, "{\"axis\":"), 8u);
  EXPECT_NE(first.find("\"axes\":[{\"axis\":1,\"label\":\"1 axis\",\"connected\":true,\"busy\":false,\"error\":false,"
                       "\"warning\":false,\"unitCode\":"),
            std::string::npos)
      << first;
  EXPECT_NE(first.find("\"errorCode\":0,\"warningCode\":0,\"cells\":{\"Axis[Group]\":\"1 axis\",\"Synchronous goup\":"),
            std::string::npos);
  // The alignment blank of numbers is not part of the cell; button rows are left out.
  EXPECT_NE(first.find("\"Active table No.\":\"0\""), std::string::npos) << first;
  EXPECT_NE(first.find("\"State of axis\":\"Inactive\",\"Error code\":\"--------\",\"Warning code\":\"--------\"}"),
            std::string::npos);
  EXPECT_EQ(first.find("Error Clear"), std::string::npos);
}

TEST(AxcfgMonitor, AxisSelectionAndStatusLines) {
  Result r = Axcfg("monitor --axis 7,2 --interval 5");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Count(r.out, "{\"axis\":"), 2u);
  EXPECT_LT(r.out.find("{\"axis\":2,"), r.out.find("{\"axis\":7,"));

  Result s = Axcfg("monitor --status --axis 1");
  ASSERT_EQ(s.exitCode, 0) << s.out;
  EXPECT_EQ(s.out.rfind("{\"cycle\":1,\"model\":5154,\"fromWrites\":", 0), 0u) << s.out;
  EXPECT_NE(s.out.find("\"cells\":{\"Model\":\"QX2 Positioning unit SRLX 8-axis type (KMU517230)\","
                       "\"No. of writing to FROM\":"),
            std::string::npos)
      << s.out;
  EXPECT_NE(s.out.find("\"Firmware version\":"), std::string::npos);
  EXPECT_NE(s.out.find("\"axes\":[{\"axis\":1,\"label\":\"1 axis\",\"flags\":"), std::string::npos);
  EXPECT_NE(s.out.find("\"Connection status\":\"Connection\""), std::string::npos) << s.out;
  EXPECT_EQ(s.out.find("Status display"), std::string::npos);  // headings are left out
}

TEST(AxcfgMonitor, CountZeroRunsUntilInterrupted) {
  keldtest::PeerProcess monitor("axcfg", {"monitor", "--count", "0", "--interval", "10"});
  EXPECT_EQ(monitor.ReadLine(20000).rfind("{\"cycle\":1,", 0), 0u);
  EXPECT_EQ(monitor.ReadLine(20000).rfind("{\"cycle\":2,", 0), 0u);
  kill(monitor.Pid(), SIGINT);
  EXPECT_EQ(monitor.Wait(20000), 0);
}

TEST(AxcfgMonitor, CsvGivesAHeaderAndOneLinePerCycle) {
  Result r = Axcfg("monitor --csv --axis 2,3 --count 3 --interval 0", false);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out.rfind("Time [s],Clock,2 axis Current value [pulse],2 axis Speed [rpm],2 axis Torque [%],"
                        "2 axis Deviation [pulse],3 axis Current value [pulse],",
                        0),
            0u)
      << r.out;
  EXPECT_EQ(Count(r.out, "\r\n"), 4u);
  const std::string first = r.out.substr(r.out.find("\r\n") + 2);
  EXPECT_EQ(first.rfind("0.000,", 0), 0u) << first;  // times count from the first cycle
  EXPECT_EQ(Count(first.substr(0, first.find("\r\n")), ","), 9u);
  EXPECT_EQ(Axcfg("monitor --csv --status").exitCode, 2);
}

TEST(AxcfgMonitor, ExitCodes) {
  EXPECT_EQ(Axcfg("monitor --axis 9").exitCode, 2);
  EXPECT_EQ(Axcfg("monitor --axis 1,,2").exitCode, 2);
  EXPECT_EQ(Axcfg("monitor --interval 60001").exitCode, 2);
  EXPECT_EQ(Axcfg("monitor --count -1").exitCode, 2);
  EXPECT_EQ(Axcfg("monitor extra").exitCode, 2);
  EXPECT_EQ(Axcfg("monitor --slot 5").exitCode, 4);  // no unit in that slot

  // Axis 1 alone: axis 2 is not used by the unit.
  ASSERT_EQ(Axcfg("write-words 0x160 0 0 0 0 1").exitCode, 0);
  Result unused = Axcfg("monitor --axis 2");
  EXPECT_EQ(unused.exitCode, 2);
  EXPECT_EQ(unused.out.find("{\"cycle\""), std::string::npos);
  // A group of four axes breaks the layout rules: nothing is printed.
  ASSERT_EQ(Axcfg("write-words 0x160 0x0F 0 0 0 0").exitCode, 0);
  Result bad = Axcfg("monitor");
  EXPECT_EQ(bad.exitCode, 5);
  EXPECT_EQ(bad.out, "The axis information in the unit is not correct.\n");
  ASSERT_EQ(Axcfg("write-words 0x160 0 0 0 0 0xFF").exitCode, 0);
  EXPECT_EQ(Axcfg("monitor").exitCode, 0);
}

}  // namespace

namespace {

TEST(AxcfgMonitor, ALinkThatDiesEndsWithCommunicationErrorAndKeepsThePrintedLines) {
  keldtest::PeerProcess sim("plcsim", {"--serial"});
  ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, 4).empty());
  keldtest::PeerProcess monitor("axcfg", {"monitor", "--count", "0", "--interval", "10", "--dest", "com:4"});
  EXPECT_EQ(monitor.ReadLine(30000).rfind("{\"cycle\":1,", 0), 0u);
  sim.Stop();
  EXPECT_EQ(monitor.Wait(60000), 4);
}

}  // namespace
