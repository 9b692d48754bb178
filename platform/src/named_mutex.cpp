#include "platform/named_mutex.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "platform/folders.h"

namespace platform {

namespace {
// Lock file names keep letters, digits and a few marks; others become '_'.
std::string SafeName(const std::string& name) {
  std::string r;
  for (unsigned char c : name) r.push_back((std::isalnum(c) || c == '-' || c == '_' || c == '.') ? c : '_');
  return r.empty() ? std::string("_") : r;
}
}  // namespace

NamedMutex::NamedMutex(std::string name) : name_(std::move(name)) {
  std::string dir = RuntimeDir() + "/locks";
  std::string error;
  if (CheckRuntimeDir(error)) EnsureDir(dir, 0700);  // nothing is made in a folder that is refused
  path_ = dir + "/" + SafeName(name_) + ".lock";
}

NamedMutex::~NamedMutex() {
  Unlock();
  if (fd_ >= 0) ::close(fd_);
}

bool NamedMutex::Open() {
  if (fd_ >= 0) return true;
  std::string error;
  if (!CheckRuntimeDir(error)) return false;
  EnsureDir(path_.substr(0, path_.rfind('/')), 0700);
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  return fd_ >= 0;
}

bool NamedMutex::TryLock() {
  if (held_) return true;
  if (!Open()) return false;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  held_ = true;
  return true;
}

bool NamedMutex::Lock(int timeoutMs) {
  if (timeoutMs < 0) {
    if (held_) return true;
    if (!Open()) return false;
    while (::flock(fd_, LOCK_EX) != 0)
      if (errno != EINTR) return false;
    held_ = true;
    return true;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (TryLock()) return true;
    if (fd_ < 0 || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void NamedMutex::Unlock() {
  if (!held_) return;
  ::flock(fd_, LOCK_UN);
  held_ = false;
}

}  // namespace platform
