#include "app/StartupSteps.h"

namespace {
StartupStepWatcher stepWatcher = nullptr;
}  // namespace

void watchStartupSteps(StartupStepWatcher watcher) { stepWatcher = watcher; }

void startupStepDone(const char* step) {
  if (stepWatcher) stepWatcher(step);
}
