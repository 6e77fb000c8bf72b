#include "game/HeatSource.h"

#include <cmath>

#include "game/Geometry.h"
#include "game/Glider.h"

namespace {
const HeatPlumePainter* plumePainter = nullptr;
}

void setHeatPlumePainter(const HeatPlumePainter* painter) { plumePainter = painter; }

void HeatSource::draw() const {
  if (plumePainter) plumePainter->drawPlume(*this);
}

void HeatSource::interact(float dt, Glider& g) {
  phase += kPlumeRate * dt;
  if (!(phase < 1.0f)) phase = 0;  // the excess is dropped

  if (g.y < y - kHeatBelow) return;
  if (!(std::fabs(x - g.x) < kHeatHalfWidth)) return;
  if (std::fabs(y - g.y) < kBurnHalfHeight) g.crash(Burning);

  const double d = distance(x, y, g.x, g.y);
  if (!(d < strength * kReachPerStrength)) return;
  g.lifted = true;
  // A fast fall is braked hard; then a slow climb is helped more than a fast one.
  if (g.vy < -kBrakedFall) g.changeVelocity(0, dt * strength * kBrakePerStrength);
  if (g.vy < kStrongLiftBelow) {
    g.changeVelocity(0, dt * strength * kStrongLiftPerStrength);
  } else {
    g.changeVelocity(0, dt * strength * kWeakLiftPerStrength);
  }
}
