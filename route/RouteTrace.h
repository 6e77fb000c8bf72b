#pragma once
// Tracing a route: where the glider flies, frame by frame, when a script is played from the
// level's start. The route pictures and the editor draw these paths.
#include <vector>

#include "route/InputScript.h"
#include "route/LevelRun.h"

// A glider position, world units.
struct TracePoint {
  float x = 0, y = 0;
};

// Where the glider was before each frame and after the last, with the key held in each frame.
struct RouteTrace {
  std::vector<TracePoint> points;
  std::vector<Steer> keys;
  Outcome outcome = Outcome::Playing;
};

// Plays the script from the level's start as it stands (add the run-out first if wanted).
RouteTrace traceRoute(LevelRun& run, const InputScript& played);
