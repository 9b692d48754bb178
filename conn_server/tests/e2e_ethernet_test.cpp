// Through the interface library and a started KELD_TAVMGR to plcsim over TCP
// on 127.0.0.1: links the server opens (kind 5) and links the PLC opens
// (kind 9), bare and with the route header, with faults and dropped links.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <thread>
#include <vector>

#include "full_backlog_listener.h"
#include "platform/registry.h"
#include "tavinter/ethernet_link_config.h"
#include "tavinter/ethernet_links.h"
#include "loopback_port.h"
#include "peer_process.h"
#include "tavinter/connect_cancel.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

using keldtest::PeerProcess;

namespace {

constexpr long kTables = 0x850;  // positioning tables of axis 1
constexpr int kAccepted = 10001;

// plcsim listening on a free port of 127.0.0.1.
struct TcpPeer {
  PeerProcess peer;
  int port = 0;
  explicit TcpPeer(std::vector<std::string> extra, const std::string& stderrFile = "")
      : peer("plcsim", Args(extra), stderrFile) {
    const std::string line = peer.ReadLine();
    const auto colon = line.rfind(':');
    if (colon != std::string::npos) port = std::atoi(line.c_str() + colon + 1);
  }
  static std::vector<std::string> Args(std::vector<std::string> extra) {
    std::vector<std::string> a{"--tcp", "0"};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  }
};

// Waits until a client of this process waits on a connect; 0 when none does within the time.
int ConnectWaitOfThisProcess(TavConnectWait& wait, int seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < until) {
    if (TavGetConnectWait(0, &wait) == 1) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

struct EthernetConnection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  explicit EthernetConnection(const tavinter::EthernetLinkConfig& link, int timeout = 2) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName("ethernet e2e");
    r.SetLanguage(1);
    tavinter::CChannelConfig c;
    link.WriteTo(c);
    c.SetTimeout(timeout);
    r.SetConfig(c);
  }
  unsigned char* data() { return bytes.data(); }
};

tavinter::EthernetLinkConfig ServerConnects(int ethernetPort, int tcpPort, bool header = false) {
  tavinter::EthernetLinkConfig c;
  c.kind = 5;
  c.port = ethernetPort;
  c.destination = "127.0.0.1";
  c.destinationPort = static_cast<uint16_t>(tcpPort);
  c.destinationStation = 1;
  c.header = header;
  c.connectLimitSec = 5;
  return c;
}

tavinter::EthernetLinkConfig PlcConnects(int ethernetPort, int listenPort, const std::string& from = "") {
  tavinter::EthernetLinkConfig c;
  c.kind = 9;
  c.port = ethernetPort;
  c.destination = from;
  c.sourcePort = static_cast<uint16_t>(listenPort);
  c.destinationStation = 1;
  return c;
}

std::vector<uint16_t> Pattern(size_t n, uint16_t seed) {
  std::vector<uint16_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint16_t>(seed + i * 13);
  return v;
}

void RoundTrip(EthernetConnection& c, size_t words, uint16_t seed) {
  auto out = Pattern(words, seed);
  std::vector<uint16_t> in(out.size());
  ASSERT_EQ(TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, static_cast<long>(words), out.data()), 0);
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, static_cast<long>(words), in.data()), 0);
  EXPECT_EQ(in, out);
}

int AcceptCheck(EthernetConnection& c) {
  unsigned char answer[16];
  int length = 0;
  return TavRequest(c.data(), 40, nullptr, answer, sizeof answer, &length);
}

// Polls request 40 until the PLC has connected.
int WaitForPlc(EthernetConnection& c, int seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int rc = 0;
  while (std::chrono::steady_clock::now() < until) {
    rc = AcceptCheck(c);
    if (rc != 0) return rc;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return rc;
}

TEST(EthernetEndToEnd, WordsTravelOverALinkTheServerOpens) {
  TcpPeer sim({});
  ASSERT_GT(sim.port, 0);
  EthernetConnection c(ServerConnects(1, sim.port));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  uint16_t model = 0;
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(model, 5154);
  RoundTrip(c, 3000, 7);
  // A second client on the same port gets a link of its own.
  EthernetConnection other(ServerConnects(1, sim.port));
  ASSERT_EQ(TavOpen(nullptr, other.data()), 0);
  RoundTrip(other, 600, 9);
  EXPECT_EQ(TavClose(other.data()), 0);
  RoundTrip(c, 100, 11);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(EthernetEndToEnd, FaultsAndDroppedLinksAreRepeatedAway) {
  TcpPeer sim({"--faults", "bcc=3,nak=4,drop=7,other=2,split=2,pause=30"});
  EthernetConnection c(ServerConnects(2, sim.port), 1);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  RoundTrip(c, 3000, 100);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(EthernetEndToEnd, HeaderLinksCarryTheRouteHeaderBothWays) {
  TcpPeer sim({"--header", "--faults", "bcc=3,nak=4,drop=7,other=2,split=2,pause=30"});
  EthernetConnection c(ServerConnects(7, sim.port, true), 1);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  RoundTrip(c, 3000, 200);
  EXPECT_EQ(TavClose(c.data()), 0);
  // A bare peer behind a header link: its answers are refused.
  TcpPeer bare({});
  EthernetConnection wrong(ServerConnects(8, bare.port, true), 1);
  ASSERT_EQ(TavOpen(nullptr, wrong.data()), 0);
  uint16_t word = 0;
  EXPECT_EQ(TavReadUnitWords(wrong.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), -10035);
  EXPECT_EQ(TavClose(wrong.data()), 0);
}

TEST(EthernetEndToEnd, APlcThatHangsUpIsReconnectedTransparently) {
  TcpPeer sim({"--faults", "hangup=5"});
  EthernetConnection c(ServerConnects(9, sim.port));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  RoundTrip(c, 3000, 300);  // 12 frames: the link drops twice
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(EthernetEndToEnd, ABroadcastReturnsAfterThePause) {
  TcpPeer sim({});
  EthernetConnection c(ServerConnects(10, sim.port));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  char answer[64];
  int length = -1;
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(TavSendCommand(c.data(), 0, "%FF#UWD00000900010001", answer, sizeof answer, &length), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(950));  // SLPTIME
  EXPECT_EQ(TavClose(c.data()), 0);
}

// Ethernet retries off: a request that gets no answer is sent once.
TEST(EthernetEndToEnd, RetriesOffSendEachFrameOnce) {
  char path[1024];
  ASSERT_EQ(TavGetFilePath("KELD_TAVCOMM.INI", path, sizeof path), 0);
  const std::string before = keldtest::ReadWholeFile(path);
  std::ofstream(path) << "[ETHERNETRETRY]\nRETRY=0\n";
  const std::string logPath = keldtest::FreshDir("retry") + "/plcsim.log";
  TcpPeer sim({"--station", "5", "--log"}, logPath);
  EthernetConnection c(ServerConnects(11, sim.port), 1);
  const int rc = TavOpen(nullptr, c.data());
  std::ofstream(path) << before;  // later servers start with the usual settings
  ASSERT_EQ(rc, 0);
  uint16_t word = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), -10039);
  EXPECT_EQ(TavReadUnitWords(c.data(), 5, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), 0);
  EXPECT_EQ(TavClose(c.data()), 0);
  sim.peer.Stop();
  const std::string log = keldtest::ReadWholeFile(logPath);
  size_t frames = 0;
  for (size_t at = log.find("< %01#UR"); at != std::string::npos; at = log.find("< %01#UR", at + 1)) ++frames;
  EXPECT_EQ(frames, 1u) << log;
}

TEST(EthernetEndToEnd, ALinkNobodyAnswersFailsTheOpen) {
  EthernetConnection c(ServerConnects(3, keldtest::FreeLoopbackPort()));
  EXPECT_EQ(TavOpen(nullptr, c.data()), -10040);
}

TEST(EthernetEndToEnd, AConnectThatHangsIsPublishedAndCancelledByItsClient) {
  using Clock = std::chrono::steady_clock;
  constexpr int kLimitSec = 120;
  // The server hands its DISPTIME to the client with the wait.
  char path[1024];
  ASSERT_EQ(TavGetFilePath("KELD_TAVCOMM.INI", path, sizeof path), 0);
  const std::string before = keldtest::ReadWholeFile(path);
  std::ofstream(path) << "[ETHERNETRETRY]\nDISPTIME=4\n";
  // The open's own connect: the set-up fails (-10040) as soon as it is cancelled.
  {
    keldtest::FullBacklogListener hang;
    ASSERT_GT(hang.port, 0);
    auto link = ServerConnects(7, hang.port);
    link.connectLimitSec = kLimitSec;
    EthernetConnection c(link);
    auto open = std::async(std::launch::async, [&] { return TavOpen(nullptr, c.data()); });
    TavConnectWait wait{};
    ASSERT_EQ(ConnectWaitOfThisProcess(wait, 30), 1);
    EXPECT_EQ(wait.port, 4 + 7);
    EXPECT_EQ(std::string(wait.address), "127.0.0.1:" + std::to_string(hang.port));
    EXPECT_EQ(wait.dispTimeSec, 4);
    EXPECT_GE(TavSteadyMs() - wait.startMs, 900);  // published at the first retry
    const auto cancelled = Clock::now();
    ASSERT_EQ(TavCancelConnect(wait.port, wait.handle), 0);
    ASSERT_EQ(open.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(open.get(), -10040);
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(20));
    EXPECT_EQ(TavGetConnectWait(0, &wait), 0);  // the wait is no longer published
  }
  // A request whose link dropped reconnects first; a cancel ends it with -10042.
  auto sim = std::make_unique<TcpPeer>(std::vector<std::string>{});
  const int port = sim->port;
  auto link = ServerConnects(8, port);
  link.connectLimitSec = kLimitSec;
  EthernetConnection c(link);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  RoundTrip(c, 4, 3);
  sim.reset();
  keldtest::FullBacklogListener hang(port);
  ASSERT_EQ(hang.port, port);
  auto read = std::async(std::launch::async, [&] {
    uint16_t word = 0;
    return TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, kTables, 1, &word);
  });
  TavConnectWait wait{};
  ASSERT_EQ(ConnectWaitOfThisProcess(wait, 30), 1);
  EXPECT_EQ(wait.handle, tavinter::CConnectionRecord(c.data()).ClientHandle());
  // The Ethernet port number names the server's port too.
  ASSERT_EQ(TavCancelConnect(8, wait.handle), 0);
  ASSERT_EQ(read.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_EQ(read.get(), -10042);
  EXPECT_EQ(TavClose(c.data()), 0);
  std::ofstream(path) << before;
}

TEST(EthernetEndToEnd, TheServerReconnectsWhenThePlcComesBack) {
  auto sim = std::make_unique<TcpPeer>(std::vector<std::string>{});
  const int port = sim->port;
  EthernetConnection c(ServerConnects(4, port));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  RoundTrip(c, 10, 1);
  // The PLC goes away and comes back on the same port.
  sim.reset();
  PeerProcess again("plcsim", {"--tcp", std::to_string(port)});
  ASSERT_NE(again.ReadLine().find("listening"), std::string::npos);
  RoundTrip(c, 10, 2);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(EthernetEndToEnd, ALinkThePlcOpens) {
  const int listenPort = keldtest::FreeLoopbackPort();
  EthernetConnection c(PlcConnects(5, listenPort, "127.0.0.1"));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  EXPECT_EQ(AcceptCheck(c), 0);  // nobody has connected yet
  uint16_t word = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), -10047);
  PeerProcess plc("plcsim", {"--connect", "127.0.0.1:" + std::to_string(listenPort)});
  ASSERT_EQ(WaitForPlc(c, 20), kAccepted);
  EXPECT_EQ(AcceptCheck(c), kAccepted);
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), 0);
  EXPECT_EQ(word, 5154);
  RoundTrip(c, 1000, 3);
  // Request 16 on a link the PLC opened sends nothing and counts as answered.
  std::array<unsigned char, TAV_REQUEST_RECORD_SIZE> rec{};
  const char text[] = "%01#RDD0000000001";
  std::copy(text, text + sizeof text, rec.begin() + 53);
  unsigned char answer[16] = {};
  int length = 0;
  ASSERT_EQ(TavRequest(c.data(), 16, rec.data(), answer, sizeof answer, &length), 0);
  ASSERT_GE(length, 2);
  EXPECT_EQ(answer[0], '$');
  EXPECT_EQ(answer[1], 0);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(EthernetEndToEnd, APlcFromAnotherHostIsRefused) {
  const int listenPort = keldtest::FreeLoopbackPort();
  // Only 127.0.0.2 may connect; plcsim connects from 127.0.0.1.
  EthernetConnection c(PlcConnects(6, listenPort, "127.0.0.2"));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  PeerProcess plc("plcsim", {"--connect", "127.0.0.1:" + std::to_string(listenPort)});
  EXPECT_NE(plc.ReadLine().find("connected"), std::string::npos);
  EXPECT_EQ(WaitForPlc(c, 3), 0);
  uint16_t word = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &word), -10047);
  EXPECT_EQ(TavClose(c.data()), 0);
}

// ---- closing, vanished clients, a full listener, log files, routes ----------

// Runs fn with KELD_TAVCOMM.INI holding text; the file is put back after.
void WithServerSettings(const std::string& text, const std::function<void()>& fn) {
  char path[1024];
  ASSERT_EQ(TavGetFilePath("KELD_TAVCOMM.INI", path, sizeof path), 0);
  const std::string before = keldtest::ReadWholeFile(path);
  std::ofstream(path) << text;
  fn();
  std::ofstream(path) << before;
}

// Waits up to seconds for done() to hold.
bool WaitFor(int seconds, const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

double SecondsOf(const std::function<void()>& fn) {
  const auto t0 = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

TEST(EthernetEndToEnd, AfterCloseAddsItsPauseToEachClose) {
  TcpPeer sim({});
  EthernetConnection plain(ServerConnects(12, sim.port));
  ASSERT_EQ(TavOpen(nullptr, plain.data()), 0);
  const double without = SecondsOf([&] { EXPECT_EQ(TavClose(plain.data()), 0); });
  EthernetConnection paused(ServerConnects(13, sim.port));
  WithServerSettings("[ETHERNETRETRY]\nAFTERCLOSE=1\n", [&] { ASSERT_EQ(TavOpen(nullptr, paused.data()), 0); });
  RoundTrip(paused, 10, 5);
  const double with = SecondsOf([&] { EXPECT_EQ(TavClose(paused.data()), 0); });
  EXPECT_GE(with, 0.95);
  EXPECT_GE(with - without, 0.8) << without << " s without the pause";
}

// The established connections plcsim holds on its port.
int ConnectionsTo(int port) {
  std::ifstream in("/proc/net/tcp");
  std::string line;
  std::getline(in, line);
  int n = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    const auto colon = local.find(':');
    if (state == "01" && colon != std::string::npos && std::stoi(local.substr(colon + 1), nullptr, 16) == port) ++n;
  }
  return n;
}

TEST(EthernetEndToEnd, AKilledClientsLinkClosesWithinATick) {
  TcpPeer sim({});
  EthernetConnection mine(ServerConnects(14, sim.port));
  ASSERT_EQ(TavOpen(nullptr, mine.data()), 0);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    EthernetConnection theirs(ServerConnects(14, sim.port));
    int16_t handle = TavOpen(nullptr, theirs.data()) == 0 ? tavinter::CConnectionRecord(theirs.data()).ClientHandle() : 0;
    if (write(ready[1], &handle, sizeof handle) != sizeof handle) _exit(1);
    pause();
    _exit(0);
  }
  int16_t handle = 0;
  ASSERT_EQ(read(ready[0], &handle, sizeof handle), static_cast<ssize_t>(sizeof handle));
  ASSERT_GT(handle, 0);
  EXPECT_EQ(TavEthernetLinkCount(18), 2);
  EXPECT_EQ(TavGetClientEthernetLink(handle, nullptr, nullptr, nullptr), 0);
  EXPECT_TRUE(WaitFor(10, [&] { return ConnectionsTo(sim.port) == 2; }));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  // The next ticks find the client gone: its link leaves the table and its socket closes.
  EXPECT_TRUE(WaitFor(10, [] { return TavEthernetLinkCount(18) == 1; }));
  EXPECT_EQ(TavGetClientEthernetLink(handle, nullptr, nullptr, nullptr), TAV_E_NOT_OPEN);
  EXPECT_TRUE(WaitFor(10, [&] { return ConnectionsTo(sim.port) == 1; })) << ConnectionsTo(sim.port);
  RoundTrip(mine, 10, 6);
  EXPECT_EQ(TavClose(mine.data()), 0);
  close(ready[0]);
  close(ready[1]);
}

TEST(EthernetEndToEnd, AListenerWithAFullBacklogFailsTheOpenAtTheLimit) {
  keldtest::FullBacklogListener hang;
  ASSERT_GT(hang.port, 0);
  auto link = ServerConnects(15, hang.port);
  link.connectLimitSec = 2;
  EthernetConnection c(link);
  int rc = 0;
  const double took = SecondsOf([&] { rc = TavOpen(nullptr, c.data()); });
  EXPECT_EQ(rc, -10040);
  EXPECT_GE(took, 1.9);
  EXPECT_LT(took, 30.0);
  EXPECT_EQ(TavEthernetLinkCount(19), 0);  // a link that failed is not kept
}

// The log viewer's switch for the Ethernet ports, and the log folder.
bool SwitchEthernetLog(const std::string& folder, bool on) {
  using platform::Hive;
  const std::string key = "SOFTWARE\\KELD\\KELD_TavScope\\LogFile";
  return platform::Registry::WriteString(Hive::CurrentUser, key, "Folder", folder) &&
         platform::Registry::WriteString(Hive::CurrentUser, key, "Ethernet", on ? "1" : "0");
}

TEST(EthernetEndToEnd, TheLogFileOfAnEthernetPortHoldsTheFramesAndThePlcsArrival) {
  const std::string folder = keldtest::FreshDir("ethernet-logs");
  ASSERT_TRUE(SwitchEthernetLog(folder, true));
  const int listenPort = keldtest::FreeLoopbackPort();
  EthernetConnection c(PlcConnects(3, listenPort, "127.0.0.1"));
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  PeerProcess plc("plcsim", {"--connect", "127.0.0.1:" + std::to_string(listenPort)});
  ASSERT_EQ(WaitForPlc(c, 20), kAccepted);
  uint16_t model = 0;
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(c.data()), 0);
  SwitchEthernetLog(folder, false);
  std::vector<std::filesystem::path> files;
  for (auto& e : std::filesystem::directory_iterator(folder)) files.push_back(e.path());
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_EQ(name.rfind("TavEthernet3_", 0), 0u) << name;
  EXPECT_EQ(name.size(), std::string("TavEthernet3_YYMMDD_HHMMSS.Log").size()) << name;
  const std::string content = keldtest::ReadWholeFile(files[0].string());
  EXPECT_NE(content.find("Connected from 127.0.0.1:"), std::string::npos) << content;
  EXPECT_NE(content.find("%01#UR"), std::string::npos) << content;
  EXPECT_NE(content.find("$UR1422"), std::string::npos) << content;
}

// A request record for request 10 or 15 along a route of the library settings.
std::array<unsigned char, TAV_REQUEST_RECORD_SIZE> Routed(uint16_t route, const std::string& text) {
  std::array<unsigned char, TAV_REQUEST_RECORD_SIZE> rec{};
  rec[6] = 1;  // the station the client names; the route's end wins
  rec[24] = static_cast<unsigned char>(route & 0xFF);
  rec[25] = static_cast<unsigned char>(route >> 8);
  std::copy(text.begin(), text.end(), rec.begin() + 53);
  return rec;
}

TEST(EthernetEndToEnd, ARouteOfTheSettingsGoesInTheHeader) {
  char path[1024];
  ASSERT_EQ(TavGetFilePath("KELD_TAVINTER.INI", path, sizeof path), 0);
  std::ofstream(path, std::ios::app) << "\n[ROUTES]\nROUTE7=\"2.3,4.6;0.5\"\n";
  const std::string logPath = keldtest::FreshDir("route") + "/plcsim.log";
  TcpPeer sim({"--station", "5", "--header", "--log"}, logPath);
  auto link = ServerConnects(16, sim.port, true);
  link.sourceStation = 9;
  EthernetConnection c(link);
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  unsigned char answer[64] = {};
  int length = 0;
  auto read = Routed(7, "%05#UR0000002001");
  ASSERT_EQ(TavRequest(c.data(), 10, read.data(), answer, sizeof answer, &length), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), 7), "$UR1422");
  // A monitor request along the route registers with the route's station.
  auto monitor = Routed(7, "%05#MDD00100");
  TavRequest(c.data(), 15, monitor.data(), answer, sizeof answer, &length);
  // A route the settings do not hold sends nothing.
  auto missing = Routed(8, "%05#UR0000002001");
  EXPECT_EQ(TavRequest(c.data(), 10, missing.data(), answer, sizeof answer, &length), -10040);
  EXPECT_EQ(TavClose(c.data()), 0);
  sim.peer.Stop();
  const std::string log = keldtest::ReadWholeFile(logPath);
  // 0x10 0, text length 19 ("%05#UR0000002001", code, CR), 3, source station 9, 3,
  // two hops (2, 3) and (4, 6), unit 0, station 5.
  EXPECT_NE(log.find("< header 10 00 13 00 03 09 03 02 02 03 04 06 00 05\n"), std::string::npos) << log;
  EXPECT_NE(log.find("%05#MDFFFFFF"), std::string::npos) << log;
  EXPECT_EQ(log.find("%01#"), std::string::npos) << log;
}

}  // namespace
