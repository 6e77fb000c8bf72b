#pragma once
// Turns the player's left/right input into forces on the glider: the downward pull, the horizontal
// drag and the steering push, applied once per simulation step.
class Glider;

// Accelerations, units per second squared.
constexpr float kGravity = 4.0f;
constexpr float kSteeringDrag = 2.5f;  // drag while a direction is held
constexpr float kCoastingDrag = 5.0f;  // drag while nothing is held
constexpr float kSteeringPush = 10.0f;
// Below this horizontal speed (units/s, inclusive) a coasting glider gets no drag.
constexpr float kCoastDeadBand = 0.01f;

class SteeringControl {
 public:
  bool gravity;
  bool drag;
  bool steerLeft = false;
  bool steerRight = false;

  SteeringControl(bool gravityOn, bool dragOn) : gravity(gravityOn), drag(dragOn) {}

  // Starts steering right (true) or left (false); the last direction pressed wins.
  void press(bool right);
  // Ends steering in both directions, whichever key was released.
  void release();
  // Applies one step of dt seconds of pull, drag and push to the glider.
  void apply(float dt, Glider& glider) const;
};

// The game's one steering control, with gravity and drag on.
extern SteeringControl steeringControl;
