#pragma once
// The game's sprites: the six colour squares, the paper glider and its crashed wreck, the two
// flame frames and the heat plume texture.
#include "backdrop/Canvas.h"

namespace art {

constexpr int kSquareSize = 16;                           // pixels
constexpr int kGliderWidth = 224, kGliderHeight = 128;    // pixels, 7:4 like the glider's box
constexpr int kFlameSize = 128;                           // pixels, square
constexpr int kHeatWidth = 64, kHeatHeight = 256;         // pixels

Canvas paintSquare(const Rgba& colour);
// The glider, nose to the right, on a transparent canvas of the given size.
Canvas paintGlider(int width, int height);
// The wrecked glider: crumpled, torn and scorched, on the same canvas size.
Canvas paintCrashedGlider(int width, int height);
// Flame frame 1 or 2, its base at the bottom centre.
Canvas paintFlameFrame(int frame);
// Soft white vertical streaks with alpha, seamless from top to bottom.
Canvas paintHeat();

// Draws the glider into an existing canvas, filling the box (x, y, width, height).
void drawGlider(Canvas& canvas, float x, float y, float width, float height);

}  // namespace art
