#pragma once
// Something in a level that acts on the glider: a Block or a HeatSource. The level object list owns
// its objects and deletes them through this interface.
class Glider;

class LevelObject {
 public:
  virtual ~LevelObject() = default;
  // Per-step update of dt seconds; run only while playing.
  virtual void update(float dt) = 0;
  // Draws the object (blocks draw nothing; the backdrop shows them).
  virtual void draw() const = 0;
  // Acts on the glider for one step of dt seconds.
  virtual void interact(float dt, Glider& glider) = 0;
  // The rectangle outside which interact never acts on a glider's centre, world units; false
  // when the object may act anywhere, as a fire's lift does far above its cell.
  virtual bool actsOnlyWithin(float& left, float& bottom, float& right, float& top) const { return false; }
  // False when update does nothing, so that the level can pass the object by.
  virtual bool updates() const { return true; }
};
