#include "tests/png/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> largest{0};
}  // namespace

namespace pngtest {

void resetLargestAllocation() { largest = 0; }

std::size_t largestAllocation() { return largest; }

}  // namespace pngtest

void* operator new(std::size_t size) {
  std::size_t seen = largest.load();
  while (size > seen && !largest.compare_exchange_weak(seen, size)) {
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }
