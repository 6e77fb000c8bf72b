#pragma once
// Searches for the kindest route through a level: the script a person with ordinary timing wins
// most often. A local search reshapes a starting route (longer or shorter holds, moved changes,
// taps merged into holds, rests split into holds) and keeps each change that wins more of the
// same fixed jittered trials.
#include <cstdint>

#include "route/InputScript.h"
#include "route/LevelRun.h"

struct KindSearchLimits {
  int trials = 100;             // jittered replays that score each candidate
  double budgetSeconds = 120;   // wall-clock time the search may take
  // Trial t jitters the route with TrialRandom(seed + t), so that every candidate meets the same
  // trials; a seed apart from the reporting one keeps reported rates honest.
  std::uint64_t seed = 7031;
  int maxCandidates = 1 << 30;  // candidates scored at most (tests keep searches short with it)
};

// How a route fares on the search's trials: wins at +-100 ms, then +-150 and +-50 ms break ties,
// then the shorter script. -1 means not measured yet.
struct KindScore {
  int wins100 = -1, wins150 = -1, wins50 = -1;
  int frames = 0;
};

struct KindSearchResult {
  InputScript script;      // the best route found, compacted
  KindScore score;
  int candidates = 0;      // candidates scored
  int improvements = 0;    // candidates kept
  bool converged = false;  // a whole round of changes found nothing better
  bool startWon = false;   // the starting route won unjittered (the search needs it to)
};

// Called each time the search keeps a better route.
using KindProgress = void (*)(const InputScript& script, const KindScore& score, int trials);

// Improves `from`, which must win the level unjittered, within the limits.
KindSearchResult searchKindRoute(LevelRun& run, const InputScript& from, const KindSearchLimits& limits,
                                 KindProgress progress = nullptr);

// A start for the kind search when no hand route is given: the fastest winning route whose keys
// are held a whole number of long segments (0.3 s, else 0.2 s, else 0.1 s). False when none wins.
bool calmFastRoute(LevelRun& run, InputScript& route);
