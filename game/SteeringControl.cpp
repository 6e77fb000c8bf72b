#include "game/SteeringControl.h"

#include "game/Glider.h"

SteeringControl steeringControl(true, true);

void SteeringControl::press(bool right) {
  steerRight = right;
  steerLeft = !right;
}

void SteeringControl::release() {
  steerLeft = false;
  steerRight = false;
}

void SteeringControl::apply(float dt, Glider& g) const {
  if (gravity && !g.lifted) g.changeVelocity(0, -kGravity * dt);
  if (drag) {
    if (steerLeft || steerRight) {
      if (g.vx > 0) {
        g.changeVelocity(-kSteeringDrag * dt, 0);
      } else if (g.vx < 0) {
        g.changeVelocity(kSteeringDrag * dt, 0);
      }
    } else if (g.vx > kCoastDeadBand) {
      g.changeVelocity(-kCoastingDrag * dt, 0);
    } else if (g.vx < -kCoastDeadBand) {
      g.changeVelocity(kCoastingDrag * dt, 0);
    }
  }
  if (steerRight) {
    g.changeVelocity(kSteeringPush * dt, 0);
    g.facingLeft = false;
  }
  if (steerLeft) {
    g.changeVelocity(-kSteeringPush * dt, 0);
    g.facingLeft = true;
  }
}
