#pragma once
// A named manual-reset event between processes: POSIX shared memory holding
// a robust process-shared mutex, a condition variable and the state. A
// process that dies while holding the inner mutex does not block the others.
#include <string>

namespace platform {

struct NamedEventShared;

class NamedEvent {
 public:
  NamedEvent() = default;
  ~NamedEvent();
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;

  // Creates the event, or opens it when it exists already (then the initial
  // state is left as it is and AlreadyExisted() is true).
  bool Create(const std::string& name, bool initiallySignalled);
  // Opens an existing event; false when there is none.
  bool Open(const std::string& name);
  void Close();
  bool IsOpen() const { return shared_ != nullptr; }
  bool AlreadyExisted() const { return existed_; }

  bool Set();
  bool Reset();
  bool IsSignalled() const;
  // Waits until signalled; timeoutMs < 0 waits forever. True when signalled.
  bool Wait(int timeoutMs = -1);

  // Removes the shared object of that name (the event ends for new openers).
  static void Remove(const std::string& name);
  static std::string ShmName(const std::string& name);

 private:
  NamedEventShared* shared_ = nullptr;
  bool existed_ = false;
};

}  // namespace platform
