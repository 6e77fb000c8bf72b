#pragma once
// A platform whose clock the test sets and whose clears, swaps, reshape requests and window
// destructions it counts.
#include <cstdint>

#include "app/Platform.h"

struct FakePlatform {
  static inline std::uint32_t nowMs = 0;
  static inline int clears = 0, swaps = 0, reshapes = 0, ends = 0;
  static inline int lastReshapeWidth = 0, lastReshapeHeight = 0;

  static void install() {
    nowMs = 0;
    clears = swaps = reshapes = ends = 0;
    platform.elapsedMs = [] { return nowMs; };
    platform.clearBuffers = [] { ++clears; };
    platform.swapBuffers = [] { ++swaps; };
    platform.reshapeWindow = [](int w, int h) { ++reshapes, lastReshapeWidth = w, lastReshapeHeight = h; };
    platform.endGame = [] { ++ends; };
  }
};
