// The level generator's figures: for each of three targets (the difficulty of shipped levels 3,
// 12 and 25) and SEEDS seeds, the time to a level, the rooms built per level kept, how far the
// kept level's +-100 ms rate lands from its target, and the seeds given up on. Stray objects are
// none in every kept level by construction; the count of rooms turned down for them is printed.
// Usage: generator_figures LEVELS_DIR [SEEDS]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchStats.h"
#include "route/LevelGenerator.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: generator_figures LEVELS_DIR [SEEDS]\n");
    return 2;
  }
  const int seeds = argc > 2 ? std::atoi(argv[2]) : 20;
  std::vector<double> times, errors, rooms;
  int givenUp = 0;
  for (int like : {3, 12, 25}) {
    double target = 0;
    std::string error;
    if (!rateOfShippedLevel(argv[1], like, target, error)) {
      std::fprintf(stderr, "generator_figures: %s\n", error.c_str());
      return 2;
    }
    for (int seed = 1; seed <= seeds; ++seed) {
      const double begin = perf::nowMs();
      const GeneratedLevel level = generateLevel(static_cast<std::uint64_t>(seed), target);
      times.push_back((perf::nowMs() - begin) / 1000);
      if (!level.found) {
        ++givenUp;
        continue;
      }
      errors.push_back(std::fabs(level.rate100 - target) * 100);
      rooms.push_back(level.rooms);
    }
  }
  double meanError = 0, meanRooms = 0, worstError = 0;
  for (double e : errors) meanError += e / static_cast<double>(errors.size()), worstError = std::max(worstError, e);
  for (double r : rooms) meanRooms += r / static_cast<double>(rooms.size());
  const double median = perf::median(times), worst = perf::percentile(times, 1.0);
  std::printf("generated %zu levels of %zu asked (like levels 3, 12 and 25, %d seeds each); %d given up\n",
              errors.size(), times.size(), seeds, givenUp);
  std::printf("time per level: median %.2f s, worst %.2f s (target <= 1 s median, <= 3 s worst): %s\n", median,
              worst, median <= 1 && worst <= 3 ? "pass" : "FAIL");
  std::printf("rooms built per level kept: mean %.1f\n", meanRooms);
  std::printf("calibration error at +-100 ms: mean %.1f points, worst %.1f (tolerance %.0f)\n", meanError,
              worstError, kRateTolerance * 100);
  return median <= 1 && worst <= 3 ? 0 : 1;
}
