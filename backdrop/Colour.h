#pragma once
// Colours for the art generator: straight (not premultiplied) RGBA with components in 0..1.
#include <algorithm>

namespace art {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;  // 0..1 each
};

// A colour from 0..255 components and an opacity in 0..1.
constexpr Rgba rgb8(int r, int g, int b, float a = 1.0f) {
  return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

inline float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// Linear blend from a (t = 0) to b (t = 1), alpha included.
inline Rgba mix(const Rgba& a, const Rgba& b, float t) {
  return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
              a.a + (b.a - a.a) * t};
}

// The colour scaled in brightness, alpha kept.
inline Rgba shade(const Rgba& c, float factor) {
  return Rgba{clamp01(c.r * factor), clamp01(c.g * factor), clamp01(c.b * factor), c.a};
}

// The colour with its opacity replaced.
inline Rgba withAlpha(const Rgba& c, float a) { return Rgba{c.r, c.g, c.b, a}; }

// Hermite step from 0 at e0 to 1 at e1.
inline float smoothstep(float e0, float e1, float x) {
  const float t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

}  // namespace art
