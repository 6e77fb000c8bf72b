#pragma once
// The colours a route is drawn in, over a level's backdrop: by the solver's route pictures and,
// through the site's generated facts, by the level editor.
#include "backdrop/Colour.h"

namespace art {

// A colour as 0..255 components and an opacity in 0..1, so that it reads the same in CSS.
struct RouteColour {
  int r, g, b;
  float a;
  constexpr Rgba rgba() const { return rgb8(r, g, b, a); }
};

constexpr RouteColour kRouteLeft{255, 176, 32, 1.0f};     // frames with Left held
constexpr RouteColour kRouteRight{64, 200, 255, 1.0f};    // frames with Right held
constexpr RouteColour kRouteNoKey{235, 235, 235, 1.0f};   // frames with no key
constexpr RouteColour kRouteOutline{16, 16, 24, 1.0f};    // the dark edge under lines and marks
constexpr RouteColour kRouteCrash{255, 60, 60, 1.0f};     // the cross where a run ends unwon
constexpr RouteColour kRouteWon{93, 255, 158, 1.0f};      // the ring where a run wins
constexpr RouteColour kGhostWin{235, 235, 235, 0.3f};     // a jittered replay that wins
constexpr RouteColour kGhostLoss{255, 60, 60, 0.45f};     // a jittered replay that crashes

}  // namespace art
