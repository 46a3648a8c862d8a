// Out of memory anywhere in a run, kwhashgen says "Malloc error." and ends
// with status 1, having written nothing to standard output and not claimed
// success: every allocation a whole run makes is failed in turn.
#include "common/command_line.hpp"
#include "failing_allocator.hpp"
#include "kwhashgen/generator.hpp"
#include "process.hpp"
#include "streams.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kwhashgen {
namespace {

using karvo::testing::arm_allocation_failure;
using karvo::testing::disarm_allocation_failure;

struct AllocatingRun {
    karvo::testing::ProcessResult result;
    std::size_t allocations = 0;
};

AllocatingRun run_failing_at(std::size_t fail_at, std::vector<std::string> args,
                             const std::string& list) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    karvo::testing::InputStream in(list);
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
    // Keywords and types longer than a short string's inline room, and an
    // argument that is too, so that the reader and the command line allocate.
    const std::vector<std::string> args = {"kwhashgen-under-a-long-name", "7"};
    std::string list = "% a keyword list\n";
    for (const char* keyword : {"first_long_keyword", "second_long_keyword", "if", "else"})
        list += std::string(keyword) + "\tTOKEN_OF_A_LONG_NAME\n";

    const AllocatingRun whole = run_failing_at(0, args, list);
    ASSERT_EQ(whole.result.status, status_success) << whole.result.err;
    ASSERT_GE(whole.allocations, 10u);
    for (std::size_t n = 1; n <= whole.allocations; ++n) {
        const auto [result, allocations] = run_failing_at(n, args, list);
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(allocations));
        EXPECT_EQ(result.status, status_error);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.ends_with("Malloc error.\n")) << result.err;
        EXPECT_EQ(result.err.find("Success."), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace kwhashgen
