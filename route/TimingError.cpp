#include "route/TimingError.h"

#include <algorithm>
#include <vector>

std::uint64_t TrialRandom::next() {
  // splitmix64: tiny, fast and well spread, which is all a trial's offsets need.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int TrialRandom::offset(int bound) {
  if (bound <= 0) return 0;
  const std::uint64_t span = static_cast<std::uint64_t>(2 * bound + 1);
  return static_cast<int>(next() % span) - bound;
}

namespace {

// A moment the held key becomes `input`, in frames from the level's start.
struct KeyChange {
  int frame;
  Steer input;
};

// The script as the changes a player makes: a press or switch at each span whose key differs from
// the one before (no key before the first), and a release at the end if a key is still held.
std::vector<KeyChange> keyChanges(const InputScript& script, int& length) {
  std::vector<KeyChange> changes;
  Steer held = Steer::None;
  length = 0;
  for (const InputSpan& span : script) {
    if (span.frames <= 0) continue;
    if (span.input != held) changes.push_back({length, span.input});
    held = span.input;
    length += span.frames;
  }
  if (held != Steer::None) changes.push_back({length, Steer::None});
  return changes;
}

}  // namespace

InputScript withRunOut(const InputScript& script) {
  InputScript out = script;
  out.push_back({Steer::None, kRunOutFrames});
  return compactScript(out);
}

InputScript jitterScript(const InputScript& script, int maxOffsetFrames, TrialRandom& random) {
  int length = 0;
  std::vector<KeyChange> changes = keyChanges(script, length);
  int end = length;
  for (KeyChange& change : changes) {
    change.frame = std::max(0, change.frame + random.offset(maxOffsetFrames));
    end = std::max(end, change.frame);
  }
  // Frame by frame, the key of the latest change (in the script's order) that has happened: a
  // change overtaken by a later one never shows.
  InputScript out;
  int current = -1;
  for (int frame = 0; frame < end; ++frame) {
    for (int i = static_cast<int>(changes.size()) - 1; i > current; --i) {
      if (changes[static_cast<std::size_t>(i)].frame <= frame) {
        current = i;
        break;
      }
    }
    const Steer input = current < 0 ? Steer::None : changes[static_cast<std::size_t>(current)].input;
    out.push_back({input, 1});
  }
  out.push_back({Steer::None, kRunOutFrames});
  return compactScript(out);
}

WinRate measureWinRate(LevelRun& run, const InputScript& script, int maxOffsetFrames, int trials,
                       std::uint64_t seed) {
  TrialRandom random(seed);
  WinRate result;
  addTrials(result, run, script, maxOffsetFrames, trials, random);
  return result;
}

void addTrials(WinRate& rate, LevelRun& run, const InputScript& script, int maxOffsetFrames, int trials,
               TrialRandom& random) {
  for (int t = 0; t < trials; ++t) {
    const InputScript played = jitterScript(script, maxOffsetFrames, random);
    if (replayScript(run, played).outcome == Outcome::Won) ++rate.wins;
    ++rate.trials;
  }
}

RouteRates measureRouteRates(LevelRun& run, const InputScript& script, int trials) {
  RouteRates result;
  result.exact = replayScript(run, withRunOut(script)).outcome == Outcome::Won;
  for (int i = 0; i < 3; ++i)
    result.rates[i] = measureWinRate(run, script, framesForMilliseconds(kRateMilliseconds[i]), trials, kTrialSeed);
  return result;
}

int framesForMilliseconds(int milliseconds) {
  return (milliseconds * kFramesPerSecond + 500) / 1000;
}
