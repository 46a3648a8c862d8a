// An operator new that fails on request, for tests of what a program does
// when memory runs out. A test binary gets it by compiling
// failing_allocator.cpp into its own sources (it replaces the global operator
// new of the whole binary); until armed it only allocates.
#pragma once

#include "common/command_line.hpp"
#include "process.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace karvo::testing {

// Starts counting allocations; the `fail_at`th one from now (1-based) throws
// std::bad_alloc, and so does every later one, as an exhausted heap would.
// 0 only counts.
void arm_allocation_failure(std::size_t fail_at);

// Stops counting and failing; returns how many allocations were asked for
// since arming, the failed ones included.
std::size_t disarm_allocation_failure();

struct AllocatingRun {
    ProcessResult result;
    std::size_t allocations = 0; // asked for, the failed ones included
};

// A whole program run in-process, as its main() runs it (command line
// included), on `input`, with the `fail_at`th allocation failing (0: none).
AllocatingRun run_program_failing_at(std::size_t fail_at, std::vector<std::string> args,
                                     const std::string& input, karvo::RunFunction run);

} // namespace karvo::testing
