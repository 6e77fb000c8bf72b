#pragma once
// A route drawn over its level's backdrop, for level designers: the glider's path coloured by the
// key held, a mark at each key change, and faint paths of the same route played with a person's
// timing error, red where they end in a crash.
#include <string>
#include <vector>

#include "backdrop/Canvas.h"
#include "route/InputScript.h"
#include "route/LevelRun.h"
#include "route/RouteTrace.h"

struct RoutePictureOptions {
  int shrink = 1;              // the picture is the 1024 x 768 backdrop this many times smaller
  int ghosts = 24;             // jittered replays drawn faintly behind the route
  int ghostMilliseconds = 100; // their timing error
};

// Draws `route` (followed by the run-out of no key) on the backdrop of the level file `levelPath`,
// which `run` plays.
art::Canvas drawRoutePicture(LevelRun& run, const std::string& levelPath, const InputScript& route,
                             const RoutePictureOptions& options);
