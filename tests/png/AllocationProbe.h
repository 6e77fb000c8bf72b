#pragma once
// Records the largest single operator new request, so tests can check that refusing an oversized
// image happens before any memory is set aside for it. Linking AllocationProbe.cpp replaces the
// program's global operator new and delete.
#include <cstddef>

namespace pngtest {

// Forgets earlier requests.
void resetLargestAllocation();
// The largest request since the last reset, bytes.
std::size_t largestAllocation();

}  // namespace pngtest
