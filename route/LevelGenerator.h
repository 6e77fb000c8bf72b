#pragma once
// Makes levels proven winnable at a chosen difficulty. A room is built by a seed and a hardness
// from the pieces the shipped levels are made of: a start on a ledge, an exit in the floor on the
// far side or up its wall over a fire's lift, shelves of one-way walls, pillars to fly over, fires
// that lift over them, spike rows and hazard blocks. The solver must win it, the fastest calm route through it is reshaped by a
// short kind search, and that route's win rate at +-100 ms must land within kRateTolerance of the
// target with no stray hazard or fire (stray ones are cleared). A room near its target has its exit
// reshaped to land it; otherwise the hardness moves towards the target and another room is built. Every bound is a count, never the clock, so the same seed and target give the
// same level, byte for byte, on every machine.
#include <cstdint>
#include <string>
#include <vector>

#include "route/InputScript.h"

// How far a level's rate may be from its target: 5 points.
constexpr double kRateTolerance = 0.05;

struct GenerateLimits {
  int maxRooms = 40;             // rooms built at most
  int searchRuns = 120000;       // solver segments per room
  int kindCandidates = 24;       // candidates the kind search scores per room
  int kindTrials = 40;           // jittered replays that score each of them
  int screenTrials = 100;        // jittered replays that screen a room before the full figure
};

struct GeneratedLevel {
  bool found = false;
  std::string text;       // the level file
  InputScript route;      // the kindest route found, which wins played exactly
  double rate100 = 0;     // its win rate at +-100 ms, over kRateTrials as the solver reports it
  int rateTrials = 0;     // the replays behind rate100 (fewer for a room screened out)
  double hardness = 0;    // the hardness the room was built at
  int rooms = 0;          // rooms built, the kept one included
  int strayObjects = 0;   // hazards and fires far from the route and from anything near it
};

// The target "about as hard as level N": the +-100 ms win rate of levelN.route, the level's
// committed route, on levelN.txt in the folder, as the solver reports it. False, with why, when
// either file cannot be read.
bool rateOfShippedLevel(const std::string& levelsDir, int n, double& rate, std::string& error);

// A level whose kindest found route wins about targetRate (0 to 1) of the time at +-100 ms.
GeneratedLevel generateLevel(std::uint64_t seed, double targetRate, const GenerateLimits& limits = {});

// The room a seed and a hardness (0 to 1) build, before any proof, on the plan the seed picks;
// mirrored, its start is on the right and its exit to the left.
std::string buildRoom(std::uint64_t seed, double hardness, bool mirror);

// Hazard and fire cells of the level that lie more than kStrayCells from every point of the
// route's path and touch no hazard, fire or inner wall cell that does not.
constexpr float kStrayCells = 3.0f;
struct GridCell {
  int row = 0, column = 0;
};
class LevelRun;
std::vector<GridCell> strayCells(LevelRun& run, const InputScript& route);
