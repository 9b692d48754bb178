#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/named_event.h"
#include "platform/named_mutex.h"

using platform::NamedEvent;
using platform::NamedMutex;

namespace {

// A child process that runs fn and exits with its result; the pipe tells the
// parent when the child has reached the point of interest.
struct Child {
  pid_t pid = -1;
  int ready = -1;
  template <typename Fn>
  explicit Child(Fn fn) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid = fork();
    if (pid == 0) {
      close(fds[0]);
      _exit(fn(fds[1]));
    }
    close(fds[1]);
    ready = fds[0];
  }
  bool WaitReady() {
    char c;
    return read(ready, &c, 1) == 1;
  }
  int Join() {
    int status = 0;
    waitpid(pid, &status, 0);
    close(ready);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
};

void Signal(int fd) {
  char c = 1;
  (void)!write(fd, &c, 1);
}

TEST(NamedMutex, SecondHolderRefusedAndKilledHolderFreesIt) {
  Child holder([](int ready) {
    NamedMutex m("KELDTAVMUTEX326");
    if (!m.TryLock()) return 1;
    Signal(ready);
    pause();  // held until killed
    return 0;
  });
  ASSERT_TRUE(holder.WaitReady());
  NamedMutex mine("KELDTAVMUTEX326");
  EXPECT_FALSE(mine.TryLock());
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(mine.Lock(100));
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(90));
  // Another name is independent.
  NamedMutex other("KELDTAVMUTEX70");
  EXPECT_TRUE(other.TryLock());
  kill(holder.pid, SIGKILL);
  holder.Join();
  EXPECT_TRUE(mine.Lock(2000));
  EXPECT_TRUE(mine.IsHeld());
  mine.Unlock();
  EXPECT_FALSE(mine.IsHeld());
}

TEST(NamedEvent, ManualResetAcrossProcesses) {
  NamedEvent::Remove("KELDTIMERNO70");
  NamedEvent ev;
  ASSERT_TRUE(ev.Create("KELDTIMERNO70", false));
  EXPECT_FALSE(ev.AlreadyExisted());
  EXPECT_FALSE(ev.IsSignalled());
  EXPECT_FALSE(ev.Wait(30));

  Child waiter([](int ready) {
    NamedEvent e;
    if (!e.Open("KELDTIMERNO70")) return 2;
    Signal(ready);
    if (!e.Wait(5000)) return 3;
    // Manual reset: stays signalled for a second wait.
    return e.Wait(0) ? 0 : 4;
  });
  ASSERT_TRUE(waiter.WaitReady());
  ASSERT_TRUE(ev.Set());
  EXPECT_EQ(waiter.Join(), 0);
  EXPECT_TRUE(ev.IsSignalled());
  ASSERT_TRUE(ev.Reset());
  EXPECT_FALSE(ev.Wait(10));

  // Creating an existing event opens it and keeps its state.
  NamedEvent again;
  ASSERT_TRUE(again.Create("KELDTIMERNO70", true));
  EXPECT_TRUE(again.AlreadyExisted());
  EXPECT_FALSE(again.IsSignalled());
  NamedEvent::Remove("KELDTIMERNO70");
  NamedEvent gone;
  EXPECT_FALSE(gone.Open("KELDTIMERNO70"));
}

TEST(NamedEvent, WaiterKilledDoesNotBlockOthers) {
  NamedEvent::Remove("KELDTAVCOMMNO71");
  NamedEvent ev;
  ASSERT_TRUE(ev.Create("KELDTAVCOMMNO71", false));
  Child victim([](int ready) {
    NamedEvent e;
    if (!e.Open("KELDTAVCOMMNO71")) return 2;
    Signal(ready);
    e.Wait(-1);
    return 0;
  });
  ASSERT_TRUE(victim.WaitReady());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  kill(victim.pid, SIGKILL);
  victim.Join();
  EXPECT_TRUE(ev.Set());
  EXPECT_TRUE(ev.Wait(100));
  NamedEvent::Remove("KELDTAVCOMMNO71");
}

}  // namespace
