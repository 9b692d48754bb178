#include "axcfg_unit/keep_alive.h"

#include <chrono>

#include "axcfg_unit/unit_link.h"

namespace axcfg {

CKeepAlive::CKeepAlive(CUnitLink& link, int watchMs, EndCallback onEnd)
    : link_(link), watchMs_(watchMs), onEnd_(std::move(onEnd)) {}

CKeepAlive::~CKeepAlive() { Stop(); }

void CKeepAlive::Start() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (running_) return;
  lock.unlock();
  Join();  // a worker that ended by itself
  lock.lock();
  stop_ = false;
  running_ = true;
  result_ = 0;
  status_ = 0;
  worker_ = std::thread([this] { Run(); });
}

void CKeepAlive::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  Join();
}

void CKeepAlive::Join() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

bool CKeepAlive::IsRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

int CKeepAlive::Result() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return result_;
}

uint8_t CKeepAlive::Status() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

void CKeepAlive::Run() {
  uint8_t status = 0;
  int rc = 0;
  bool ended = false;  // by an error or the unit leaving tool operation mode
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_) {
    lock.unlock();
    status = 0;
    rc = link_.KeepAlive(status, true);
    lock.lock();
    status_ = status;
    if (rc != 0 || (status & kKeepAliveModeLeft)) {
      ended = true;
      break;
    }
    wake_.wait_for(lock, std::chrono::milliseconds(watchMs_), [this] { return stop_; });
  }
  if (!ended) {
    lock.unlock();
    rc = link_.KeepAlive(status, false);
    lock.lock();
    status_ = status;
  }
  result_ = rc;
  running_ = false;
  lock.unlock();
  if (ended && onEnd_) onEnd_(rc, status);
}

}  // namespace axcfg
