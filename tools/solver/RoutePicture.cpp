#include "tools/solver/RoutePicture.h"

#include <algorithm>
#include <vector>

#include "backdrop/Backdrop.h"
#include "backdrop/RouteColours.h"
#include "backdrop/WorldView.h"
#include "route/TimingError.h"

namespace {

// Stroke widths and mark sizes at full size, pixels.
constexpr float kRouteWidth = 3.0f;
constexpr float kGhostWidth = 1.5f;
constexpr float kMarkRadius = 6.0f;
constexpr float kMarkOutline = 2.0f;
constexpr float kCrossSize = 7.0f;

const art::Rgba kLeftColour = art::kRouteLeft.rgba();
const art::Rgba kRightColour = art::kRouteRight.rgba();
const art::Rgba kNoKeyColour = art::kRouteNoKey.rgba();
const art::Rgba kOutlineColour = art::kRouteOutline.rgba();
const art::Rgba kCrashColour = art::kRouteCrash.rgba();
const art::Rgba kGhostWinColour = art::kGhostWin.rgba();
const art::Rgba kGhostLossColour = art::kGhostLoss.rgba();

art::Rgba keyColour(Steer key) {
  return key == Steer::Left ? kLeftColour : key == Steer::Right ? kRightColour : kNoKeyColour;
}

// The traced path in backdrop pixels.
std::vector<art::Point> pixelsOf(const RouteTrace& trace) {
  std::vector<art::Point> pixels;
  for (const TracePoint& p : trace.points) pixels.push_back({art::pixelX(p.x), art::pixelY(p.y)});
  return pixels;
}

void drawCross(art::Canvas& canvas, art::Point at, float size, float width, const art::Rgba& colour) {
  canvas.strokeLine({at.x - size, at.y - size}, {at.x + size, at.y + size}, width, colour);
  canvas.strokeLine({at.x - size, at.y + size}, {at.x + size, at.y - size}, width, colour);
}

}  // namespace

art::Canvas drawRoutePicture(LevelRun& run, const std::string& levelPath, const InputScript& route,
                             const RoutePictureOptions& options) {
  art::Canvas canvas = art::renderBackdropFile(levelPath);
  // Shrunk pictures keep their lines a little thinner and their marks smaller than a plain
  // scale-up would, so that a small picture still shows the level under them.
  const float shrink = static_cast<float>(options.shrink > 1 ? options.shrink : 1);
  const float scale = std::max(1.0f, shrink * 0.75f), markScale = std::max(1.0f, shrink * 0.5f);

  TrialRandom random(kTrialSeed);
  for (int i = 0; i < options.ghosts; ++i) {
    const RouteTrace ghost = traceRoute(run, jitterScript(route, framesForMilliseconds(options.ghostMilliseconds), random));
    const std::vector<art::Point> points = pixelsOf(ghost);
    const bool won = ghost.outcome == Outcome::Won;
    canvas.strokePolyline(points, kGhostWidth * scale, won ? kGhostWinColour : kGhostLossColour, false);
    if (!won) drawCross(canvas, points.back(), kCrossSize * scale * 0.6f, kGhostWidth * scale, kGhostLossColour);
  }

  const RouteTrace path = traceRoute(run, withRunOut(route));
  const std::vector<art::Point> points = pixelsOf(path);
  for (std::size_t f = 0; f < path.keys.size(); ++f)
    canvas.strokeLine(points[f], points[f + 1], kRouteWidth * scale, keyColour(path.keys[f]));
  // A mark where each key change happens, in the colour of the key it changes to.
  for (std::size_t f = 0; f < path.keys.size(); ++f) {
    if (f > 0 && path.keys[f] == path.keys[f - 1]) continue;
    if (f == 0 && path.keys[f] == Steer::None) continue;
    canvas.fillCircle(points[f].x, points[f].y, (kMarkRadius + kMarkOutline) * markScale, kOutlineColour);
    canvas.fillCircle(points[f].x, points[f].y, kMarkRadius * markScale, keyColour(path.keys[f]));
  }
  if (path.outcome != Outcome::Won) drawCross(canvas, points.back(), kCrossSize * scale, kRouteWidth * scale, kCrashColour);
  return options.shrink > 1 ? canvas.shrunk(options.shrink) : canvas;
}
