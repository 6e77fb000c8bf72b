#include "tools/art/Icons.h"

#include <cmath>

#include "backdrop/Flame.h"
#include "tools/art/Sprites.h"

namespace art {

namespace {

constexpr Rgba kIconTop = rgb8(20, 34, 78);
constexpr Rgba kIconBottom = rgb8(60, 30, 60);
constexpr Rgba kIconRim = rgb8(246, 200, 72);

}  // namespace

Canvas paintIcon(int size) {
  Canvas canvas(size, size);
  const float s = static_cast<float>(size);
  const float radius = s * 0.2f, rim = std::max(1.0f, s / 48.0f);
  canvas.fillRoundedRect(0, 0, s, s, radius, [](float, float) { return kIconRim; });
  canvas.fillRoundedRect(rim, rim, s - rim, s - rim, radius - rim, [=](float, float y) {
    return mix(kIconTop, kIconBottom, y / s);
  });
  // The flame's glow, clipped to the square.
  canvas.shadeShape(
      rim, rim, s - rim, s - rim,
      [=](float x, float y) { return roundedRectDistance(x, y, rim, rim, s - rim, s - rim, radius - rim); },
      [=](float x, float y) {
        const float r = std::hypot(x - s * 0.5f, (y - s) * 1.3f) / (s * 0.6f);
        return withAlpha(rgb8(255, 120, 40), 0.55f * (1 - std::min(1.0f, r)));
      },
      Blend::Add);
  paintFlame(canvas, s * 0.5f, s - rim, s * 0.34f, s * 0.34f, 0.5f);
  drawGlider(canvas, s * 0.1f, s * 0.2f, s * 0.82f, s * 0.47f);
  return canvas;
}

}  // namespace art
