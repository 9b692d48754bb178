#include "platform/named_event.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

#include "platform/folders.h"

namespace platform {

// Lives in the shared memory object; only ever used in place.
struct NamedEventShared {
  std::atomic<uint32_t> ready;
  pthread_mutex_t mutex;
  pthread_cond_t cond;
  int signalled;
};

namespace {

constexpr uint32_t kReady = 0x4B45564Eu;  // set once the creator has initialised the object

// Takes the inner mutex; a holder that died leaves it consistent again.
bool LockShared(NamedEventShared* s) {
  int rc = pthread_mutex_lock(&s->mutex);
  if (rc == EOWNERDEAD) {
    pthread_mutex_consistent(&s->mutex);
    return true;
  }
  return rc == 0;
}

NamedEventShared* Map(int fd) {
  void* p = mmap(nullptr, sizeof(NamedEventShared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return p == MAP_FAILED ? nullptr : static_cast<NamedEventShared*>(p);
}

// An opener may come while the creator is still initialising.
bool WaitReady(NamedEventShared* s) {
  for (int i = 0; i < 2000; ++i) {
    if (s->ready.load(std::memory_order_acquire) == kReady) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return false;
}

}  // namespace

std::string NamedEvent::ShmName(const std::string& name) {
  std::string r = "/keld-" + NamespaceTag() + "-";
  for (unsigned char c : name) r.push_back((std::isalnum(c) || c == '-' || c == '_') ? c : '_');
  return r;
}

NamedEvent::~NamedEvent() { Close(); }

void NamedEvent::Close() {
  if (shared_) munmap(shared_, sizeof(NamedEventShared));
  shared_ = nullptr;
  existed_ = false;
}

bool NamedEvent::Create(const std::string& name, bool initiallySignalled) {
  Close();
  std::string shm = ShmName(name);
  int fd = shm_open(shm.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno != EEXIST) return false;
    if (!Open(name)) return false;
    existed_ = true;
    return true;
  }
  if (ftruncate(fd, sizeof(NamedEventShared)) != 0) {
    close(fd);
    shm_unlink(shm.c_str());
    return false;
  }
  NamedEventShared* s = Map(fd);
  close(fd);
  if (!s) {
    shm_unlink(shm.c_str());
    return false;
  }
  pthread_mutexattr_t ma;
  pthread_mutexattr_init(&ma);
  pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
  pthread_mutex_init(&s->mutex, &ma);
  pthread_mutexattr_destroy(&ma);
  pthread_condattr_t ca;
  pthread_condattr_init(&ca);
  pthread_condattr_setpshared(&ca, PTHREAD_PROCESS_SHARED);
  pthread_condattr_setclock(&ca, CLOCK_MONOTONIC);
  pthread_cond_init(&s->cond, &ca);
  pthread_condattr_destroy(&ca);
  s->signalled = initiallySignalled ? 1 : 0;
  s->ready.store(kReady, std::memory_order_release);
  shared_ = s;
  return true;
}

bool NamedEvent::Open(const std::string& name) {
  Close();
  int fd = shm_open(ShmName(name).c_str(), O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // The creator may not have sized it yet.
  for (int i = 0; i < 2000; ++i) {
    off_t size = lseek(fd, 0, SEEK_END);
    if (size >= static_cast<off_t>(sizeof(NamedEventShared))) break;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  NamedEventShared* s = Map(fd);
  close(fd);
  if (!s) return false;
  if (!WaitReady(s)) {
    munmap(s, sizeof(NamedEventShared));
    return false;
  }
  shared_ = s;
  existed_ = true;
  return true;
}

bool NamedEvent::Set() {
  if (!shared_ || !LockShared(shared_)) return false;
  shared_->signalled = 1;
  pthread_cond_broadcast(&shared_->cond);
  pthread_mutex_unlock(&shared_->mutex);
  return true;
}

bool NamedEvent::Reset() {
  if (!shared_ || !LockShared(shared_)) return false;
  shared_->signalled = 0;
  pthread_mutex_unlock(&shared_->mutex);
  return true;
}

bool NamedEvent::IsSignalled() const {
  if (!shared_ || !LockShared(shared_)) return false;
  bool s = shared_->signalled != 0;
  pthread_mutex_unlock(&shared_->mutex);
  return s;
}

bool NamedEvent::Wait(int timeoutMs) {
  if (!shared_ || !LockShared(shared_)) return false;
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  if (timeoutMs >= 0) {
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1000000000L;
    }
  }
  while (!shared_->signalled) {
    int rc = timeoutMs < 0 ? pthread_cond_wait(&shared_->cond, &shared_->mutex)
                           : pthread_cond_timedwait(&shared_->cond, &shared_->mutex, &deadline);
    if (rc == EOWNERDEAD) pthread_mutex_consistent(&shared_->mutex);
    else if (rc == ETIMEDOUT) break;
    else if (rc != 0) break;
  }
  bool s = shared_->signalled != 0;
  pthread_mutex_unlock(&shared_->mutex);
  return s;
}

void NamedEvent::Remove(const std::string& name) { shm_unlink(ShmName(name).c_str()); }

}  // namespace platform
