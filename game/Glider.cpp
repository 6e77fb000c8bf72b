#include "game/Glider.h"

#include "game/FlameFlicker.h"
#include "game/GameState.h"
#include "game/SteeringControl.h"

Glider glider;

void Glider::setPosition(float newX, float newY) {
  x = newX;
  y = newY;
}

void Glider::changeVelocity(float dvx, float dvy) {
  vx += dvx;
  vy += dvy;
  if (vx > kMaxSpeedX) vx = kMaxSpeedX;
  if (vx < -kMaxSpeedX) vx = -kMaxSpeedX;
  const float climbLimit = lifted ? kMaxLiftedClimb : kMaxClimb;
  if (vy > climbLimit) vy = climbLimit;
  if (vy < -kMaxFall) vy = -kMaxFall;
}

void Glider::setContact(bool horizontal, bool positive) {
  if (horizontal) {
    (positive ? blockedRight : blockedLeft) = true;
    vx = 0;
  } else {
    (positive ? blockedUp : blockedDown) = true;
    vy = 0;
  }
}

void Glider::clearStepFlags() {
  lifted = false;
  blockedRight = blockedLeft = blockedUp = blockedDown = false;
}

void Glider::update(float dt) {
  if (mode == Burning) advanceFlameFrame(dt, flameTimer, flameFrame);
  if (GameState == Escaped) return;  // the won game freezes the glider, flags and all

  if (mode == Flying) {
    if ((vx > 0 && !blockedRight) || (vx < 0 && !blockedLeft)) x += vx * dt;
    if ((vy > 0 && !blockedUp) || (vy < 0 && !blockedDown)) y += vy * dt;
    if (vy > 0) {
      tilt += kTiltRate * dt;
      if (tilt > kMaxTilt) tilt = kMaxTilt;
    } else if (vy < 0) {
      tilt -= kTiltRate * dt;
      if (tilt < -kMaxTilt) tilt = -kMaxTilt;
    }
    clearStepFlags();
  } else if (mode == Burning) {
    // A burning glider only falls, and noses down whatever it does.
    if (vy < 0 && !blockedDown) y += vy * dt;
    tilt -= kTiltRate * dt;
    if (tilt < kBurningMinTilt) tilt = kBurningMinTilt;
    clearStepFlags();
  }
  // Crashed: frozen, flags kept.
}

void Glider::crash(GliderMode newMode) {
  GameState = Lost;
  if (mode != Flying) return;
  mode = newMode;
  changeVelocity(-vx, 0);
  if (newMode == Burning) {
    flameTimer = 0;
    flameFrame = 1;
  }
}

void Glider::revive() {
  mode = Flying;
  changeVelocity(-vx, -vy);
  steeringControl.release();
}
