#include "game/LevelFacts.h"

namespace {

constexpr LevelFacts kLevelFacts[] = {
    {2, true, 1, {{{30.0f, 9.5f, 15.0f, 20.0f}}}},
    {3, true, 1, {{{36.5f, 13.5f, 30.0f, 40.0f}}}},
    {4, false, 2, {{{7.5f, 32.5f, 5.0f, 5.0f}, {-17.5f, 32.5f, 5.0f, 5.0f}}}},
    {5, false, 2, {{{2.5f, 51.5f, 5.0f, 5.0f}, {-22.5f, 51.5f, 5.0f, 5.0f}}}},
};

constexpr LevelFacts kNoFacts = {0, false, 0, {}};

}  // namespace

const LevelFacts& levelFacts(std::int32_t n) {
  for (const LevelFacts& facts : kLevelFacts)
    if (facts.levelNumber == n) return facts;
  return kNoFacts;
}
