#pragma once
// Replays a script of keys as a person would play it: every key change lands up to a few frames
// early or late, at random. A route's win rate under that error says how forgiving it is.
#include <cstdint>
#include <string>

#include "route/InputScript.h"
#include "route/LevelRun.h"

// The fixed seed of every reported win rate and of the checks of shipped routes, so that figures
// are the same from run to run and from tool to test.
constexpr std::uint64_t kTrialSeed = 20261208;

// Seconds of no key played after a script ends, so that a glider on its way still reaches the exit.
constexpr int kRunOutFrames = 2 * kFramesPerSecond;

// A small, fixed-seed generator, so that every tool and test measures the same trials.
class TrialRandom {
 public:
  explicit TrialRandom(std::uint64_t seed) : state_(seed) {}
  // A whole number in [-bound, bound], each equally likely.
  int offset(int bound);

 private:
  std::uint64_t next();
  std::uint64_t state_;
};

// The script with each key change, the first press and the final release included, moved by its
// own offset in [-maxOffsetFrames, maxOffsetFrames]; a change moved past a later one is lost, as a
// late tap is. The result ends with kRunOutFrames of no key.
InputScript jitterScript(const InputScript& script, int maxOffsetFrames, TrialRandom& random);

// The script played exactly, then kRunOutFrames of no key.
InputScript withRunOut(const InputScript& script);

struct WinRate {
  int wins = 0;
  int trials = 0;
  double rate() const { return trials > 0 ? static_cast<double>(wins) / trials : 0.0; }
};

// Plays `trials` jittered copies of the script; the same seed gives the same trials.
WinRate measureWinRate(LevelRun& run, const InputScript& script, int maxOffsetFrames, int trials,
                       std::uint64_t seed);
// Adds `trials` more to `rate`, drawn from `random` where the last call left it: a rate measured
// in parts is the same as one measured at once.
void addTrials(WinRate& rate, LevelRun& run, const InputScript& script, int maxOffsetFrames, int trials,
               TrialRandom& random);

// A route's figures: whether it wins played exactly (with the run-out), and its win rates at
// each of kRateMilliseconds of timing error over the same fixed-seed trials.
constexpr int kRateMilliseconds[] = {50, 100, 150};
// Jittered replays at each error behind every reported win rate.
constexpr int kRateTrials = 500;
struct RouteRates {
  bool exact = false;
  WinRate rates[3];
};
RouteRates measureRouteRates(LevelRun& run, const InputScript& script, int trials);

// Whole frames for an error of `milliseconds` at the run's frame rate (100 ms is 6 frames).
int framesForMilliseconds(int milliseconds);
