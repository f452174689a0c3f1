#pragma once
// The benchmark runs on a machine shared with other work, so it measures the processor time
// of its own thread rather than wall time: waiting for a core does not count.
#include <ctime>

namespace tessival::bench {

inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace tessival::bench
