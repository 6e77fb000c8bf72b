#pragma once
// Counts operator new calls made by one thread while counting is on. Linking CountingAllocator.cpp
// replaces the program's global operator new and delete (every form) with counting ones.
#include <cstdint>

namespace perftest {

// Starts counting the calling thread's allocations, from zero.
void startCounting();
// Stops counting; the counts keep their values until the next start.
void stopCounting();
// operator new calls by the counting thread since startCounting.
std::int64_t allocationsCounted();
// operator new calls by every other thread over the same time (the audio and GL driver threads).
std::int64_t otherThreadAllocations();

}  // namespace perftest
