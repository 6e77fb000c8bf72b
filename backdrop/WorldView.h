#pragma once
// How the level's world maps onto the 1024 x 768 window the backdrops fill: world x -50..50 and
// y 0..75 (up), at 10.24 pixels per unit, world (-50, 75) at pixel (0, 0).
#include "level/Grid.h"

namespace art {

constexpr int kScreenWidth = 1024;   // pixels
constexpr int kScreenHeight = 768;   // pixels
constexpr float kPixelsPerUnit = 10.24f;
// The window shows the level's grid and nothing more, world units.
constexpr float kWorldLeft = kGridLeft;
constexpr float kWorldRight = kGridLeft + kGridColumns * kCellSize;
constexpr float kWorldTop = kGridTop;
constexpr float kWorldBottom = 0.0f;
constexpr float kCellPixels = kCellSize * kPixelsPerUnit;

inline float pixelX(float worldX) { return (worldX - kWorldLeft) * kPixelsPerUnit; }
inline float pixelY(float worldY) { return (kWorldTop - worldY) * kPixelsPerUnit; }

// An axis-aligned area in pixels, y down.
struct PixelRect {
  float x0, y0, x1, y1;
  float width() const { return x1 - x0; }
  float height() const { return y1 - y0; }
  float centreX() const { return (x0 + x1) * 0.5f; }
  float centreY() const { return (y0 + y1) * 0.5f; }
};

// The pixels covered by a world rectangle given by its centre and size.
inline PixelRect worldRect(float centreX, float centreY, float width, float height) {
  return PixelRect{pixelX(centreX - width * 0.5f), pixelY(centreY + height * 0.5f),
                   pixelX(centreX + width * 0.5f), pixelY(centreY - height * 0.5f)};
}

}  // namespace art
