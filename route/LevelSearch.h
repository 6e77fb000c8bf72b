#pragma once
// Searches a level's key presses for a run that reaches an exit: a best-first search over
// segments of one held key, that favours runs heading for an exit early and merges runs that
// reach nearly the same glider state.
#include <cstddef>
#include <functional>

#include "route/InputScript.h"
#include "route/LevelRun.h"

struct SearchLimits {
  int segmentFrames = 6;          // frames a key is held before it may change (0.1 s)
  double maxGameSeconds = 90;     // longest run searched, seconds of game time
  std::size_t maxRuns = 400000;   // segments simulated at most, over the whole search
  // How strongly the search prefers nearness to an exit over short play: 0 searches the
  // fastest runs first (breadth-first), larger values head for the exit more greedily.
  float greed = 4.0f;
  bool stopAtWin = true;          // false: explore every reachable state within the limits
  // Called every kProgressRuns segments with the segments simulated so far, so that a caller can
  // show how far a long search has got against maxRuns.
  std::function<void(std::size_t runs)> progress;
};

constexpr std::size_t kProgressRuns = 4096;

// The farthest the glider's centre got, world units, over every frame searched.
struct Extent {
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
};

struct SearchResult {
  bool won = false;
  InputScript script;          // the winning keys, compacted
  int frames = 0;              // frames of the winning run
  std::size_t runs = 0;        // segments simulated
  std::size_t states = 0;      // distinct glider states met
  bool exhausted = false;      // every reachable state within the time limit was met
  Extent extent;
  // Without a win: the nearest the search got to an exit. Over the start and every frame it
  // simulated that did not end the run, the one whose glider was nearest an exit by the route
  // map's distance (RouteMap::distance), the earlier found on a tie; a glider with no open way to
  // an exit counts as kNoWayToExit away wherever it is, so there the start is the nearest.
  InputScript nearestScript;   // the keys from the start to that frame, compacted
  int nearestFrames = 0;       // frames played to it
  float nearestDistance = 0;   // its route distance to the exit, units
};

// Route distance of a glider with no open way to an exit (RouteMap's count for such a cell).
constexpr float kNoWayToExit = 10000.0f;

SearchResult searchLevel(LevelRun& run, const SearchLimits& limits);
