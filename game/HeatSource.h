#pragma once
// A fire: it lifts a glider in the column above it and burns one that comes close.
#include "game/LevelObject.h"

// Plume cycles per second.
constexpr float kPlumeRate = 0.3f;
// Half the width of the lift column and of the burn box, world units.
constexpr float kHeatHalfWidth = 5.0f;
// How far below the fire's centre it still acts, world units.
constexpr float kHeatBelow = 2.5f;
// Vertical half-extent of the burn box, world units.
constexpr float kBurnHalfHeight = 5.0f;
// Reach of the lift per unit of strength, world units.
constexpr float kReachPerStrength = 10.0f;
// The lift, units per second squared per unit of strength: a glider falling faster than
// kBrakedFall (units per second) is first braked hard; then it is lifted strongly while it
// climbs slower than kStrongLiftBelow (units per second), weakly from there on.
constexpr float kBrakedFall = 4.0f;
constexpr float kBrakePerStrength = 20.0f;
constexpr float kStrongLiftBelow = 4.0f;
constexpr float kStrongLiftPerStrength = 10.0f;
constexpr float kWeakLiftPerStrength = 5.0f;

class HeatSource : public LevelObject {
 public:
  float x, y;       // centre, world units
  float strength;   // 2, 5, 6 or 10: scales reach, lift and plume
  float phase = 1.0f;  // position in the plume cycle, 0 to below 1 once running

  HeatSource(float x, float y, float strength) : x(x), y(y), strength(strength) {}

  // True when a glider's centre at (gx, gy) is inside the lift column.
  bool lifts(float gx, float gy) const;

  void update(float) override {}
  void draw() const override;
  void interact(float dt, Glider& glider) override;
  bool updates() const override { return false; }
};

// Draws heat plumes. The rendering library installs one; headless builds leave it unset and
// plumes draw nothing.
class HeatPlumePainter {
 public:
  virtual ~HeatPlumePainter() = default;
  virtual void drawPlume(const HeatSource& source) const = 0;
};
void setHeatPlumePainter(const HeatPlumePainter* painter);
