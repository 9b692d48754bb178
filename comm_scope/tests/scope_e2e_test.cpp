// The viewer against started KELD_TAVMGR copies: a client's traffic over the
// simulation and over plcsim on a pseudo-terminal shows in its port and
// client views, and log files follow the viewer's configuration.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "commscope/device_tree.h"
#include "commscope/log_settings.h"
#include "commscope/monitor_document.h"
#include "peer_process.h"
#include "platform/folders.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

using namespace commscope;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

struct Client {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  Client(const char* name, int kind, int com = 0) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName(name);
    r.SetKind(static_cast<int16_t>(kind));
    r.SetPort(static_cast<int16_t>(com));
    r.SetTimeout(3);
    r.SetBaudIndex(3);
    r.SetDataBits(8);
    r.SetStopBits(1);
    r.SetLanguage(1);
  }
  unsigned char* data() { return bytes.data(); }
  int Read() {
    uint16_t model = 0;
    return TavReadUnitWords(data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model);
  }
};

// Waits for a condition, ticking as the viewer's timer would; generous for a loaded machine.
template <typename Fn>
bool WaitFor(Fn fn, int seconds = 20) {
  auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (Clock::now() < deadline) {
    if (fn()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return fn();
}

bool HasLine(const CMonitorDocument& doc, const std::string& part) {
  for (const auto& r : doc.Records())
    if (r.find(part) != std::string::npos) return true;
  return false;
}

std::set<std::string> LogFiles(const std::string& folder, const std::string& prefix) {
  std::set<std::string> names;
  std::error_code ec;
  for (auto& e : fs::directory_iterator(folder, ec))
    if (e.path().filename().string().rfind(prefix, 0) == 0) names.insert(e.path().filename().string());
  return names;
}

void SetLog(const std::string& name, bool on, const std::string& folder) {
  CLogSettings s = CLogSettings::Load({2});
  s.Find(name)->on = on;
  s.SetFolder(folder);
  ASSERT_TRUE(s.Save());
}

// Watches the port and client of a connection and checks that a read shows in both.
void ExpectTrafficInViews(Client& client, int port, const std::string& name) {
  auto lib = MakeTavViewerLibrary();
  CDeviceTree tree(*lib);
  const ClientItem* item = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    tree.Refresh();
    const PortItem* p = tree.FindPort(port);
    item = nullptr;
    if (p)
      for (const auto& c : p->clients)
        if (c.name == name) item = &c;
    return item != nullptr;
  }));
  EXPECT_EQ(item->label.substr(3), " " + name);
  CMonitorDocument portDoc(*lib, CMonitorDocument::PortId(port - 1));
  CMonitorDocument clientDoc(*lib, CMonitorDocument::ClientId(item->slot), item->handle);
  ASSERT_EQ(portDoc.Open(), 0);
  ASSERT_EQ(clientDoc.Open(), 0);
  ASSERT_EQ(client.Read(), 0);
  // Within a watch period or a few on a busy machine.
  EXPECT_TRUE(WaitFor([&] { return portDoc.Watch(), HasLine(portDoc, "#UR"); }));
  EXPECT_TRUE(WaitFor([&] { return clientDoc.Watch(), HasLine(clientDoc, "$UR"); }));
}

TEST(ScopeEndToEnd, SimulationTrafficShowsAndLoggingFollowsTheConfiguration) {
  std::string folder = platform::DataDir() + "/viewer-logs";
  fs::create_directories(folder);
  Client client("viewer e2e", tavinter::kKindSimulation);
  ASSERT_EQ(TavOpen(nullptr, client.data()), 0);
  ExpectTrafficInViews(client, 326, "viewer e2e");

  // Switched on in the configuration: the running server writes TavSml_YYMMDD_HHMMSS.Log.
  SetLog("Simulation", true, folder);
  ASSERT_TRUE(WaitFor([&] { return client.Read(), !LogFiles(folder, "TavSml_").empty(); }));
  auto first = LogFiles(folder, "TavSml_");
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first.begin()->size(), std::string("TavSml_261206_170512.Log").size());
  // Off, then on again: a second, later file.
  SetLog("Simulation", false, folder);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));  // past the server's next tick and the second
  SetLog("Simulation", true, folder);
  ASSERT_TRUE(WaitFor([&] { return client.Read(), LogFiles(folder, "TavSml_").size() == 2; }));
  auto both = LogFiles(folder, "TavSml_");
  EXPECT_LT(*both.begin(), *both.rbegin());
  EXPECT_EQ(*both.begin(), *first.begin());
  SetLog("Simulation", false, folder);
  EXPECT_EQ(TavClose(client.data()), 0);
}

TEST(ScopeEndToEnd, SerialTrafficOnCom2ShowsAndLogsToTavCom2) {
  keldtest::PeerProcess sim("plcsim", {"--serial"});
  ASSERT_FALSE(keldtest::RouteAnnouncedDeviceToCom(sim, 2).empty());
  std::string folder = platform::DataDir() + "/serial-logs";
  fs::create_directories(folder);
  SetLog("Com2", true, folder);
  Client client("serial viewer", tavinter::kKindSerial, 2);
  ASSERT_EQ(TavOpen(nullptr, client.data()), 0);
  ExpectTrafficInViews(client, 70, "serial viewer");
  EXPECT_TRUE(WaitFor([&] { return client.Read(), !LogFiles(folder, "TavCom2_").empty(); }));
  SetLog("Com2", false, folder);
  EXPECT_EQ(TavClose(client.data()), 0);
}

}  // namespace
