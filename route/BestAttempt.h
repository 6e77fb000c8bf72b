#pragma once
// The nearest a failed search got and how that run ended, to show a level's maker where it fails.
//
// The attempt is the searched run that got nearest an exit (SearchResult's nearest frame: by the
// route map's distance, over the start and every frame searched, the earlier found on a tie),
// played from the level's start through the game's simulation and then left with no key held, as
// every route is traced with its run-out, until one of these:
//   - the glider is wrecked by a hazard or burnt by a fire: the cell of the object that did it;
//   - it reaches an exit (only where the search stopped short of trying that, as at its run limit);
//   - a frame leaves it exactly as it was: it rests there for good;
//   - the time bound: the search's longest run (limits.maxGameSeconds), or the nearest point and a
//     whole run-out when that is later.
// Its script is the keys to the nearest point followed by no key up to where the run ends (for a
// run that lasts to the time bound, a run-out short of it), so that the script traced with its
// run-out (traceRoute of withRunOut) is exactly this run.
#include <string>

#include "route/InputScript.h"
#include "route/LevelRun.h"
#include "route/LevelSearch.h"

enum class AttemptEnding {
  Wrecked,  // by a hazard
  Burnt,    // by a fire
  Flying,   // still in the air, or still moving, at the time bound
  Resting,  // its centre did not move in the run's last frame
  Won,      // it drifted into an exit
};

struct BestAttempt {
  InputScript script;        // see above: traced with its run-out, it plays exactly this run
  int nearestFrames = 0;     // frames from the start to the nearest point
  float distance = 0;        // route distance from the nearest point to an exit, units
  // Straight from the glider's centre at the nearest point to the nearest exit cell's centre, in
  // cells: the route distance weighs climbs and level flight, which is right for ranking runs
  // but not a figure a person can count on the level.
  float exitCells = 0;
  bool wayToExit = true;     // false: the route map knows no open way from the glider to an exit
  AttemptEnding ending = AttemptEnding::Flying;
  int endFrames = 0;         // frames from the start to the loss, the exit, the rest or the bound
  // The level cell of the hazard or fire that ended the run, 1-based as the level checker names
  // cells; 0 and 0 when the glider was not lost.
  int line = 0, column = 0;

  double nearestSeconds() const { return static_cast<double>(nearestFrames) / kFramesPerSecond; }
  // exitCells to one decimal.
  double cellsFromExit() const;
};

// The best attempt of a search that found no win, played on `run` (the level it searched).
BestAttempt describeAttempt(LevelRun& run, const SearchResult& search, const SearchLimits& limits);

// "wrecked", "burnt", "flying", "resting" or "won".
const char* endingName(AttemptEnding ending);

// One line for a person: "2.50 s of play, 3.0 cells from the exit; wrecked by the hazard at
// line 12, column 7". The time bound is named as limits.maxGameSeconds.
std::string attemptSummary(const BestAttempt& attempt, double maxGameSeconds);
