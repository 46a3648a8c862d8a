// Out of memory, chkprotogen says "Malloc error." and ends with status 1,
// having written nothing to standard output. Its filter allocates nothing, so
// the allocations a run makes are those of gathering the command line.
#include "chkprotogen/generator.hpp"
#include "common/command_line.hpp"
#include "failing_allocator.hpp"
#include "process.hpp"
#include "streams.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace chkprotogen {
namespace {

using karvo::testing::arm_allocation_failure;
using karvo::testing::disarm_allocation_failure;

struct AllocatingRun {
    karvo::testing::ProcessResult result;
    std::size_t allocations = 0;
};

AllocatingRun run_failing_at(std::size_t fail_at, std::vector<std::string> args,
                             const std::string& table) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    karvo::testing::InputStream in(table);
    karvo::testing::OutputStream out;
    karvo::testing::OutputStream err;
    arm_allocation_failure(fail_at);
    const int status = karvo::run_program(static_cast<int>(argv.size()), argv.data(), false,
                                          {in.get(), out.get(), err.get()}, run);
    AllocatingRun result;
    result.allocations = disarm_allocation_failure();
    result.result = {status, out.text(), err.text()};
    return result;
}

TEST(AllocationFailure, EveryAllocationOfARunEndsInMallocError) {
    const std::vector<std::string> args = {"chkprotogen",
                                           "--assert-prototypes=/a/table/of/intrinsics.c"};
    std::string table;
    for (int i = 0; i < 2000; ++i)
        table += "   MAKE_INTRINSIC_S(\"f\", function_with_a_name, KARVO_INT_TYPE),\n";

    const AllocatingRun whole = run_failing_at(0, args, table);
    ASSERT_EQ(whole.result.status, status_success) << whole.result.err;
    // The argument vector and the one argument too long to be held inline.
    EXPECT_EQ(whole.allocations, 2u);
    for (std::size_t n = 1; n <= whole.allocations; ++n) {
        const auto [result, allocations] = run_failing_at(n, args, table);
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(allocations));
        EXPECT_EQ(result.status, status_error);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Malloc error.\n");
    }
}

} // namespace
} // namespace chkprotogen
