#pragma once
// Clocks and memory readings for the benchmark.

#include <chrono>
#include <functional>

namespace bench {

// Seconds of the fastest of `repeat` runs of `work`.
double fastestSeconds(int repeat, const std::function<void()>& work);

struct PeakMemory {
  bool ok = false;
  long long peakBytes = 0;    // resident-set growth from before `work` to its peak
  long long reportBytes = 0;  // what `work` reports (for example its arrays' size)
};

// Runs `work` in a forked child so that the peak of the resident set belongs
// to it alone; the child's high-water mark after the work minus its resident
// set before it. `work` returns a figure of its own to report, or -1 on failure.
PeakMemory peakMemoryOf(const std::function<long long()>& work);

}  // namespace bench
