// The core's progress reports in the browser: the page sets Module.onSearchProgress and
// Module.onKindProgress to hear them.
#include <emscripten.h>

#include "editor/core/CoreProgress.h"

EM_JS(void, coreSearchProgress, (double runs), {
  if (Module.onSearchProgress) Module.onSearchProgress(runs);
});
EM_JS(void, coreKindProgress, (const char* json), {
  if (Module.onKindProgress) Module.onKindProgress(JSON.parse(UTF8ToString(json)));
});
