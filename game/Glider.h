#pragma once
// The player's craft: a point body with a position, a velocity, a nose tilt and a mode. The level
// objects tell it each step what blocks, lifts, crashes or burns it; the steering changes its
// velocity; update() integrates the position and clears the per-step flags.
#include <cstdint>

enum GliderMode : std::int32_t { Flying = 0, Crashed = 1, Burning = 2 };

// Velocity limits, units per second.
constexpr float kMaxSpeedX = 15.0f;
constexpr float kMaxClimb = 4.0f;        // upward limit unless lifted
constexpr float kMaxLiftedClimb = 12.0f; // upward limit in a step where a fire lifts it
constexpr float kMaxFall = 8.0f;
// The sprite's size, world units (a cell is 5).
constexpr float kGliderSpriteWidth = 7.0f;
constexpr float kGliderSpriteHeight = 4.0f;
// Tilt: degrees per second, and its bounds in degrees.
constexpr float kTiltRate = 12.0f;
constexpr float kMaxTilt = 30.0f;
constexpr float kBurningMinTilt = -60.0f;

class Glider {
 public:
  float x = 0, y = 0;     // centre, world units: the one point every test uses
  float vy = 0, vx = 0;   // units per second, positive up / right
  float tilt = 0;         // nose-up angle, degrees
  bool lifted = false;    // a fire lifted it during this step
  bool facingLeft = false;
  bool blockedRight = false, blockedLeft = false, blockedUp = false, blockedDown = false;
  float flameTimer = 0;   // seconds since the flame picture last changed
  std::int32_t flameFrame = 0;  // 1 or 2 once burning
  GliderMode mode = Flying;

  // Moves the centre to (x, y), world units; nothing else changes.
  void setPosition(float newX, float newY);
  // Adds (dvx, dvy) units/s, then clamps both components to the limits above.
  void changeVelocity(float dvx, float dvy);
  // Blocks one direction for this step and zeroes the velocity on that axis.
  void setContact(bool horizontal, bool positive);
  // One simulation step of dt seconds.
  void update(float dt);
  // Draws the sprite (defined with the rendering code).
  void draw() const;
  // Wrecks (Crashed) or sets alight (Burning) a flying glider; always sets GameState to Lost.
  void crash(GliderMode newMode);
  // Back to Flying at rest, with the steering released.
  void revive();

 private:
  void clearStepFlags();
};

// The game's one glider.
extern Glider glider;
