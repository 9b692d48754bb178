#include "connsrv/connect_wait.h"

#include "connsrv/result_codes.h"

namespace connsrv {

int WaitForConnect(IConnectTry& attempt, IClock& clock, int limitSec, bool oneTry, const std::string& address,
                   IConnectWatch* watch) {
  const int64_t limitMs = static_cast<int64_t>(limitSec > 0 ? limitSec : kDefaultConnectLimitSec) * 1000;
  const int64_t start = clock.NowMs();
  auto cancelled = [watch] { return watch && watch->Cancelled(); };
  auto expired = [&] { return clock.NowMs() - start >= limitMs; };
  if (watch) watch->Begin();
  bool waiting = false;
  bool stop = false;
  int rc = 1;
  for (;;) {
    // One try: connect, then wait up to a second for it to complete, in
    // slices of 100 ms so that a cancel ends the wait within one of them.
    const int64_t tryStart = clock.NowMs();
    do {
      rc = attempt.Try(kConnectPauseMs);
      stop = rc == 1 && cancelled();
    } while (rc == 1 && !stop && clock.NowMs() - tryStart < kConnectTryWaitMs);
    if (rc != 1 || stop || oneTry) break;
    if (!waiting && watch) watch->Waiting(address, clock.NowMs() - start);
    waiting = true;
    if (expired()) break;
    clock.SleepMs(kConnectPauseMs);
    if (cancelled() || expired()) break;
  }
  if (waiting && watch) watch->Ended();
  return rc == 0 ? kOk : kErrEthernetAccept;
}

}  // namespace connsrv
