#pragma once
// The 13 sprite quads drawn during play, built once at start-up right after the window exists.
#include <cstdint>

enum class Sprite : int {
  red, blue, green, gray, white, black,  // colour squares: loaded, never drawn
  glider, gliderCrashed, fire1, fire2, escape, lost, heat,
};
constexpr int kSpriteCount = 13;

// The picture a flame shows in its flicker frame (game/FlameFlicker.h): fire1 for 1, else fire2.
inline Sprite flameSprite(std::int32_t frame) { return frame == 1 ? Sprite::fire1 : Sprite::fire2; }

class SpriteSet {
 public:
  std::int32_t lists[kSpriteCount];     // display lists, in Sprite order
  std::int32_t textures[kSpriteCount];  // each entry's own texture name (0 if its image failed)

  // Loads every sprite image and compiles its quad. Needs a current GL context.
  SpriteSet();

  // The entry's display list, for glCallList.
  std::int32_t list(Sprite s) const { return lists[static_cast<int>(s)]; }
  // The entry's texture name.
  std::int32_t texture(Sprite s) const { return textures[static_cast<int>(s)]; }
};

// The game's sprite set; null until the entry point builds it and after the window closes.
extern SpriteSet* spriteSet;
