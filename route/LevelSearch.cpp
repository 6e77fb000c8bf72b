#include "route/LevelSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <queue>
#include <unordered_set>
#include <vector>

#include "route/RouteMap.h"

namespace {

// Runs whose glider states fall in the same cell of this grid are merged (units, units/s).
constexpr float kPositionStep = 0.5f;
constexpr float kVelocityStep = 1.0f;
// Seconds of play a change of key costs in the ranking, so that found scripts stay calm.
constexpr float kKeyChangeCost = 0.05f;
// Speed that turns distance to an exit into seconds for the ranking, units/s.
constexpr float kRankingSpeed = 15.0f;

constexpr Steer kInputs[] = {Steer::None, Steer::Left, Steer::Right};

struct Step {
  std::uint32_t parent;  // index into the history; the start is its own parent
  Steer input;
};

struct Open {
  float rank;           // lower is searched first
  std::uint32_t state;  // index into the stored states
  bool operator<(const Open& other) const { return rank > other.rank; }
};

struct Stored {
  PlaySnapshot state;
  std::uint32_t step;  // index into the history
  std::int32_t segments;
  float changes;       // key changes so far
};

// The frame nearest an exit so far: where in the history it branched off, and how far into its
// segment it lies.
struct Nearest {
  float distance;
  std::uint32_t parent;  // the history step the segment started from
  Steer input;           // the segment's key
  int frames;            // frames into the segment; 0 for the start
  int played;            // frames from the start
};

std::int64_t quantise(float v, float step) { return static_cast<std::int64_t>(std::floor(v / step)); }

std::uint64_t stateKey(const Glider& g) {
  const std::uint64_t x = static_cast<std::uint64_t>(quantise(g.x + 100, kPositionStep)) & 0xFFFF;
  const std::uint64_t y = static_cast<std::uint64_t>(quantise(g.y + 100, kPositionStep)) & 0xFFFF;
  const std::uint64_t vx = static_cast<std::uint64_t>(quantise(g.vx + 64, kVelocityStep)) & 0xFFF;
  const std::uint64_t vy = static_cast<std::uint64_t>(quantise(g.vy + 64, kVelocityStep)) & 0xFFF;
  return x | y << 16 | vx << 32 | vy << 44 | static_cast<std::uint64_t>(g.mode & 0xF) << 56;
}


void widen(Extent& e, const Glider& g) {
  e.minX = std::min(e.minX, g.x);
  e.maxX = std::max(e.maxX, g.x);
  e.minY = std::min(e.minY, g.y);
  e.maxY = std::max(e.maxY, g.y);
}

InputScript scriptTo(const std::vector<Step>& history, std::uint32_t last, int segmentFrames,
                     int lastFrames) {
  InputScript reversed;
  for (std::uint32_t i = last; history[i].parent != i; i = history[i].parent)
    reversed.push_back({history[i].input, i == last ? lastFrames : segmentFrames});
  std::reverse(reversed.begin(), reversed.end());
  return compactScript(reversed);
}

}  // namespace

SearchResult searchLevel(LevelRun& run, const SearchLimits& limits) {
  SearchResult result;
  run.start();
  const RouteMap routes(run.cells());
  const float segmentSeconds = static_cast<float>(limits.segmentFrames) / kFramesPerSecond;
  const int maxSegments =
      static_cast<int>(std::ceil(limits.maxGameSeconds * kFramesPerSecond / limits.segmentFrames));
  auto exitDistance = [&](const Glider& g) { return std::min(routes.distance(g.x, g.y), kNoWayToExit); };
  auto rank = [&](const Stored& s) {
    const float played = static_cast<float>(s.segments) * segmentSeconds + s.changes * kKeyChangeCost;
    return played + limits.greed * routes.distance(s.state.glider.x, s.state.glider.y) / kRankingSpeed;
  };

  std::vector<Step> history{{0, Steer::None}};
  std::vector<Stored> stored{{run.snapshot(), 0, 0, 0}};
  std::unordered_set<std::uint64_t> seen{stateKey(run.currentGlider())};
  std::priority_queue<Open> open;
  open.push({rank(stored[0]), 0});
  widen(result.extent, run.currentGlider());
  Nearest nearest{exitDistance(run.currentGlider()), 0, Steer::None, 0, 0};
  // Ends a search that found no win with the keys to its nearest frame.
  auto finish = [&](bool exhausted) {
    result.states = seen.size();
    result.exhausted = exhausted;
    InputScript keys = scriptTo(history, nearest.parent, limits.segmentFrames, limits.segmentFrames);
    keys.push_back({nearest.input, nearest.frames});
    result.nearestScript = compactScript(keys);
    result.nearestFrames = nearest.played;
    result.nearestDistance = nearest.distance;
    return result;
  };

  while (!open.empty()) {
    const Stored from = stored[open.top().state];
    open.pop();
    if (from.segments >= maxSegments) continue;
    const Steer lastInput = history[from.step].input;
    for (Steer input : kInputs) {
      if (result.runs >= limits.maxRuns) return finish(false);
      if (++result.runs % kProgressRuns == 0 && limits.progress) limits.progress(result.runs);
      run.restore(from.state);
      Outcome outcome = Outcome::Playing;
      int f = 0;
      while (f < limits.segmentFrames && outcome == Outcome::Playing) {
        outcome = run.frame(input);
        ++f;
        if (outcome != Outcome::Won) widen(result.extent, run.currentGlider());
        if (outcome != Outcome::Playing) continue;
        const float distance = exitDistance(run.currentGlider());
        if (distance < nearest.distance)
          nearest = {distance, from.step, input, f, from.segments * limits.segmentFrames + f};
      }
      if (outcome == Outcome::Lost || (outcome == Outcome::Won && !limits.stopAtWin)) continue;
      const std::uint32_t index = static_cast<std::uint32_t>(history.size());
      if (outcome == Outcome::Won) {
        history.push_back({from.step, input});
        result.won = true;
        result.frames = from.segments * limits.segmentFrames + f;
        result.script = scriptTo(history, index, limits.segmentFrames, f);
        result.states = seen.size();
        return result;
      }
      if (!seen.insert(stateKey(run.currentGlider())).second) continue;
      history.push_back({from.step, input});
      const float changes = from.changes + (from.segments > 0 && input != lastInput ? 1.0f : 0.0f);
      stored.push_back({run.snapshot(), index, from.segments + 1, changes});
      open.push({rank(stored.back()), static_cast<std::uint32_t>(stored.size() - 1)});
    }
  }
  return finish(true);
}
