#include "failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {

long allocationsUntilFailure = -1; // the allocation that fails when this reaches 0; negative: none
bool failureInjected = false;

} // namespace

void* operator new(std::size_t size) {
  if (allocationsUntilFailure >= 0 && allocationsUntilFailure-- == 0) {
    failureInjected = true;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
// Out of line: inlined into a caller, a free() of what operator new gave
// looks like a mismatched pair to the compiler, which cannot see that our
// operator new is malloc.
__attribute__((noinline)) void operator delete(void* block) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete[](void* block) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept { std::free(block); }
__attribute__((noinline)) void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace quillmere::test {

void failAllocationAfter(long count) {
  failureInjected = false;
  allocationsUntilFailure = count;
}

void stopFailingAllocations() { allocationsUntilFailure = -1; }

bool allocationFailed() { return failureInjected; }

} // namespace quillmere::test
