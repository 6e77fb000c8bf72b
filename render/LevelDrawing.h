#pragma once
// The level's own drawing: heat plumes over the fires, and the decoration flames the loaded
// level's fires back.
#include "game/HeatSource.h"

// Draws a fire's plume: a translucent red column rising from one cell above the fire, growing and
// fading over its cycle.
class GlHeatPlumePainter : public HeatPlumePainter {
 public:
  void drawPlume(const HeatSource& source) const override;
};

// Installs the GL plume painter for the level objects.
void installLevelDrawing();
