#include "connect_watch_cli.h"

#include <csignal>
#include <cstdio>

#include "tavinter/connect_cancel.h"

namespace axcfg::cli {

namespace {

constexpr auto kPoll = std::chrono::milliseconds(100);

volatile std::sig_atomic_t gInterrupted = 0;

void OnInterrupt(int) { gInterrupted = 1; }

// SIGINT cancels the connect while one waits; the previous handling comes
// back afterwards, and an interrupt that came too late for the connect is
// delivered to it.
class CInterruptCatch {
 public:
  void Catch() {
    if (caught_) return;
    gInterrupted = 0;
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    caught_ = sigaction(SIGINT, &sa, &previous_) == 0;
  }
  void Release() {
    if (!caught_) return;
    sigaction(SIGINT, &previous_, nullptr);
    caught_ = false;
    if (gInterrupted) {
      gInterrupted = 0;
      std::raise(SIGINT);
    }
  }

 private:
  bool caught_ = false;
  struct sigaction previous_ {};
};

}  // namespace

CConsoleConnectWatch::CConsoleConnectWatch() : thread_([this] { Run(); }) {}

CConsoleConnectWatch::~CConsoleConnectWatch() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void CConsoleConnectWatch::Run() {
  CInterruptCatch interrupt;
  long long announced = 0;  // start of the wait already announced
  std::unique_lock<std::mutex> lock(mutex_);
  while (!wake_.wait_for(lock, kPoll, [this] { return stop_; })) {
    TavConnectWait wait{};
    if (TavGetConnectWait(0, &wait) != 1) {
      interrupt.Release();
      announced = 0;
      continue;
    }
    if (wait.startMs != announced) {
      announced = wait.startMs;
      std::fprintf(stderr, "axcfg: connecting to %s (Ctrl+C cancels)\n", wait.address);
      interrupt.Catch();
    }
    if (gInterrupted) {
      gInterrupted = 0;
      TavCancelConnect(wait.port, wait.handle);
    }
  }
  interrupt.Release();
}

}  // namespace axcfg::cli
