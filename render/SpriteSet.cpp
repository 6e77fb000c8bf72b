#include "render/SpriteSet.h"

#include "render/SpriteQuad.h"

SpriteSet* spriteSet = nullptr;

namespace {
constexpr const char* kImagePaths[kSpriteCount] = {
    "images/red.png",    "images/blue.png",      "images/green.png", "images/gray.png",
    "images/white.png",  "images/black.png",     "images/glider.png", "images/glider_c.png",
    "images/fire1.png",  "images/fire2.png",     "images/escape.png", "images/lost.png",
    "images/heat.png",
};
}  // namespace

SpriteSet::SpriteSet() {
  for (std::int32_t& slot : lists) slot = -1;
  // Every entry loads its own texture, and loads and list builds alternate.
  for (int i = 0; i < kSpriteCount; ++i) {
    std::int32_t texture = -1;
    buildSpriteQuad(lists[i], texture, kImagePaths[i]);
    textures[i] = texture;
  }
}
