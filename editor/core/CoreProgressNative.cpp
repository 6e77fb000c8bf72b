// The core's progress reports in a native program: nobody waits on a page, so they go nowhere.
#include "editor/core/CoreProgress.h"

void coreSearchProgress(double) {}
void coreKindProgress(const char*) {}
