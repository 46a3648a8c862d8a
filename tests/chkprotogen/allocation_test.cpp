// Out of memory, chkprotogen says "Malloc error." and ends with status 1,
// having written nothing to standard output. Its filter allocates nothing, so
// the allocations a run makes are those of gathering the command line.
#include "chkprotogen/generator.hpp"
#include "failing_allocator.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace chkprotogen {
namespace {

using karvo::testing::run_program_failing_at;

TEST(AllocationFailure, EveryAllocationOfARunEndsInMallocError) {
    const std::vector<std::string> args = {"chkprotogen",
                                           "--assert-prototypes=/a/table/of/intrinsics.c"};
    std::string table;
    for (int i = 0; i < 2000; ++i)
        table += "   MAKE_INTRINSIC_S(\"f\", function_with_a_name, KARVO_INT_TYPE),\n";

    const auto whole = run_program_failing_at(0, args, table, run);
    ASSERT_EQ(whole.result.status, status_success) << whole.result.err;
    // The argument vector and the one argument too long to be held inline.
    EXPECT_EQ(whole.allocations, 2u);
    for (std::size_t n = 1; n <= whole.allocations; ++n) {
        const auto [result, allocations] = run_program_failing_at(n, args, table, run);
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(allocations));
        EXPECT_EQ(result.status, status_error);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Malloc error.\n");
    }
}

} // namespace
} // namespace chkprotogen
