// For tests of what happens when memory runs out: a test program that
// compiles failing_allocation.cpp has its global operator new replaced, so
// that one chosen allocation can be made to fail; unarmed it is plain malloc.
#pragma once

namespace quillmere::test {

// Allocation number `count` from now on (0: the next) throws std::bad_alloc.
void failAllocationAfter(long count);
// No allocation fails any more.
void stopFailingAllocations();
// Whether an allocation failed since the last failAllocationAfter.
bool allocationFailed();

} // namespace quillmere::test
