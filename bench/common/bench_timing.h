#pragma once
// Timing of benchmark steps: each step runs several times and the median and
// the fastest run are printed (the fastest is the figure least disturbed by
// other work on the machine).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace bench {

struct Timing {
  double median = 0;
  double fastest = 0;
};

template <typename F>
Timing MeasureMs(int runs, F&& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    step();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front()};
}

// As above, with `prepare` run untimed before each step.
template <typename P, typename F>
Timing MeasureMs(int runs, P&& prepare, F&& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    auto t0 = std::chrono::steady_clock::now();
    step();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front()};
}

// The processor time the calling thread spent in each run, median and
// fastest: what the step itself costs, apart from waiting for a processor on
// a busy machine.
template <typename F>
Timing MeasureCpuMs(int runs, F&& step) {
  auto now = [] {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
  };
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double t0 = now();
    step();
    times.push_back(now() - t0);
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front()};
}

inline void Print(const char* what, const Timing& t) {
  std::printf("%-22s median %8.3f ms   fastest %8.3f ms\n", what, t.median, t.fastest);
}

}  // namespace bench
