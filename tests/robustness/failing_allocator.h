// A replacement of the global operator new for one test program: once armed with a count,
// that many allocations succeed and every later one throws std::bad_alloc until disarmed.
#pragma once

#include <cstddef>

namespace kx::test {

void failAllocationsAfter(std::size_t successes);
void allowAllocations();
// How many allocations were refused since the last arming.
std::size_t refusedAllocations();

}  // namespace kx::test
