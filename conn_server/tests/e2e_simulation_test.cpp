// Through the interface library, a started KELD_TAVMGR and the simulated PLC:
// the whole road of a unit memory read and write.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"

namespace {

struct Connection {
  std::array<unsigned char, TAV_CONNECTION_RECORD_SIZE> bytes{};
  explicit Connection(const char* name) {
    tavinter::CConnectionRecord r(bytes.data());
    r.SetName(name);
    r.SetKind(tavinter::kKindSimulation);
    r.SetTimeout(3);
    r.SetLanguage(1);
  }
  unsigned char* data() { return bytes.data(); }
};

TEST(SimulationEndToEnd, ReadsAndWritesUnitWordsThroughTheServer) {
  Connection c("e2e");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  uint16_t model = 0;
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(model, 5154);

  // A write and read-back across a frame boundary (500 words a frame).
  std::vector<uint16_t> out(1200), in(1200);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint16_t>(i * 7 + 1);
  const long base = 0x850;  // the first positioning tables of axis 1
  ASSERT_EQ(TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, base, 1200, out.data()), 0);
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, base, 1200, in.data()), 0);
  EXPECT_EQ(in, out);

  // The unit answers "!60" for an empty slot; the library reports it as -11000 - 60.
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 5, 0x002, 1, &model), -11060);
  // Another station never answers: the server reports no answer.
  EXPECT_EQ(TavReadUnitWords(c.data(), 7, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), -10012);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(SimulationEndToEnd, TwoClientsShareOneServerThatEndsWhenIdle) {
  Connection a("first"), b("second");
  ASSERT_EQ(TavOpen(nullptr, a.data()), 0);
  ASSERT_EQ(TavOpen(nullptr, b.data()), 0);
  TavStatusSnapshot status{};
  ASSERT_EQ(TavGetStatus(&status), 0);
  EXPECT_TRUE(status.portInUse[325]);
  EXPECT_EQ(status.portClients[325], 2);
  EXPECT_EQ(TavClose(a.data()), 0);
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(b.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(b.data()), 0);
  // More than three seconds without clients: the server withdraws and ends.
  bool ended = false;
  for (int i = 0; i < 80 && !ended; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    TavGetStatus(&status);
    ended = !status.portInUse[325];
  }
  EXPECT_TRUE(ended);
  // The next open starts a new server copy.
  Connection again("again");
  ASSERT_EQ(TavOpen(nullptr, again.data()), 0);
  EXPECT_EQ(TavReadUnitWords(again.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(again.data()), 0);
}

}  // namespace

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "peer_process.h"
#include "platform/folders.h"
#include "platform/registry.h"

namespace {

int ClientsOnSimulationPort() {
  TavStatusSnapshot status{};
  if (TavGetStatus(&status) != 0) return -1;
  return status.portClients[325];
}

TEST(SimulationEndToEnd, SecondServerCopyIsRefused) {
  Connection c("holder");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  keldtest::PeerProcess second("KELD_TAVMGR", {"-326", "-1"});
  EXPECT_EQ(second.Wait(5000), 1);
  // The running copy is untouched.
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(c.data()), 0);
}

TEST(SimulationEndToEnd, KilledClientIsRemovedAtTheNextTick) {
  Connection mine("survivor");
  ASSERT_EQ(TavOpen(nullptr, mine.data()), 0);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    Connection doomed("doomed");
    char ok = TavOpen(nullptr, doomed.data()) == 0 ? 1 : 0;
    (void)!write(ready[1], &ok, 1);
    pause();
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 1);
  EXPECT_EQ(ClientsOnSimulationPort(), 2);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  int clients = 2;
  for (int i = 0; i < 40 && clients != 1; ++i) {
    usleep(100000);
    clients = ClientsOnSimulationPort();
  }
  EXPECT_EQ(clients, 1);
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(mine.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(mine.data()), 0);
}

// The log viewer's settings: the simulation port's switch and the folder.
bool SwitchSimulationLog(const std::string& folder, bool on) {
  using platform::Hive;
  const std::string key = "SOFTWARE\\KELD\\KELD_TavScope\\LogFile";
  return platform::Registry::WriteString(Hive::CurrentUser, key, "Folder", folder) &&
         platform::Registry::WriteString(Hive::CurrentUser, key, "Simulation", on ? "1" : "0");
}

TEST(SimulationEndToEnd, LoggingSwitchedOnWritesTheNamedFileWithinATick) {
  Connection c("logged");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  const std::string folder = keldtest::FreshDir("logs");
  ASSERT_TRUE(SwitchSimulationLog(folder, true));
  usleep(1300000);  // the next tick picks the switch up
  uint16_t model = 0;
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  std::vector<std::filesystem::path> files;
  for (auto& e : std::filesystem::directory_iterator(folder)) files.push_back(e.path());
  ASSERT_EQ(files.size(), 1u);
  std::string name = files[0].filename().string();
  EXPECT_EQ(name.rfind("TavSml_", 0), 0u) << name;
  EXPECT_EQ(name.size(), std::string("TavSml_YYMMDD_HHMMSS.Log").size()) << name;
  std::ifstream in(files[0]);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(content.find("#UR"), std::string::npos);
  EXPECT_NE(content.find("$UR"), std::string::npos);
  EXPECT_EQ(TavClose(c.data()), 0);
}

// Counts the lines of a text file that contain what.
int CountLinesWith(const std::string& path, const std::string& what) {
  std::ifstream in(path);
  int n = 0;
  for (std::string line; std::getline(in, line);)
    if (line.find(what) != std::string::npos) ++n;
  return n;
}

// The log file stops taking records (the disk is full, the folder is gone):
// requests go on, the trouble is told once, and once more when it is over.
TEST(SimulationEndToEnd, LogFileThatCannotBeWrittenIsToldOnceAndRequestsGoOn) {
  Connection c("full disk");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  const std::string folder = keldtest::FreshDir("fulllogs");
  ASSERT_TRUE(SwitchSimulationLog(folder, true));
  uint16_t model = 0;
  std::filesystem::path file;
  for (int i = 0; i < 100 && file.empty(); ++i) {
    ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
    for (auto& e : std::filesystem::directory_iterator(folder)) file = e.path();
    if (file.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(file.empty()) << "logging never started";
  const std::string errFile = platform::RuntimeDir() + "/KELD_TAVMGR326.err";
  const std::string told = "Log file " + file.string() + " cannot be written";

  // Every write to the file now fails as on a full disk.
  std::filesystem::remove(file);
  std::filesystem::create_symlink("/dev/full", file);
  const int linesBefore = TavPortLineCount(326);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(CountLinesWith(errFile, told + ": No space left on device"), 1);
  // The frames and the one notice still reach the viewer.
  EXPECT_GT(TavPortLineCount(326), linesBefore);
  bool noticeInRing = false;
  for (int i = 0; i < 3000 && !noticeInRing; ++i) {
    char line[256] = {};
    if (TavCopyPortLine(326, i, line, sizeof line) >= 0)
      noticeInRing = std::string(line).find("cannot be written") != std::string::npos;
  }
  EXPECT_TRUE(noticeInRing);

  // Room again: the records go to the file, and that is told once too.
  std::filesystem::remove(file);
  ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_EQ(CountLinesWith(errFile, "Log file " + file.string() + " is written again"), 1);

  // The folder replaced by a plain file: the same once-only notice, no failed request.
  std::filesystem::remove_all(folder);
  { std::ofstream(folder) << "not a folder"; }
  for (int i = 0; i < 10; ++i) ASSERT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(CountLinesWith(errFile, told), 2);

  ASSERT_TRUE(SwitchSimulationLog(folder, false));
  EXPECT_EQ(TavClose(c.data()), 0);
  std::filesystem::remove(folder);
}

TEST(SimulationEndToEnd, ConcurrentClientsWaitTheirTurn) {
  Connection a("first"), b("second");
  ASSERT_EQ(TavOpen(nullptr, a.data()), 0);
  ASSERT_EQ(TavOpen(nullptr, b.data()), 0);
  std::vector<uint16_t> outA(2000), outB(2000);
  for (size_t i = 0; i < 2000; ++i) {
    outA[i] = static_cast<uint16_t>(i);
    outB[i] = static_cast<uint16_t>(0x8000 + i);
  }
  int rcA = -1, rcB = -1;
  std::thread ta([&] { rcA = TavWriteUnitWords(a.data(), 1, TAV_MEMORY_UNIT, 0, 0x2850, 2000, outA.data()); });
  std::thread tb([&] { rcB = TavWriteUnitWords(b.data(), 1, TAV_MEMORY_UNIT, 0, 0x5050, 2000, outB.data()); });
  ta.join();
  tb.join();
  EXPECT_EQ(rcA, 0);
  EXPECT_EQ(rcB, 0);
  std::vector<uint16_t> in(2000);
  ASSERT_EQ(TavReadUnitWords(a.data(), 1, TAV_MEMORY_UNIT, 0, 0x2850, 2000, in.data()), 0);
  EXPECT_EQ(in, outA);
  ASSERT_EQ(TavReadUnitWords(b.data(), 1, TAV_MEMORY_UNIT, 0, 0x5050, 2000, in.data()), 0);
  EXPECT_EQ(in, outB);
  EXPECT_EQ(TavClose(a.data()), 0);
  EXPECT_EQ(TavClose(b.data()), 0);
}

}  // namespace

namespace {

TEST(SimulationEndToEnd, AnyRequestCodeThroughTheLibrary) {
  Connection c("raw requests");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  unsigned char answer[64];
  int length = -1;
  EXPECT_EQ(TavRequest(c.data(), 13, nullptr, answer, sizeof answer, &length), 0);  // accepted, nothing done
  EXPECT_EQ(length, 0);
  EXPECT_EQ(TavRequest(c.data(), 100, nullptr, answer, sizeof answer, &length), -10091);  // a board request
  // A PLC command in a request record: the answer comes back from its "$" on.
  tavinter::CRequestRecord record;
  record.SetStation(1);
  ASSERT_TRUE(record.SetCommandText("%01#UR0000002001"));
  ASSERT_EQ(TavRequest(c.data(), 10, record.Bytes().data(), answer, sizeof answer, &length), 0);
  ASSERT_GE(length, 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), 3), "$UR");
  EXPECT_EQ(TavRequest(c.data(), 10, record.Bytes().data(), answer, 2, &length), TAV_E_BUFFER_SMALL);
  EXPECT_EQ(TavClose(c.data()), 0);
}

}  // namespace
