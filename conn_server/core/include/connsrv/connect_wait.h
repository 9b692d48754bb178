#pragma once
// The wait for an outgoing connection: try, wait up to a second for it to
// complete, pause 100 ms and try again until the connect limit has passed
// (a limit of 0 or less means 180 s), the try fails outright, or the user
// cancels. Nothing else is served during the wait; only the cancel flag is
// read, every 100 ms.
#include <string>

#include "connsrv/byte_link.h"

namespace connsrv {

class IConnectTry {
 public:
  virtual ~IConnectTry() = default;
  // One connect step that waits at most waitMs: 0 connected, 1 not yet, < 0 failed.
  virtual int Try(int waitMs) = 0;
};

// Who watches a connect: the client shows its connecting window from this.
class IConnectWatch {
 public:
  virtual ~IConnectWatch() = default;
  // A connect begins: a cancel left over from an earlier one is dropped.
  virtual void Begin() = 0;
  // The first try did not complete: the connect waits now, elapsedMs so far.
  virtual void Waiting(const std::string& address, int64_t elapsedMs) = 0;
  // True once the user cancelled the connect (asked every 100 ms).
  virtual bool Cancelled() = 0;
  // A connect that was waiting has ended.
  virtual void Ended() = 0;
};

constexpr int kDefaultConnectLimitSec = 180;
constexpr int kConnectTryWaitMs = 1000;
constexpr int kConnectPauseMs = 100;

// 0 once connected, else -10042. With oneTry a connect that does not
// complete within the first try's wait fails.
int WaitForConnect(IConnectTry& attempt, IClock& clock, int limitSec, bool oneTry, const std::string& address,
                   IConnectWatch* watch);

}  // namespace connsrv
