#pragma once
// The level's own drawing: heat plumes over the fires, and the decoration flames of the levels
// that have them.
#include "game/HeatSource.h"

// Draws a fire's plume: a translucent red column rising from one cell above the fire, growing and
// fading over its cycle.
class GlHeatPlumePainter : public HeatPlumePainter {
 public:
  void drawPlume(const HeatSource& source) const override;
};

// Installs the GL plume painter for the level objects.
void installLevelDrawing();

struct DecorationFlame {
  float x, y;           // centre, world units
  float width, height;  // world units
};

// The decoration flames of a level number, and how many there are (0 for most levels).
int decorationFlames(int levelNumber, const DecorationFlame** flames);
