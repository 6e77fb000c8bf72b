#include "tools/art/Sprites.h"

#include <cmath>
#include <vector>

#include "backdrop/Flame.h"
#include "backdrop/GliderOutline.h"
#include "backdrop/Prng.h"

namespace art {

namespace {

constexpr float kPi = 3.14159265f;
constexpr Rgba kPaper = rgb8(250, 249, 242);
constexpr Rgba kPaperShade = rgb8(206, 212, 224);
constexpr Rgba kPaperDeep = rgb8(160, 170, 190);
constexpr Rgba kInk = rgb8(38, 48, 72);
constexpr Rgba kScorch = rgb8(70, 40, 20);
constexpr Rgba kHeatColour = rgb8(255, 255, 255);
constexpr std::uint64_t kWreckSeed = 0xC2A5;

// Maps a point of the unit box into the box (x, y, w, h).
Point place(Point p, float x, float y, float w, float h) { return Point{x + p.x * w, y + p.y * h}; }

std::vector<Point> placeAll(const std::vector<Point>& points, float x, float y, float w, float h) {
  std::vector<Point> out;
  for (const Point& p : points) out.push_back(place(p, x, y, w, h));
  return out;
}

}  // namespace

Canvas paintSquare(const Rgba& colour) { return Canvas(kSquareSize, kSquareSize, colour); }

void drawGlider(Canvas& canvas, float x, float y, float w, float h) {
  const GliderOutline s;
  const float line = std::max(1.0f, h / 60.0f);
  auto at = [&](Point p) { return place(p, x, y, w, h); };
  // Far wing first, then the keel, then the near wing over both.
  const std::vector<Point> farWing = placeAll({s.nose, s.tailFar, s.fold}, x, y, w, h);
  const std::vector<Point> keel = placeAll({s.nose, s.fold, s.keelBottom, s.keelFront}, x, y, w, h);
  const std::vector<Point> wing = placeAll({s.nose, s.tailTop, s.fold}, x, y, w, h);
  canvas.fillPolygon(farWing, kPaperDeep);
  const Point keelTop = at(s.fold), keelLow = at(s.keelBottom);
  canvas.shadePolygon(keel, [=](float, float py) {
    return mix(kPaperShade, kPaperDeep, clamp01((py - keelTop.y) / (keelLow.y - keelTop.y)));
  });
  const Point tail = at(s.tailTop), nose = at(s.nose);
  canvas.shadePolygon(wing, [=](float px, float) {
    return mix(kPaperShade, kPaper, clamp01((px - tail.x) / (nose.x - tail.x) * 1.6f));
  });
  canvas.strokePolyline(wing, line, kInk, true);
  canvas.strokePolyline(keel, line, kInk, true);
  canvas.strokeLine(at(s.nose), at(s.tailFar), line * 0.8f, withAlpha(kInk, 0.8f));
  // The crease from nose to tail along the wing.
  canvas.strokeLine(at({0.95f, 0.44f}), at({0.12f, 0.25f}), line * 0.7f, withAlpha(kInk, 0.35f));
}

Canvas paintGlider(int width, int height) {
  Canvas canvas(width, height);
  drawGlider(canvas, width * 0.01f, height * 0.02f, width * 0.98f, height * 0.96f);
  return canvas;
}

Canvas paintCrashedGlider(int width, int height) {
  Canvas canvas(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float line = std::max(1.0f, h / 60.0f);
  Prng random(kWreckSeed);
  // Crumpled sheets: jagged polygons around a few centres, lying low as if fallen.
  const Point centres[] = {{0.34f, 0.62f}, {0.58f, 0.66f}, {0.78f, 0.74f}, {0.2f, 0.78f}};
  const Rgba tones[] = {kPaperShade, kPaper, kPaperDeep, kPaper};
  for (int piece = 0; piece < 4; ++piece) {
    const int corners = 9 + piece;
    const float rx = (piece == 1 ? 0.22f : 0.14f) * w, ry = (piece == 1 ? 0.26f : 0.17f) * h;
    std::vector<Point> outline;
    for (int k = 0; k < corners; ++k) {
      const float angle = 2 * kPi * (k + random.range(-0.3f, 0.3f)) / corners;
      const float reach = random.range(0.55f, 1.0f);
      outline.push_back({centres[piece].x * w + std::cos(angle) * rx * reach,
                         centres[piece].y * h + std::sin(angle) * ry * reach});
    }
    const Point c{centres[piece].x * w, centres[piece].y * h};
    const Rgba tone = tones[piece];
    canvas.shadePolygon(outline, [=](float px, float py) {
      // Scorched towards the edges.
      const float r = std::hypot((px - c.x) / rx, (py - c.y) / ry);
      return mix(tone, kScorch, smoothstep(0.45f, 1.0f, r) * 0.7f);
    });
    canvas.strokePolyline(outline, line, kInk, true);
    // Creases across the crumpled sheet.
    for (int k = 0; k < 3; ++k) {
      const Point a = outline[random.next() % outline.size()];
      const Point b = outline[random.next() % outline.size()];
      canvas.strokeLine(a, b, line * 0.7f, withAlpha(kInk, 0.45f));
    }
  }
  // The broken nose, bent down and torn off.
  canvas.fillPolygon({{0.84f * w, 0.52f * h}, {0.98f * w, 0.80f * h}, {0.88f * w, 0.92f * h}},
                     kPaperShade);
  canvas.strokePolyline({{0.84f * w, 0.52f * h}, {0.98f * w, 0.80f * h}, {0.88f * w, 0.92f * h}},
                        line, kInk, true);
  // Wisps of smoke above the wreck.
  for (int k = 0; k < 3; ++k) {
    const float sx = (0.3f + 0.2f * k) * w;
    canvas.fillCircle(sx, 0.3f * h - k * 4, 0.07f * h, withAlpha(rgb8(120, 120, 130), 0.35f));
    canvas.fillCircle(sx + 8, 0.18f * h - k * 3, 0.05f * h, withAlpha(rgb8(120, 120, 130), 0.22f));
  }
  return canvas;
}

Canvas paintFlameFrame(int frame) {
  Canvas canvas(kFlameSize, kFlameSize);
  const float phase = frame == 1 ? 0.0f : 2.6f;
  const float base = static_cast<float>(kFlameSize);
  paintFlame(canvas, kFlameSize * 0.5f, base, kFlameSize * 0.62f, kFlameSize * 0.96f, phase);
  // Side tongues that differ between the frames.
  const float side = frame == 1 ? -1.0f : 1.0f;
  paintFlame(canvas, kFlameSize * (0.5f + side * 0.17f), base, kFlameSize * 0.3f,
             kFlameSize * 0.55f, phase + 1.3f);
  paintFlame(canvas, kFlameSize * (0.5f - side * 0.2f), base, kFlameSize * 0.24f,
             kFlameSize * 0.38f, phase + 0.7f);
  return canvas;
}

Canvas paintHeat() {
  Canvas canvas(kHeatWidth, kHeatHeight);
  const float w = static_cast<float>(kHeatWidth), h = static_cast<float>(kHeatHeight);
  canvas.shadeRect(0, 0, w, h, [=](float x, float y) {
    const float u = x / w;
    // Whole periods along y keep the texture seamless when it repeats.
    const float v = 2 * kPi * y / h;
    const float bend = 0.05f * std::sin(v * 2) + 0.03f * std::sin(v * 3 + 1.0f);
    const float s = u + bend;
    const float streaks = 0.5f + 0.25f * std::sin(s * 2 * kPi * 5) + 0.25f * std::sin(s * 2 * kPi * 9 + v);
    const float envelope = std::pow(std::sin(kPi * clamp01(u)), 1.5f);
    const float shimmer = 0.75f + 0.25f * std::sin(v * 4 + u * 9);
    return withAlpha(kHeatColour, clamp01(envelope * streaks * shimmer));
  });
  return canvas;
}

}  // namespace art
