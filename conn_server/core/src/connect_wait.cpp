#include "connsrv/connect_wait.h"

#include "connsrv/result_codes.h"

namespace connsrv {

int WaitForConnect(IConnectTry& attempt, IClock& clock, int limitSec, bool oneTry, const std::string& address,
                   IConnectWatch* watch) {
  const int64_t limitMs = static_cast<int64_t>(limitSec > 0 ? limitSec : kDefaultConnectLimitSec) * 1000;
  const int64_t start = clock.NowMs();
  bool waiting = false;
  int result = kErrEthernetAccept;
  for (;;) {
    const int rc = attempt.Try(kConnectTryWaitMs);
    if (rc == 0) {
      result = kOk;
      break;
    }
    if (rc < 0 || oneTry) break;
    if (!waiting && watch) watch->Waiting(address);
    waiting = true;
    if ((watch && watch->Cancelled()) || clock.NowMs() - start >= limitMs) break;
    clock.SleepMs(kConnectPauseMs);
    if ((watch && watch->Cancelled()) || clock.NowMs() - start >= limitMs) break;
  }
  if (waiting && watch) watch->Ended();
  return result;
}

}  // namespace connsrv
