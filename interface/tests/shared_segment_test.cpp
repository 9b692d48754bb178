// The shared segment across processes: concurrent writers and a reader, a
// writer killed while it holds the lock, and client handles that stay unique
// between processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "client_handles.h"
#include "request_transport.h"
#include "shared_segment.h"
#include "tavinter/tavinter.h"

using namespace tavinter;

namespace {

constexpr int kPort = 70;

// Runs fn in a child process; returns its pid.
template <typename Fn>
pid_t Child(Fn fn) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int rc = fn();
    ::_exit(rc);
  }
  return pid;
}

int WaitExit(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> PortLines(int port) {
  std::vector<std::string> lines;
  int count = TavPortLineCount(port);
  int start = TavPortOldestLine(port);
  int capacity = 0;
  TavPortRecordArea(port, &capacity);
  for (int i = 0; i < count; ++i) {
    char line[128];
    TavCopyPortLine(port, (start + i) % capacity, line, sizeof line);
    lines.emplace_back(line);
  }
  return lines;
}

class SegmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(MappedSegment(), nullptr);
    ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
    ASSERT_EQ(TavAttachPortRecords(kPort), 0);
    TavResetPortRecords(kPort);
  }
  // The segment outlives the test: give back every port this process or a
  // dead child of it holds, so later tests in the same process find them free.
  void TearDown() override {
    for (int port = 1; port <= TAV_PORT_COUNT; ++port) TavReleasePortFinal(port);
  }
};

}  // namespace

TEST_F(SegmentTest, TwoWritersAndAReaderSeeWholeRecords) {
  constexpr int kRecords = 300;
  auto writer = [](char tag) {
    return [tag] {
      std::string data = std::string("%01#WR") + tag + std::string(40, tag);
      for (int i = 0; i < kRecords; ++i)
        if (TavLogRecord(kPort, 0, i, 1, static_cast<int>(data.size()), data.data(), "", "") != 0) return 1;
      return 0;
    };
  };
  pid_t a = Child(writer('A'));
  pid_t b = Child(writer('B'));
  // The reader looks while they write: counts only grow, and every line it
  // copies is either a header or a whole data line.
  int last = 0;
  for (int i = 0; i < 200; ++i) {
    int count = TavPortLineCount(kPort);
    EXPECT_GE(count, last);
    last = count;
    char line[128];
    if (count > 0 && TavCopyPortLine(kPort, count - 1, line, sizeof line) == 0 && line[0] != '[') {
      std::string s = line;
      EXPECT_TRUE(s == "%01#WRA" + std::string(40, 'A') || s == "%01#WRB" + std::string(40, 'B')) << s;
    }
  }
  EXPECT_EQ(WaitExit(a), 0);
  EXPECT_EQ(WaitExit(b), 0);

  auto lines = PortLines(kPort);
  ASSERT_EQ(lines.size(), static_cast<size_t>(4 * kRecords));  // header and data per record
  int as = 0, bs = 0;
  for (size_t i = 0; i < lines.size(); i += 2) {
    ASSERT_EQ(lines[i][0], '[') << i;
    EXPECT_NE(lines[i].find("Send"), std::string::npos);
    as += lines[i + 1][6] == 'A';
    bs += lines[i + 1][6] == 'B';
  }
  EXPECT_EQ(as, kRecords);
  EXPECT_EQ(bs, kRecords);
}

TEST_F(SegmentTest, WriterKilledWhileHoldingTheLockDoesNotBlockOthers) {
  TavLogRecord(kPort, 0, 0, 1, 4, "%01#", "", "");
  uint32_t repairsBefore = MappedSegment()->header.repairs;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t victim = Child([&] {
    CSegmentLock lock;
    if (!lock.Held()) return 1;
    // Die in the middle of an update: indices out of range, a line without its NUL.
    SegRing* ring = PortRing(*lock, kPort, nullptr);
    ring->count = ring->capacity + 5;
    char one = 1;
    if (::write(ready[1], &one, 1) != 1) return 1;
    ::raise(SIGKILL);
    return 0;
  });
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  int status = 0;
  ::waitpid(victim, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  // The next writer takes the lock over, repairs the ring and goes on.
  ASSERT_EQ(TavLogRecord(kPort, 0, 0, 0, 6, "$RT0**", "", ""), 0);
  EXPECT_EQ(MappedSegment()->header.repairs, repairsBefore + 1);
  int count = TavPortLineCount(kPort);
  EXPECT_GE(count, 2);
  EXPECT_LE(count, 3000);
  auto lines = PortLines(kPort);
  EXPECT_EQ(lines.back(), "$RT0**");
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST_F(SegmentTest, ClientHandlesAreUniqueAcrossProcesses) {
  constexpr int kChildren = 4;
  constexpr int kEach = 60;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::vector<pid_t> pids;
  for (int c = 0; c < kChildren; ++c) {
    pids.push_back(Child([&] {
      for (int i = 0; i < kEach; ++i) {
        int16_t h = static_cast<int16_t>(AllocateClientHandle("child"));
        if (::write(fds[1], &h, sizeof h) != sizeof h) return 1;
      }
      return 0;
    }));
  }
  for (pid_t p : pids) EXPECT_EQ(WaitExit(p), 0);
  ::close(fds[1]);
  std::set<int> handles;
  int16_t h;
  int total = 0;
  while (::read(fds[0], &h, sizeof h) == sizeof h) {
    ++total;
    EXPECT_GT(h, 0);
    handles.insert(h);
  }
  ::close(fds[0]);
  EXPECT_EQ(total, kChildren * kEach);
  EXPECT_EQ(handles.size(), static_cast<size_t>(total));

  // Those processes are gone: their handles are dead, this process's are alive,
  // and their slots are taken back for new handles, which are new numbers.
  EXPECT_EQ(TavClientAlive(*handles.begin(), 0), 0);
  int own = AllocateClientHandle("parent");
  ASSERT_GT(own, 0);
  EXPECT_EQ(TavClientAlive(own, 0), 1);
  EXPECT_EQ(handles.count(own), 0u);
  for (int i = 0; i < 400; ++i) ASSERT_GT(AllocateClientHandle("many"), 0) << i;
}

TEST_F(SegmentTest, AllSlotsHeldByLiveProcessesGiveNoHandle) {
  std::vector<int> mine;
  int rc = 0;
  for (int i = 0; i <= kClientSlots && rc >= 0; ++i) {
    rc = AllocateClientHandle("x");
    if (rc > 0) mine.push_back(rc);
  }
  EXPECT_EQ(rc, TAV_E_NO_HANDLE);
  // More than one port's 512 clients: a full port never takes another's handles.
  EXPECT_GT(mine.size(), static_cast<size_t>(2 * TAV_CLIENT_SLOTS));
  EXPECT_LE(mine.size(), static_cast<size_t>(kClientSlots));
  EXPECT_EQ(std::set<int>(mine.begin(), mine.end()).size(), mine.size());
  ASSERT_FALSE(mine.empty());
  FreeClientHandle(mine.front());
  int again = AllocateClientHandle("again");
  EXPECT_GT(again, 0);
  EXPECT_NE(again, mine.front());  // a freed number is not handed out again at once
  for (int h : mine) FreeClientHandle(h);
  FreeClientHandle(again);
}

TEST_F(SegmentTest, RingsOfCrashedServersAreTakenBackWhenThePoolRunsOut) {
  // A server process that dies with 15 rings, the pool's rest after port 70's.
  pid_t crashed = Child([] {
    for (int port = 100; port < 100 + kPortRings - 1; ++port) {
      if (TavAttachPort(port, TAV_ROLE_SERVER) != 0 || TavAttachPortRecords(port) != 0) return 1;
    }
    return 0;
  });
  ASSERT_EQ(WaitExit(crashed), 0);
  ASSERT_NE(TavPortRecordArea(100, nullptr), nullptr);
  // A live server still gets rings, and port 70's ring is left alone.
  TavLogRecord(kPort, 0, 0, 1, 4, "keep", "", "");
  for (int port = 200; port < 205; ++port) {
    ASSERT_EQ(TavAttachPort(port, TAV_ROLE_SERVER), 0);
    EXPECT_EQ(TavAttachPortRecords(port), 0) << port;
  }
  EXPECT_EQ(TavPortRecordArea(100, nullptr), nullptr);
  EXPECT_EQ(PortLines(kPort).back(), "keep");
}

TEST_F(SegmentTest, OrphanedClientRingsAreTakenBackWhenThePoolRunsOut) {
  const int live = AllocateClientHandle("live");
  ASSERT_GT(live, 0);
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    Segment& s = *lock;
    SegClient* c = FindClient(s, live);
    ASSERT_NE(c, nullptr);
    // Every ring taken: one by the live client, the rest by handles no slot holds.
    for (int i = 0; i < kClientRings; ++i) s.clientRings[i] = SegRing{30000 + i, kClientRingLines, 5, 0, 0, 0};
    s.clientRings[3].owner = live;
    c->ring = 3;
    const int fresh = AllocClientRing(s, 29999);
    ASSERT_GE(fresh, 0);
    EXPECT_NE(fresh, 3);
    EXPECT_EQ(s.clientRings[fresh].owner, 29999);
    EXPECT_EQ(s.clientRings[fresh].count, 0);
    EXPECT_EQ(s.clientRings[3].owner, live);  // the live client keeps its ring
    EXPECT_EQ(c->ring, 3);
    for (int i = 0; i < kClientRings; ++i) FreeClientRing(s, i);
    c->ring = -1;
  }
  FreeClientHandle(live);
}

TEST_F(SegmentTest, ASecondServerCopyCannotTakeTheRunningOnesPort) {
  constexpr int kBusy = 90;
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  pid_t first = Child([&] {
    if (TavAttachPort(kBusy, TAV_ROLE_SERVER) != 0 || TavPublishEndpoint(kBusy, 1) < 0) return 1;
    char c = 1;
    if (::write(ready[1], &c, 1) != 1 || ::read(release[0], &c, 1) != 1) return 1;
    return 0;
  });
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  // The second copy's announcement, publication and clean-up all leave the first one's port alone.
  EXPECT_EQ(TavAttachPort(kBusy, TAV_ROLE_SERVER), TAV_E_PORT_BUSY);
  EXPECT_EQ(TavPublishEndpoint(kBusy, 1), TAV_E_PORT_BUSY);
  EXPECT_EQ(TavPublishEndpoint(kBusy, 0), TAV_E_PORT_BUSY);
  EXPECT_EQ(TavReleasePort(kBusy), TAV_E_PORT_BUSY);
  EXPECT_EQ(TavReleasePortFinal(kBusy), TAV_E_PORT_BUSY);
  EXPECT_EQ(::access(tavinter::EndpointPath(kBusy).c_str(), F_OK), 0);
  auto status = std::make_unique<TavStatusSnapshot>();
  ASSERT_EQ(TavGetStatus(status.get()), 0);
  EXPECT_EQ(status->portInUse[kBusy - 1], 1);
  // Once the first copy is gone the port is free for a new one.
  ASSERT_EQ(::write(release[1], &c, 1), 1);
  EXPECT_EQ(WaitExit(first), 0);
  EXPECT_EQ(TavAttachPort(kBusy, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavGetStatus(status.get()), 0);
  EXPECT_EQ(status->portInUse[kBusy - 1], 1);
  EXPECT_EQ(TavReleasePort(kBusy), 0);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

// Entries pointing out of range, written by anyone, are never followed: the
// entry an operation uses is mended there, the rest by the next sweep.
TEST_F(SegmentTest, DamagedBookkeepingIsMendedBeforeUse) {
  const int handle = AllocateClientHandle("damaged");
  ASSERT_GT(handle, 0);
  uint32_t repairs = 0;
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    Segment& s = *lock;
    repairs = s.header.repairs;
    s.ports[4].ring = 999;
    FindClient(s, handle)->ring = 12345;
    s.clientRings[3].count = -5;
    s.portRings[2].start = 1 << 30;
  }
  EXPECT_LE(TavClientLineCount(handle), 0);  // no ring: nothing to read, and no crash
  EXPECT_LE(TavPortLineCount(5), 0);
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    EXPECT_GE(lock->header.repairs, repairs + 2);
    EXPECT_EQ(lock->ports[4].ring, -1);
    EXPECT_EQ(FindClient(*lock, handle)->ring, -1);
  }
  // The rings nobody used meanwhile are mended by the sweep.
  SweepSegmentAtNextLock();
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    EXPECT_GE(lock->header.repairs, repairs + 3);
    EXPECT_TRUE(SegmentIsSound(*lock));
    lock->header.nextHandle = -3;
  }
  {
    CSegmentLock lock;  // the handle counter is checked at every lock
    ASSERT_TRUE(lock.Held());
    EXPECT_GT(lock->header.nextHandle, 0);
  }
  EXPECT_GT(AllocateClientHandle("after"), 0);
  FreeClientHandle(handle);
}

TEST_F(SegmentTest, ADamagedRingIsMendedWhereItIsUsed) {
  ASSERT_EQ(TavAttachPort(kPort, TAV_ROLE_SERVER), 0);
  ASSERT_EQ(TavAttachPortRecords(kPort), 0);
  ASSERT_EQ(TavLogRecord(kPort, 0, 0, 1, 4, "%01#", "", ""), 0);
  {
    CSegmentLock lock;
    ASSERT_TRUE(lock.Held());
    SegRing* r = PortRing(*lock, kPort, nullptr);
    ASSERT_NE(r, nullptr);
    r->start = 1 << 30;
    r->capacity = 1 << 30;
  }
  // Neither the append nor the copy goes outside the ring's lines.
  EXPECT_EQ(TavLogRecord(kPort, 0, 0, 1, 4, "%01#", "", ""), 0);
  char line[128];
  EXPECT_EQ(TavCopyPortLine(kPort, (1 << 30) - 1, line, sizeof line), TAV_E_BAD_ARGUMENT);
  EXPECT_EQ(TavPortLineCount(kPort), 2);
  TavReleasePort(kPort);
}
