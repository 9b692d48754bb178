// Many client processes at once against one warm server on the simulation
// channel, and peers that connect to the request socket and stall.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ethernet_fleet.h"
#include "load_fleet.h"
#include "sim_connection.h"
#include "platform/folders.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "test_home.h"

namespace {

using Connection = keldload::SimConnection;

std::string Describe(const keldload::FleetReport& r) {
  std::string s = "opened " + std::to_string(r.opened) + ", open failed " + std::to_string(r.openFailed) +
                  ", failures " + std::to_string(r.failures) + ", wrong " + std::to_string(r.wrong) + ", codes:";
  for (auto [code, n] : r.firstCodes) s += " " + std::to_string(code) + "x" + std::to_string(n);
  return s;
}

// A socket on the server's request endpoint that sends only what it is given.
int ConnectRaw(int port) {
  const std::string endpoint = platform::RuntimeDir() + "/KELDTAVINTER" + std::to_string(port);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, endpoint.c_str(), sizeof addr.sun_path - 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

TEST(LoadEndToEnd, SixtyFourClientsAtOnceEachGetTheirOwnWordsBack) {
  Connection warm("warm");
  ASSERT_EQ(TavOpen(nullptr, warm.data()), 0);
  keldload::CLoadFleet::Options o;
  o.program = keldtest::BinPath("tav_load_client");
  o.clients = 64;
  o.words = 10;
  o.cycles = 20;
  keldload::CLoadFleet fleet(o);
  ASSERT_EQ(fleet.Started(), 64);
  ASSERT_TRUE(fleet.WaitOpened(180000)) << Describe(fleet.Report());
  const auto r = fleet.Finish(300000);
  EXPECT_EQ(r.opened, 64) << Describe(r);
  EXPECT_EQ(r.done, 64) << Describe(r);
  EXPECT_EQ(r.cycles, 64 * 20);
  EXPECT_EQ(r.failures, 0) << Describe(r);
  EXPECT_EQ(r.wrong, 0);
  EXPECT_EQ(r.badExits, 0);
  EXPECT_EQ(TavClose(warm.data()), 0);
}

TEST(LoadEndToEnd, ThirtyTwoEthernetClientsOverFourPortsEachGetTheirOwnWordsBack) {
  const auto run = keldload::RunEthernetFleet(32, 4, 10, 10);
  ASSERT_TRUE(run.started) << Describe(run.report);
  EXPECT_EQ(run.report.done, 32) << Describe(run.report);
  EXPECT_EQ(run.report.cycles, 32 * 10);
  EXPECT_EQ(run.report.failures, 0) << Describe(run.report);
  EXPECT_EQ(run.report.wrong, 0);
}

TEST(LoadEndToEnd, PeersThatConnectAndStallHoldNobodyElse) {
  Connection c("steady");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  // Three peers connect; one says nothing, two send part of a request.
  std::array<int, 3> stalled{};
  for (size_t i = 0; i < stalled.size(); ++i) {
    stalled[i] = ConnectRaw(326);
    ASSERT_GE(stalled[i], 0);
    if (i > 0) {
      char part[100] = {};
      ASSERT_EQ(::send(stalled[i], part, sizeof part, MSG_NOSIGNAL), 100);
    }
  }
  // A whole request is served while the stalled peers still wait: each of
  // them has its own read limit and no answer yet.
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(model, 5154);
  for (int fd : stalled) {
    char b;
    EXPECT_EQ(::recv(fd, &b, 1, MSG_DONTWAIT), -1);
    EXPECT_EQ(errno, EAGAIN);
  }
  // Their limit ends: the server drops them without a reply and goes on.
  for (int fd : stalled) {
    char b;
    timeval tv{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    EXPECT_EQ(::recv(fd, &b, 1, 0), 0);
    ::close(fd);
  }
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(c.data()), 0);
}

}  // namespace

namespace {

// The port's client list is full at 512: the next open is refused by the
// server with its list code, not by the library for want of a handle.
TEST(LoadEndToEnd, FullClientListRefusesTheNextOpenWithTheListCode) {
  std::vector<std::unique_ptr<Connection>> held;
  for (int i = 0; i < 512; ++i) {
    held.push_back(std::make_unique<Connection>("many"));
    ASSERT_EQ(TavOpen(nullptr, held.back()->data()), 0) << i;
  }
  Connection extra("extra");
  EXPECT_EQ(TavOpen(nullptr, extra.data()), -10007);
  // One leaves: the next one fits.
  EXPECT_EQ(TavClose(held.back()->data()), 0);
  EXPECT_EQ(TavOpen(nullptr, extra.data()), 0);
  EXPECT_EQ(TavClose(extra.data()), 0);
  held.pop_back();
  for (auto& c : held) EXPECT_EQ(TavClose(c->data()), 0);
}

}  // namespace

namespace {

// A process of another user reaches neither the socket nor the server: it is
// told the server belongs to another user, and the server never sees it.
TEST(LoadSecurity, AnotherUsersProcessIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a child as another user";
  Connection c("owner");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    char answer[64];
    int length = 0;
    const int rc = TavSendCommand(c.data(), 0, "%01#RT", answer, sizeof answer, &length);
    ::_exit(rc == TAV_E_PEER_USER ? 0 : 1);
  }
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // The owner's connection goes on as before, still the port's only client.
  TavStatusSnapshot status2{};
  ASSERT_EQ(TavGetStatus(&status2), 0);
  EXPECT_EQ(status2.portClients[325], 1);
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(c.data()), 0);
}

// A server started with a runtime folder that others may enter refuses to
// run and says why; a client is told the same before anything is made.
TEST(LoadSecurity, ARuntimeFolderOpenToOthersIsRefused) {
  const std::string home = keldtest::FreshDir("open-home");
  const std::string run = home + "/run";
  ASSERT_EQ(::mkdir(run.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(run.c_str(), 0777), 0);
  const std::string command = "KELD_HOME=" + home + " " + keldtest::BinPath("KELD_TAVMGR") + " -326 -1 2>" + home +
                              "/err.txt";
  const int rc = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(rc));
  EXPECT_EQ(WEXITSTATUS(rc), 4);
  std::ifstream err(home + "/err.txt");
  std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("open to other users"), std::string::npos) << text;
  struct stat st {};
  ASSERT_EQ(::stat(run.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0777u);
  EXPECT_FALSE(std::filesystem::exists(run + "/KELDTAVINTER326"));
}

}  // namespace
