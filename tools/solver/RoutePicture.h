#pragma once
// A route drawn over its level's backdrop, for level designers: the glider's path coloured by the
// key held, a mark at each key change, and faint paths of the same route played with a person's
// timing error, red where they end in a crash.
#include <string>
#include <vector>

#include "tools/art/Canvas.h"
#include "tools/solver/InputScript.h"
#include "tools/solver/LevelRun.h"

struct RoutePictureOptions {
  int shrink = 1;              // the picture is the 1024 x 768 backdrop this many times smaller
  int ghosts = 24;             // jittered replays drawn faintly behind the route
  int ghostMilliseconds = 100; // their timing error
};

// Where the glider was before each frame and after the last, in backdrop pixels, with the key
// held in each frame.
struct RouteTrace {
  std::vector<art::Point> points;
  std::vector<Steer> keys;
  Outcome outcome = Outcome::Playing;
};

// Plays the script from the level's start as it stands (add the run-out first if wanted).
RouteTrace traceRoute(LevelRun& run, const InputScript& played);

// Draws `route` (followed by the run-out of no key) on the backdrop of the level file `levelPath`,
// which `run` plays.
art::Canvas drawRoutePicture(LevelRun& run, const std::string& levelPath, const InputScript& route,
                             const RoutePictureOptions& options);
