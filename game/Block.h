#pragma once
// An invisible rectangle that guards one face: a wall stops the glider there, a hazard wrecks it,
// an exit ends the level.
#include <cstdint>

#include "game/LevelObject.h"

enum BlockKind : std::int32_t { Wall = 1, Hazard = 2, Exit = 3 };
// The guarded face, named for the rectangle's edge; it stops glider motion into that edge.
enum BlockFace : std::int32_t { Bottom = 0, Right = 1, Top = 2, Left = 3 };

// A wall face stops a glider whose centre is closer than this (squared, units²) to the face:
// it must have crossed it by less than about 0.0316 units.
constexpr double kWallFaceReachSquared = 0.001;

class Block : public LevelObject {
 public:
  float x, y;           // centre, world units
  float width, height;  // extents, world units
  BlockKind kind;
  BlockFace face;

  Block(float x, float y, float width, float height, BlockKind kind, BlockFace face)
      : x(x), y(y), width(width), height(height), kind(kind), face(face) {}

  void update(float) override {}
  void draw() const override {}
  void interact(float dt, Glider& glider) override;
  bool actsOnlyWithin(float& left, float& bottom, float& right, float& top) const override;
  bool updates() const override { return false; }

 private:
  bool faceTestPasses(const Glider& glider, float left, float right, float bottom, float top) const;
  void touch(Glider& glider) const;
};
