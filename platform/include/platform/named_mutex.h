#pragma once
// A named mutex between processes: an exclusive flock on a file in the
// runtime folder. The kernel frees it when the holding process dies, so a
// crashed holder never blocks anyone.
#include <string>

namespace platform {

class NamedMutex {
 public:
  explicit NamedMutex(std::string name);
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // Takes the lock without waiting; false when another holder has it.
  bool TryLock();
  // Waits up to timeoutMs (negative: forever); false on time-out or error.
  bool Lock(int timeoutMs = -1);
  void Unlock();
  bool IsHeld() const { return held_; }
  const std::string& Name() const { return name_; }
  const std::string& LockPath() const { return path_; }

 private:
  bool Open();
  std::string name_;
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace platform
