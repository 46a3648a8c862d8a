// Out of memory anywhere in a run, kwhashgen says "Malloc error." and ends
// with status 1, having written nothing to standard output and not claimed
// success: every allocation a whole run makes is failed in turn.
#include "failing_allocator.hpp"
#include "kwhashgen/generator.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kwhashgen {
namespace {

using karvo::testing::run_program_failing_at;

TEST(AllocationFailure, EveryAllocationOfARunEndsInMallocError) {
    // Keywords and types longer than a short string's inline room, and an
    // argument that is too, so that the reader and the command line allocate.
    const std::vector<std::string> args = {"kwhashgen-under-a-long-name", "7"};
    std::string list = "% a keyword list\n";
    for (const char* keyword : {"first_long_keyword", "second_long_keyword", "if", "else"})
        list += std::string(keyword) + "\tTOKEN_OF_A_LONG_NAME\n";

    const auto whole = run_program_failing_at(0, args, list, run);
    ASSERT_EQ(whole.result.status, status_success) << whole.result.err;
    ASSERT_GE(whole.allocations, 10u);
    for (std::size_t n = 1; n <= whole.allocations; ++n) {
        const auto [result, allocations] = run_program_failing_at(n, args, list, run);
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(allocations));
        EXPECT_EQ(result.status, status_error);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.ends_with("Malloc error.\n")) << result.err;
        EXPECT_EQ(result.err.find("Success."), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace kwhashgen
