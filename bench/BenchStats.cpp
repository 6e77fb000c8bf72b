#include "bench/BenchStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace perf {

double percentile(std::vector<double> samples, double fraction) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const double rank = std::ceil(fraction * static_cast<double>(samples.size()));
  const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
  return samples[std::min(index, samples.size() - 1)];
}

double median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const std::size_t half = samples.size() / 2;
  return samples.size() % 2 ? samples[half] : (samples[half - 1] + samples[half]) / 2;
}

bool reportRatio(const char* name, double measured, double limit, double maxRatio) {
  const double ratio = measured / limit;
  const bool pass = ratio <= maxRatio;
  std::printf("%s: %.3f / %.3f = %.3f (target <= %.2f): %s\n", name, measured, limit, ratio, maxRatio,
              pass ? "pass" : "FAIL");
  return pass;
}

}  // namespace perf
