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

bool HeatSource::lifts(float gx, float gy) const {
  return gy >= y - kHeatBelow && std::fabs(x - gx) < kHeatHalfWidth && distance(x, y, gx, gy) < strength * kReachPerStrength;
}

void HeatSource::interact(float dt, Glider& g) {
  phase += kPlumeRate * dt;
  if (!(phase < 1.0f)) phase = 0;  // the excess is dropped

  if (g.y < y - kHeatBelow) return;
  if (!(std::fabs(x - g.x) < kHeatHalfWidth)) return;
  if (std::fabs(y - g.y) < kBurnHalfHeight) g.crash(Burning);

  if (!lifts(g.x, g.y)) return;
  g.lifted = true;
  // A fast fall is braked hard; then a slow climb is helped more than a fast one.
  if (g.vy < -kBrakedFall) g.changeVelocity(0, dt * strength * kBrakePerStrength);
  if (g.vy < kStrongLiftBelow) {
    g.changeVelocity(0, dt * strength * kStrongLiftPerStrength);
  } else {
    g.changeVelocity(0, dt * strength * kWeakLiftPerStrength);
  }
}
