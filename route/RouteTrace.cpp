#include "route/RouteTrace.h"

#include "route/TimingError.h"

namespace {

TracePoint pointOf(const Glider& g) { return {g.x, g.y}; }

}  // namespace

RouteTrace traceRoute(LevelRun& run, const InputScript& played) {
  RouteTrace trace;
  run.start();
  trace.points.push_back(pointOf(run.currentGlider()));
  for (const InputSpan& span : played) trace.keys.insert(trace.keys.end(), static_cast<std::size_t>(span.frames), span.input);
  trace.outcome = replayScript(run, played, [&](int, const Glider& g) { trace.points.push_back(pointOf(g)); }).outcome;
  trace.keys.resize(trace.points.size() - 1);
  return trace;
}
