#include "backdrop/CellArt.h"

#include <algorithm>
#include <cmath>

#include "backdrop/Flame.h"
#include "backdrop/Prng.h"

namespace art {

namespace {

constexpr float kPi = 3.14159265f;

// Masonry: two courses of two stones per cell, lined up with the level grid.
constexpr float kStoneHeight = kCellPixels / 2;
constexpr float kStoneWidth = kCellPixels / 2;
constexpr float kMortar = 1.6f;  // pixels
constexpr Rgba kStone = rgb8(146, 132, 112);
constexpr Rgba kMortarColour = rgb8(58, 50, 44);
constexpr Rgba kLitEdge = rgb8(255, 236, 170);
constexpr Rgba kOpenEdge = rgb8(30, 26, 24);
constexpr float kLitWidth = 3.0f;    // pixels of bright band on a guarded face
constexpr float kLitGlow = 5.0f;     // pixels over which the light fades inwards

// Hazards.
constexpr Rgba kHazardRed = rgb8(196, 22, 18);
constexpr Rgba kHazardBlack = rgb8(24, 6, 8);
constexpr Rgba kHazardRim = rgb8(255, 82, 50);
constexpr Rgba kSpikeLight = rgb8(232, 232, 240);
constexpr Rgba kSpikeDark = rgb8(120, 120, 136);
constexpr float kStripePeriod = 18.0f;  // pixels, measured along x + y
constexpr float kSpikeDepth = 10.0f;    // pixels
constexpr float kSpikePitch = 12.5f;    // pixels between spike centres, about

// Exits.
constexpr Rgba kExitCore = rgb8(250, 255, 215);
constexpr Rgba kExitGreen = rgb8(70, 225, 120);
constexpr Rgba kExitDeep = rgb8(10, 78, 52);
constexpr Rgba kExitDark = rgb8(8, 36, 30);
constexpr float kPortalSize = 0.4f;  // portal radii as fractions of the cell's size
constexpr Rgba kGold = rgb8(246, 200, 72);
constexpr Rgba kGoldDark = rgb8(150, 100, 24);

// Braziers and lift.
constexpr Rgba kIron = rgb8(52, 50, 56);
constexpr Rgba kIronLight = rgb8(128, 122, 130);
constexpr Rgba kCoals = rgb8(255, 120, 30);
constexpr Rgba kFireGlow = rgb8(255, 130, 40);
constexpr Rgba kLift = rgb8(255, 158, 70);
constexpr Rgba kBurn = rgb8(255, 84, 24);
constexpr float kLiftAlpha = 0.10f;     // strongest shimmer opacity
constexpr float kSparksPerPixel = 0.05f;  // sparks per pixel of column height

// Antialiased square wave: 0 or 1 in alternating bands of the given period.
float stripes(float position, float period) {
  const float f = position / period - std::floor(position / period);  // 0..1
  const float edge = 1.0f / period;
  return smoothstep(0.5f - edge, 0.5f + edge, f) * (1 - smoothstep(1 - edge, 1 + edge, f)) +
         (1 - smoothstep(-edge, edge, f));
}

// Distance inwards from each face of the area, pixels.
struct EdgeDistances {
  float left, right, top, bottom;
};
EdgeDistances edgeDistances(const PixelRect& a, float x, float y) {
  return EdgeDistances{x - a.x0, a.x1 - x, y - a.y0, a.y1 - y};
}

// How strongly a face's band lights the pixel at distance d inside it.
float faceLight(float d) {
  if (d < kLitWidth) return 1.0f;
  return 0.28f * (1 - smoothstep(kLitWidth, kLitWidth + kLitGlow, d));
}

Rgba stoneColour(float x, float y) {
  const int course = static_cast<int>(std::floor(y / kStoneHeight));
  const float offset = (course & 1) ? kStoneWidth * 0.5f : 0.0f;
  const int column = static_cast<int>(std::floor((x + offset) / kStoneWidth));
  const float inX = x + offset - column * kStoneWidth;
  const float inY = y - course * kStoneHeight;
  const float tone = 0.82f + 0.3f * hash01(column, course, 7);
  const float grain = 0.94f + 0.1f * hash01(static_cast<int>(x * 2), static_cast<int>(y * 2), 3);
  // Lit from above: each stone's top rim brighter, bottom rim darker.
  const float bevel = inY < 3 ? 1.18f : (kStoneHeight - inY < 3 ? 0.78f : 1.0f);
  Rgba c = shade(kStone, tone * grain * bevel);
  const float mortar = std::min({inX, kStoneWidth - inX, inY, kStoneHeight - inY});
  return mix(kMortarColour, c, smoothstep(kMortar * 0.5f, kMortar + 0.5f, mortar));
}

// Spikes along one face: triangles with their tips on the face, lit on one side.
void spikeRow(Canvas& canvas, Point start, Point end, Point inward) {
  const float length = std::hypot(end.x - start.x, end.y - start.y);
  const int count = std::max(2, static_cast<int>(std::lround(length / kSpikePitch)));
  const float step = length / count;
  const Point along{(end.x - start.x) / length, (end.y - start.y) / length};
  for (int k = 0; k < count; ++k) {
    const float mid = (k + 0.5f) * step;
    const Point tip{start.x + along.x * mid, start.y + along.y * mid};
    const Point baseMid{tip.x + inward.x * kSpikeDepth, tip.y + inward.y * kSpikeDepth};
    const float half = step * 0.42f;
    const Point b1{baseMid.x - along.x * half, baseMid.y - along.y * half};
    const Point b2{baseMid.x + along.x * half, baseMid.y + along.y * half};
    canvas.fillPolygon({tip, b1, baseMid}, kSpikeLight);
    canvas.fillPolygon({tip, baseMid, b2}, kSpikeDark);
  }
}

}  // namespace

void paintWall(Canvas& canvas, const PixelRect& a, FaceSet guarded) {
  canvas.shadeRect(a.x0, a.y0, a.x1, a.y1, [=](float x, float y) {
    Rgba c = stoneColour(x, y);
    const EdgeDistances d = edgeDistances(a, x, y);
    float light = 0, dark = 0;
    auto face = [&](bool isGuarded, float distance) {
      if (isGuarded) light = std::max(light, faceLight(distance));
      else dark = std::max(dark, 1 - smoothstep(0, 4, distance));
    };
    face(guarded.left, d.left);
    face(guarded.right, d.right);
    face(guarded.top, d.top);
    face(guarded.bottom, d.bottom);
    c = mix(c, kOpenEdge, dark * 0.8f);
    return mix(c, kLitEdge, light);
  });
}

void paintHazard(Canvas& canvas, const PixelRect& a, FaceSet spiked) {
  canvas.shadeRect(a.x0, a.y0, a.x1, a.y1, [=](float x, float y) {
    const float band = stripes(x + y, kStripePeriod);
    Rgba c = mix(kHazardRed, kHazardBlack, band);
    const EdgeDistances d = edgeDistances(a, x, y);
    const float nearest = std::min({d.left, d.right, d.top, d.bottom});
    // A dark inner vignette and a hot rim make the outline read at a glance.
    c = shade(c, 0.75f + 0.25f * smoothstep(0, 12, nearest));
    return mix(c, kHazardRim, 1 - smoothstep(1.5f, 3.0f, nearest));
  });
  const Point tl{a.x0, a.y0}, tr{a.x1, a.y0}, bl{a.x0, a.y1}, br{a.x1, a.y1};
  if (spiked.top) spikeRow(canvas, tl, tr, {0, 1});
  if (spiked.bottom) spikeRow(canvas, bl, br, {0, -1});
  if (spiked.left) spikeRow(canvas, tl, bl, {1, 0});
  if (spiked.right) spikeRow(canvas, tr, br, {-1, 0});
}

void paintExit(Canvas& canvas, const PixelRect& a) {
  const float cx = a.centreX(), cy = a.centreY();
  const float rx = a.width() * kPortalSize, ry = a.height() * kPortalSize;
  canvas.shadeRect(a.x0, a.y0, a.x1, a.y1, [=](float x, float y) {
    const float r = std::hypot((x - cx) / rx, (y - cy) / ry);  // 1 on the portal's rim
    const float angle = std::atan2(y - cy, x - cx);
    Rgba c;
    if (r < 1) {
      // Inside the portal: a bright core with swirling arms.
      const float swirl = 0.5f + 0.5f * std::sin(angle * 3 - r * 9);
      c = r < 0.4f ? mix(kExitCore, kExitGreen, r / 0.4f) : mix(kExitGreen, kExitDeep, (r - 0.4f) / 0.6f);
      c = mix(c, kExitCore, swirl * 0.45f * (1 - r));
    } else {
      // Around it, the portal's green light on dark stone.
      c = mix(kExitGreen, kExitDark, smoothstep(1, 1.6f, r));
    }
    c = mix(c, kGold, (1 - smoothstep(0.0f, 0.09f, std::fabs(r - 1))) * 0.9f);
    const float edge = std::min({x - a.x0, a.x1 - x, y - a.y0, a.y1 - y});
    if (edge < 4) c = mix(kGoldDark, kGold, smoothstep(0, 2.5f, edge) * (1 - smoothstep(3, 4, edge)));
    return c;
  });
  // A few fixed four-pointed sparkles, so it twinkles like treasure.
  Prng sparkle(static_cast<std::uint64_t>(a.x0 * 131 + a.y0 * 7));
  for (int k = 0; k < 4; ++k) {
    const float sx = sparkle.range(a.x0 + 10, a.x1 - 10), sy = sparkle.range(a.y0 + 10, a.y1 - 10);
    const float s = sparkle.range(2.5f, 4.5f);
    canvas.fillPolygon({{sx - s, sy}, {sx - s * 0.2f, sy - s * 0.2f}, {sx, sy - s},
                        {sx + s * 0.2f, sy - s * 0.2f}, {sx + s, sy}, {sx + s * 0.2f, sy + s * 0.2f},
                        {sx, sy + s}, {sx - s * 0.2f, sy + s * 0.2f}},
                       withAlpha(kExitCore, 0.9f));
  }
}

void paintFire(Canvas& canvas, const PixelRect& c, float strength) {
  const float w = c.width(), h = c.height();
  const float cx = c.centreX();
  const float rimY = c.y0 + h * 0.6f;
  const float bowlBottom = c.y0 + h * 0.82f;
  // Warm light around the brazier, kept inside the cell.
  canvas.shadeRect(c.x0, c.y0, c.x1, c.y1, [=](float x, float y) {
    const float r = std::hypot((x - cx) / (w * 0.5f), (y - rimY) / (h * 0.6f));
    return withAlpha(kFireGlow, 0.5f * (1 - smoothstep(0, 1, r)));
  }, Blend::Add);
  // Legs, glowing coals, the flame, then the bowl's front over the flame's foot.
  canvas.strokeLine({cx - w * 0.2f, bowlBottom - 2}, {cx - w * 0.32f, c.y1 - 1.5f}, w * 0.07f, kIron);
  canvas.strokeLine({cx + w * 0.2f, bowlBottom - 2}, {cx + w * 0.32f, c.y1 - 1.5f}, w * 0.07f, kIron);
  for (int k = 0; k < 5; ++k)
    canvas.fillCircle(cx + (k - 2) * w * 0.13f, rimY - 1, w * 0.075f, k % 2 ? kCoals : shade(kCoals, 0.8f));
  const float flameScale = 0.6f + 0.4f * clamp01(strength / 10.0f);
  paintFlame(canvas, cx, rimY + 2, w * 0.66f * flameScale, h * 0.62f * flameScale, strength);
  canvas.shadePolygon({{c.x0 + w * 0.1f, rimY}, {c.x1 - w * 0.1f, rimY},
                       {cx + w * 0.24f, bowlBottom}, {cx - w * 0.24f, bowlBottom}},
                      [=](float x, float y) {
                        const float lit = 1 - clamp01(std::fabs(x - cx - w * 0.08f) / (w * 0.4f));
                        return mix(kIron, kIronLight, lit * (1 - clamp01((y - rimY) / (h * 0.25f))));
                      });
  canvas.fillRect(c.x0 + w * 0.08f, rimY - 1.5f, c.x1 - w * 0.08f, rimY + 2, kIronLight);
}

void paintLiftColumn(Canvas& canvas, const PixelRect& col, float burnDepth, std::uint64_t seed) {
  const float height = col.height();
  if (height <= 0 || col.width() <= 0) return;
  Prng random(seed);
  const float phaseA = random.range(0, 2 * kPi), phaseB = random.range(0, 2 * kPi);
  const float halfWidth = col.width() * 0.5f, cx = col.centreX();
  canvas.shadeRect(col.x0, col.y0, col.x1, col.y1, [=](float x, float y) {
    const float up = (col.y1 - y) / height;  // 0 at the bottom, 1 at the top of the reach
    const float across = (x - cx) / halfWidth;
    const float wave = 4.0f * std::sin(y * 0.045f + phaseA);
    const float streak = 0.5f + 0.5f * std::sin((x + wave) * 0.42f + phaseB) *
                                    std::sin((x - wave) * 0.13f + phaseA);
    // Soft sides and a fade over the last quarter, so the reach still reads at its top.
    const float sides = 1 - smoothstep(0.7f, 1.0f, std::fabs(across));
    const float fade = 1 - smoothstep(0.75f, 1.0f, up);
    const float burn = 1 - smoothstep(0, burnDepth, col.y1 - y);
    const float lift = kLiftAlpha * (0.4f + 0.6f * streak) * sides * fade;
    const float heat = 0.22f * burn * sides;
    return withAlpha(mix(kLift, kBurn, heat / std::max(1e-6f, heat + lift)), lift + heat);
  }, Blend::Add);
  // Rising chevrons hint at the direction of the lift.
  for (float y = col.y1 - kCellPixels * 1.1f; y > col.y0 + kCellPixels * 0.4f; y -= kCellPixels * 1.3f) {
    const float up = (col.y1 - y) / height;
    const Rgba chevron = withAlpha(kLift, 0.16f * (1 - smoothstep(0.75f, 1.0f, up)));
    canvas.strokeLine({cx - 8, y + 5}, {cx, y - 2}, 2.0f, chevron, Blend::Add);
    canvas.strokeLine({cx, y - 2}, {cx + 8, y + 5}, 2.0f, chevron, Blend::Add);
  }
  const int sparks = static_cast<int>(height * kSparksPerPixel);
  for (int k = 0; k < sparks; ++k) {
    // Denser low down, like embers that cool as they rise.
    const float up = random.uniform() * random.uniform();
    const float x = cx + random.range(-0.8f, 0.8f) * halfWidth;
    const float y = col.y1 - up * height;
    const float size = random.range(0.8f, 1.8f);
    canvas.fillCircle(x, y, size, withAlpha(rgb8(255, 214, 140), 0.5f * (1 - up)), Blend::Add);
  }
}

}  // namespace art
