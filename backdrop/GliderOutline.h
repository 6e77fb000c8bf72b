#pragma once
// The glider's outline as the game's sprite draws it, in a unit box (0..1 across, 0..1 down),
// nose at the right: the art generator paints the sprite from it, and the level editor draws
// its start cells with it.
#include "backdrop/Canvas.h"

namespace art {

struct GliderOutline {
  Point nose{0.985f, 0.45f};
  Point tailTop{0.02f, 0.10f};
  Point tailFar{0.10f, 0.24f};
  Point fold{0.20f, 0.52f};
  Point keelBottom{0.13f, 0.88f};
  Point keelFront{0.50f, 0.62f};
};

}  // namespace art
