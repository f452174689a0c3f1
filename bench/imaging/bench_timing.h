#pragma once
// Timing for the imaging benchmarks. The machine is shared with other work, so they measure
// the processor time of their own thread, not wall time, and report medians.
#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace tessival::bench {

inline double ThreadProcessorMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

inline double TimeMs(const std::function<void()>& work) {
  const double start = ThreadProcessorMs();
  work();
  return ThreadProcessorMs() - start;
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace tessival::bench
