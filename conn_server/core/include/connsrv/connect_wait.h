#pragma once
// The wait for an outgoing connection: try, wait up to a second for it to
// complete, pause 100 ms and try again until the connect limit has passed
// (a limit of 0 or less means 180 s), the try fails outright, or the user
// cancels. Nothing else is served during the wait; only the cancel flag is
// read between tries.
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
  // The first try did not complete at once: the connect is waiting now.
  virtual void Waiting(const std::string& address) = 0;
  virtual bool Cancelled() = 0;
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
