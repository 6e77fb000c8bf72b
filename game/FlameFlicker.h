#pragma once
// The flicker every flame in play shares, the burning glider's and the level's decoration flames:
// two pictures taking turns, each shown for a quarter of a second of steps.
#include <cstdint>

// Seconds each flame picture shows.
constexpr float kFlameFrameSeconds = 0.25f;

// Adds dt seconds to clock; once it reaches kFlameFrameSeconds, frame turns to the other picture
// (2 after 1, else 1) and clock restarts at 0. The excess is dropped, so the picture changes at
// most once a step.
inline void advanceFlameFrame(float dt, float& clock, std::int32_t& frame) {
  clock += dt;
  if (clock < kFlameFrameSeconds) return;
  frame = frame == 1 ? 2 : 1;
  clock = 0;
}
