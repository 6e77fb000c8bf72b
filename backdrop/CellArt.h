#pragma once
// The pictures of the level's objects, shared by the level backdrops and the instructions screen:
// stone walls with lit guarded faces, striped spiked hazards, glowing exits, braziers and the
// shimmer of a fire's lift column. Each paints exactly the pixel area it is given.
#include <cstdint>

#include "backdrop/Canvas.h"
#include "backdrop/WorldView.h"

namespace art {

// Which faces of a rectangle stop (walls) or carry spikes (hazards).
struct FaceSet {
  bool left = false, right = false, top = false, bottom = false;
};

// Masonry filling the rectangle; guarded faces get a bright lit edge, open faces a dark one.
void paintWall(Canvas& canvas, const PixelRect& area, FaceSet guarded);
// Red and black warning stripes with a glowing rim and spikes along the given faces.
void paintHazard(Canvas& canvas, const PixelRect& area, FaceSet spiked);
// A glowing green and gold portal filling the rectangle.
void paintExit(Canvas& canvas, const PixelRect& area);
// A brazier in the fire's cell; its flame grows with the strength (2 to 10).
void paintFire(Canvas& canvas, const PixelRect& cell, float strength);
// Faint rising shimmer and sparks over the lift column. `burnDepth` pixels at the bottom of the
// column glow warmer, where the fire still burns. The seed fixes where the sparks fall.
void paintLiftColumn(Canvas& canvas, const PixelRect& column, float burnDepth, std::uint64_t seed);

}  // namespace art
