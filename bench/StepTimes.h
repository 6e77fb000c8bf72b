#pragma once
// The moments a start-up probe passes its steps, kept without allocating while it starts and
// printed after its "shown" line, so that printing them costs the timed start-up nothing.
// startup_time reads them back.
#include <GL/gl.h>

#include <cstdio>
#include <ctime>

namespace perf {

class StepTimes {
 public:
  // Records that the step has completed, once GL has finished the work it was given.
  void mark(const char* step) {
    glFinish();
    if (count_ < kMaxSteps) steps_[count_++] = Step{step, monotonicMs()};
  }
  // One "step NAME MS" line per step.
  void print() const {
    for (int i = 0; i < count_; ++i) std::printf("step %s %.3f\n", steps_[i].name, steps_[i].ms);
    std::fflush(stdout);
  }

 private:
  // The clock behind std::chrono::steady_clock here, which startup_time reads; read directly so
  // that the bare probe needs no C++ runtime library.
  static double monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
  }
  struct Step {
    const char* name;
    double ms;
  };
  static constexpr int kMaxSteps = 16;
  Step steps_[kMaxSteps] = {};
  int count_ = 0;
};

}  // namespace perf
