#pragma once
// Timing and summary figures shared by the benchmarks.
#include <chrono>
#include <vector>

namespace perf {

// Milliseconds on the steady clock since an arbitrary start.
inline double nowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The value below which the given fraction (0..1) of the samples lie, nearest rank; 0 if none.
double percentile(std::vector<double> samples, double fraction);
// The middle sample, or the mean of the two middle ones; 0 if none.
double median(std::vector<double> samples);

// Prints "name: measured / limit = ratio (target <= maxRatio): pass|FAIL" and says whether it passed.
bool reportRatio(const char* name, double measured, double limit, double maxRatio);

}  // namespace perf
