#include <chrono>
#include <thread>

#include "connsrv/byte_link.h"

namespace connsrv {

namespace {
class CSystemClock : public IClock {
 public:
  int64_t NowMs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
  void SleepMs(int ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
};
}  // namespace

IClock& SystemClock() {
  static CSystemClock clock;
  return clock;
}

}  // namespace connsrv
