#pragma once
// The keep-alive of a moving axis: while tool operation moves an axis the
// unit expects its keep-alive word renewed within its time-out, else it stops
// the axis. One worker writes it every WatchTimerInterval milliseconds.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace axcfg {

class CUnitLink;

class CKeepAlive {
 public:
  // Why the worker ended by itself: a link code (non-zero) or the unit having
  // left tool operation mode (result 0, status kKeepAliveModeLeft).
  using EndCallback = std::function<void(int result, uint8_t status)>;

  // `onEnd` runs on the worker when it ends by itself; it must not call Stop.
  CKeepAlive(CUnitLink& link, int watchMs, EndCallback onEnd);
  ~CKeepAlive();
  CKeepAlive(const CKeepAlive&) = delete;
  CKeepAlive& operator=(const CKeepAlive&) = delete;

  // Starts the worker unless it runs; a worker that ended is replaced.
  void Start();
  // Ends the pause at once and waits for the worker. After a stop without
  // error or release the word is written once more as "not alive".
  void Stop();
  bool IsRunning() const;

  // The error that ended the last worker (0 when none) and its status byte.
  int Result() const;
  uint8_t Status() const;

 private:
  void Run();
  void Join();

  CUnitLink& link_;
  int watchMs_;
  EndCallback onEnd_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread worker_;
  bool stop_ = false;
  bool running_ = false;
  int result_ = 0;
  uint8_t status_ = 0;
};

}  // namespace axcfg
