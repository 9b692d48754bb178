// Faults end to end through the library and a started server on the
// simulation channel: the server killed in the middle of requests, a client
// killed while it works, the runtime folder taken away under the server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "load_fleet.h"
#include "sim_connection.h"
#include "platform/folders.h"
#include "server_process.h"
#include "tavinter/connection_record.h"
#include "tavinter/tavinter.h"
#include "test_home.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Connection : keldload::SimConnection {
  explicit Connection(const char* name) : SimConnection(name, 1) {}
};

template <typename Cond>
bool WaitFor(Cond cond, int limitMs) {
  const auto until = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!cond()) {
    if (Clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST(Faults, ServerKilledDuringRequestsGivesAnErrorAndTheNextOpenStartsAnother) {
  Connection c("victim");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  const pid_t server = keldload::FindServer();
  ASSERT_GT(server, 0);
  // Requests back to back while the server is killed: one of them fails,
  // each within the reply limit, and none after it succeeds.
  std::atomic<int> firstError{0};
  std::atomic<long> slowestMs{0};
  std::thread load([&] {
    std::vector<uint16_t> words(200, 0x1234);
    for (int i = 0; i < 100000 && firstError == 0; ++i) {
      const auto t0 = Clock::now();
      const int rc = TavWriteUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x850, 200, words.data());
      const long ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
      if (ms > slowestMs) slowestMs = ms;
      if (rc != 0) firstError = rc;
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(::kill(server, SIGKILL), 0);
  load.join();
  EXPECT_TRUE(firstError == TAV_E_SERVER_LOST || firstError == TAV_E_BAD_REPLY) << firstError;
  // The reply limit of a 1 s channel is three attempts plus the slack.
  EXPECT_LT(slowestMs.load(), 30000);
  EXPECT_TRUE(WaitFor([&] { return !keldload::Alive(server); }, 10000));
  // The dead server's connection stays broken; a new open starts a new server.
  uint16_t model = 0;
  EXPECT_NE(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  Connection fresh("fresh");
  ASSERT_EQ(TavOpen(nullptr, fresh.data()), 0);
  EXPECT_EQ(TavReadUnitWords(fresh.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(model, 5154);
  const pid_t second = keldload::FindServer();
  EXPECT_GT(second, 0);
  EXPECT_NE(second, server);
  EXPECT_EQ(TavClose(fresh.data()), 0);
}

TEST(Faults, AClientKilledWhileItWorksLeavesTheListAndOthersGoOn) {
  Connection steady("steady");
  ASSERT_EQ(TavOpen(nullptr, steady.data()), 0);
  keldload::CLoadFleet::Options o;
  o.program = keldtest::BinPath("tav_load_client");
  o.clients = 1;
  o.words = 100;
  o.seconds = 60;
  keldload::CLoadFleet fleet(o);
  ASSERT_TRUE(fleet.WaitOpened(60000));
  TavStatusSnapshot status{};
  ASSERT_EQ(TavGetStatus(&status), 0);
  EXPECT_EQ(status.portClients[325], 2);
  fleet.Release();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the client is in its cycles
  const pid_t server = keldload::FindServer();
  fleet.KillAll();
  // Within a tick or two the server notices and drops the client.
  EXPECT_TRUE(WaitFor([&] { return TavGetStatus(&status) == 0 && status.portClients[325] == 1; }, 10000));
  EXPECT_TRUE(keldload::Alive(server));
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(steady.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), 0);
  EXPECT_EQ(TavClose(steady.data()), 0);
}

TEST(Faults, RuntimeFolderRemovedUnderARunningServer) {
  Connection c("orphan");
  ASSERT_EQ(TavOpen(nullptr, c.data()), 0);
  const pid_t server = keldload::FindServer();
  ASSERT_GT(server, 0);
  std::filesystem::remove_all(platform::RuntimeDir());
  // The socket is gone: the client hears that its server is lost, at once.
  uint16_t model = 0;
  EXPECT_EQ(TavReadUnitWords(c.data(), 1, TAV_MEMORY_UNIT, 0, 0x002, 1, &model), TAV_E_SERVER_LOST);
  // The server itself goes on and ends once its client has gone.
  EXPECT_TRUE(keldload::Alive(server));
}

}  // namespace
