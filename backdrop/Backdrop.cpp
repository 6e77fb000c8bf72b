#include "backdrop/Backdrop.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "backdrop/CellArt.h"
#include "backdrop/Prng.h"
#include "backdrop/WorldView.h"
#include "game/Block.h"
#include "game/HeatSource.h"
#include "game/LevelObjectList.h"

namespace art {

namespace {

constexpr Rgba kSkyTop = rgb8(8, 14, 34);
constexpr Rgba kSkyBottom = rgb8(22, 40, 70);
constexpr Rgba kGridLine = rgb8(150, 180, 255, 0.05f);
constexpr Rgba kStar = rgb8(210, 225, 255);
constexpr int kStarCount = 90;
constexpr std::uint64_t kStarSeed = 0x5A4E4F4C;  // fixed: every backdrop has the same sky
constexpr std::uint64_t kLiftSeed = 0x1F17;

// One rectangle of one kind, with the union of the faces its blocks guard.
struct CoveredArea {
  BlockKind kind;
  PixelRect area;
  FaceSet faces;
};

using AreaKey = std::tuple<int, float, float, float, float>;

void addFace(FaceSet& faces, BlockFace face) {
  switch (face) {
    case Left: faces.left = true; break;
    case Right: faces.right = true; break;
    case Top: faces.top = true; break;
    case Bottom: faces.bottom = true; break;
  }
}

// The level's blocks merged so each covered rectangle is drawn once per kind, in file order.
std::vector<CoveredArea> coveredAreas(const LevelObjectList& level) {
  std::vector<CoveredArea> areas;
  std::map<AreaKey, size_t> seen;
  for (const LevelObject* object : level.objects) {
    const Block* block = dynamic_cast<const Block*>(object);
    if (!block) continue;
    const AreaKey key{block->kind, block->x, block->y, block->width, block->height};
    auto found = seen.find(key);
    if (found == seen.end()) {
      found = seen.emplace(key, areas.size()).first;
      areas.push_back({block->kind, worldRect(block->x, block->y, block->width, block->height), {}});
    }
    addFace(areas[found->second].faces, block->face);
  }
  return areas;
}

std::vector<const HeatSource*> fires(const LevelObjectList& level) {
  std::vector<const HeatSource*> out;
  for (const LevelObject* object : level.objects)
    if (const HeatSource* heat = dynamic_cast<const HeatSource*>(object)) out.push_back(heat);
  return out;
}

void paintLift(Canvas& canvas, const HeatSource& fire, std::uint64_t seed) {
  const float reachTop = std::min(kWorldTop, fire.y + fire.strength * kReachPerStrength);
  const float columnBottom = fire.y + kCellSize * 0.5f;
  if (reachTop <= columnBottom) return;
  const PixelRect column{pixelX(fire.x - kHeatHalfWidth), pixelY(reachTop),
                         pixelX(fire.x + kHeatHalfWidth), pixelY(columnBottom)};
  const float burnDepth = (kBurnHalfHeight - kCellSize * 0.5f) * kPixelsPerUnit;
  paintLiftColumn(canvas, column, burnDepth, seed);
}

}  // namespace

Canvas paintSky() {
  Canvas canvas(kScreenWidth, kScreenHeight, kSkyTop);
  canvas.shadeRect(0, 0, kScreenWidth, kScreenHeight, [](float, float y) {
    return mix(kSkyTop, kSkyBottom, y / kScreenHeight);
  });
  Prng random(kStarSeed);
  for (int k = 0; k < kStarCount; ++k) {
    const float x = random.range(0, kScreenWidth), y = random.range(0, kScreenHeight * 0.8f);
    const float brightness = random.range(0.08f, 0.3f) * (1 - y / kScreenHeight);
    canvas.fillCircle(x, y, random.range(0.6f, 1.3f), withAlpha(kStar, brightness));
  }
  for (int c = 1; c < kScreenWidth / kCellPixels; ++c) {
    const float x = c * kCellPixels;
    canvas.fillRect(x - 0.5f, 0, x + 0.5f, kScreenHeight, kGridLine);
  }
  for (int r = 1; r < kScreenHeight / kCellPixels; ++r) {
    const float y = r * kCellPixels;
    canvas.fillRect(0, y - 0.5f, kScreenWidth, y + 0.5f, kGridLine);
  }
  return canvas;
}

Canvas paintBackdrop(const LevelObjectList& level) {
  Canvas canvas = paintSky();
  const std::vector<const HeatSource*> heat = fires(level);
  // Lift first, so every solid thing is drawn over the shimmer.
  std::uint64_t seed = kLiftSeed;
  for (const HeatSource* fire : heat) paintLift(canvas, *fire, seed++);
  const std::vector<CoveredArea> areas = coveredAreas(level);
  for (BlockKind kind : {Wall, Hazard, Exit})
    for (const CoveredArea& a : areas) {
      if (a.kind != kind) continue;
      if (kind == Wall) paintWall(canvas, a.area, a.faces);
      if (kind == Hazard) paintHazard(canvas, a.area, a.faces);
      if (kind == Exit) paintExit(canvas, a.area);
    }
  for (const HeatSource* fire : heat)
    paintFire(canvas, worldRect(fire->x, fire->y, kCellSize, kCellSize), fire->strength);
  return canvas;
}

Canvas renderBackdropFile(const std::string& levelPath) {
  const LevelObjectList level(levelPath);
  return paintBackdrop(level);
}

Canvas renderBackdrop(const LevelRows& rows) {
  const LevelObjectList level(rows);
  return paintBackdrop(level);
}

}  // namespace art
