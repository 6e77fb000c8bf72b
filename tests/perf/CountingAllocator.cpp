#include "tests/perf/CountingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<std::int64_t> counted{0};
std::atomic<std::int64_t> others{0};
// Plain data, so reading it inside operator new cannot itself allocate.
thread_local bool countedThread = false;

// Kept out of line so a debugger can stop on each counted allocation.
[[gnu::noinline]] void countedAllocation() { counted.fetch_add(1, std::memory_order_relaxed); }

void note() {
  if (!counting.load(std::memory_order_relaxed)) return;
  if (countedThread) {
    countedAllocation();
  } else {
    others.fetch_add(1, std::memory_order_relaxed);
  }
}

void* allocate(std::size_t size) {
  note();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
  note();
  const std::size_t align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  if (void* block = std::aligned_alloc(align, rounded == 0 ? align : rounded)) return block;
  throw std::bad_alloc();
}

}  // namespace

namespace perftest {

void startCounting() {
  counted = 0;
  others = 0;
  countedThread = true;
  counting = true;
}

void stopCounting() {
  counting = false;
  countedThread = false;
}

std::int64_t allocationsCounted() { return counted; }
std::int64_t otherThreadAllocations() { return others; }

}  // namespace perftest

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
