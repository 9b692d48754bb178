#pragma once
// axcfg's view of an Ethernet connect that waits in the server: one line on
// stderr when the wait begins, and Ctrl+C (SIGINT) cancels the connect while
// it waits. Outside a wait SIGINT keeps its usual effect.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace axcfg::cli {

class CConsoleConnectWatch {
 public:
  // Watches the connect waits of this process from a thread of its own.
  CConsoleConnectWatch();
  ~CConsoleConnectWatch();
  CConsoleConnectWatch(const CConsoleConnectWatch&) = delete;
  CConsoleConnectWatch& operator=(const CConsoleConnectWatch&) = delete;

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace axcfg::cli
