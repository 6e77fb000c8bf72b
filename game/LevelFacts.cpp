#include "game/LevelFacts.h"

#include "game/HeatSource.h"

namespace {

constexpr LevelFacts kLevelFacts[] = {
    {2, true, 1, {{{30.0f, 9.5f, 15.0f, 20.0f}}}},
    {3, true, 1, {{{36.5f, 13.5f, 30.0f, 40.0f}}}},
    {4, false, 2, {{{7.5f, 32.5f, 5.0f, 5.0f}, {-17.5f, 32.5f, 5.0f, 5.0f}}}},
    {5, false, 2, {{{2.5f, 51.5f, 5.0f, 5.0f}, {-22.5f, 51.5f, 5.0f, 5.0f}}}},
};

// True if some fire among the objects has its centre strictly inside the flame's rectangle.
bool fireUnder(const DecorationFlame& flame, const std::vector<LevelObject*>& objects) {
  const float halfWidth = flame.width / 2, halfHeight = flame.height / 2;
  for (const LevelObject* object : objects) {
    const auto* fire = dynamic_cast<const HeatSource*>(object);
    if (fire && fire->x > flame.x - halfWidth && fire->x < flame.x + halfWidth &&
        fire->y > flame.y - halfHeight && fire->y < flame.y + halfHeight)
      return true;
  }
  return false;
}

}  // namespace

const LevelFacts& levelFacts(std::int32_t n) {
  for (const LevelFacts& facts : kLevelFacts)
    if (facts.levelNumber == n) return facts;
  return kNoLevelFacts;
}

LevelFacts backedLevelFacts(std::int32_t n, const std::vector<LevelObject*>& objects) {
  const LevelFacts& listed = levelFacts(n);
  LevelFacts backed = listed;
  backed.flameCount = 0;
  for (int i = 0; i < listed.flameCount; ++i)
    if (fireUnder(listed.flames[i], objects)) backed.flames[backed.flameCount++] = listed.flames[i];
  backed.fireSound = listed.fireSound && backed.flameCount > 0;
  return backed;
}
