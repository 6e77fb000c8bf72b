#include "backdrop/Flame.h"

#include <cmath>

namespace art {

namespace {

constexpr float kPi = 3.14159265f;
constexpr Rgba kEmber = rgb8(190, 24, 8);
constexpr Rgba kOrange = rgb8(255, 110, 16);
constexpr Rgba kYellow = rgb8(255, 210, 70);
constexpr Rgba kCore = rgb8(255, 250, 215);

// Flame colour for an intensity from 0 (edge) to 1 (core).
Rgba palette(float v) {
  if (v < 0.35f) return mix(kEmber, kOrange, v / 0.35f);
  if (v < 0.7f) return mix(kOrange, kYellow, (v - 0.35f) / 0.35f);
  return mix(kYellow, kCore, clamp01((v - 0.7f) / 0.25f));
}

// Half-width of the flame, as a fraction of its greatest half-width, at height fraction t:
// round at the base, tapering to a point, with wavy tongues set by the phase.
float halfWidth(float t, float phase) {
  const float taper = std::pow(clamp01(1 - t), 0.75f);
  const float round = std::sqrt(clamp01((t + 0.04f) * 4.0f));
  const float tongues = 1 + 0.16f * std::sin(t * 14.0f + phase * 2.1f) * t;
  return taper * round * tongues;
}

// Sideways sway of the flame's centre line, as a fraction of its half-width.
float sway(float t, float phase) {
  return 0.22f * t * t * std::sin(t * 4.5f + phase) + 0.06f * t * std::sin(t * 11.0f + phase * 1.7f);
}

}  // namespace

void paintFlame(Canvas& canvas, float baseX, float baseY, float width, float height, float phase) {
  const float half = width * 0.5f;
  const float edgeSoftness = 2.0f / half;  // about two pixels of soft edge
  canvas.shadeRect(baseX - half * 1.4f, baseY - height, baseX + half * 1.4f, baseY,
                   [=](float x, float y) {
                     const float t = (baseY - y) / height;
                     const float w = halfWidth(t, phase);
                     if (w <= 0) return Rgba{0, 0, 0, 0};
                     const float u = (x - baseX) / half - sway(t, phase);
                     const float inside = 1 - std::fabs(u) / w;  // 1 on the centre line, 0 at the edge
                     if (inside <= 0) return Rgba{0, 0, 0, 0};
                     const float core = clamp01(inside * (1.05f - 0.75f * t) + 0.1f * (1 - t));
                     const float alpha = smoothstep(0, edgeSoftness / std::max(w, 0.05f), inside) *
                                         (0.55f + 0.45f * std::sin(kPi * 0.5f * clamp01(1.3f - t)));
                     return withAlpha(palette(core), alpha);
                   });
}

}  // namespace art
