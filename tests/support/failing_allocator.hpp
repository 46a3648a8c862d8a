// An operator new that fails on request, for tests of what a program does
// when memory runs out. A test binary gets it by compiling
// failing_allocator.cpp into its own sources (it replaces the global operator
// new of the whole binary); until armed it only allocates.
#pragma once

#include <cstddef>

namespace karvo::testing {

// Starts counting allocations; the `fail_at`th one from now (1-based) throws
// std::bad_alloc, and so does every later one, as an exhausted heap would.
// 0 only counts.
void arm_allocation_failure(std::size_t fail_at);

// Stops counting and failing; returns how many allocations were asked for
// since arming, the failed ones included.
std::size_t disarm_allocation_failure();

} // namespace karvo::testing
