// GoogleTest checks both generators' program tests make: golden cases, runs
// on a terminal. Header-only: fuzz targets and benchmarks build without gtest.
#pragma once

#include "golden.hpp"
#include "process.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace karvo::testing {

class Golden : public ::testing::TestWithParam<GoldenCase> {};

inline std::string golden_case_name(const ::testing::TestParamInfo<GoldenCase>& param_info) {
    return param_info.param.name;
}

inline void expect_matches_golden(const std::string& program, const std::string& tool_name,
                                  const GoldenCase& golden_case, const std::string& version) {
    const GoldenOutcome outcome = run_golden_case(program, tool_name, golden_case, version);
    EXPECT_EQ(outcome.actual.out, outcome.expected.out);
    EXPECT_EQ(outcome.actual.err, outcome.expected.err);
    EXPECT_EQ(outcome.actual.status, outcome.expected.status);
}

struct ExpectedRun {
    std::vector<std::string> argv;
    int status;
    std::string out;
    std::string err;
};

// Runs `program` with a pseudo-terminal on standard input once per entry;
// skips the test where the system has no pseudo-terminal.
inline void expect_runs_on_terminal(const std::string& program,
                                    const std::vector<ExpectedRun>& runs) {
    for (const ExpectedRun& run : runs) {
        const auto result = run_process_on_terminal(program, run.argv);
        if (!result)
            GTEST_SKIP() << "no pseudo-terminal available";
        EXPECT_EQ(result->status, run.status);
        EXPECT_EQ(result->out, run.out);
        EXPECT_EQ(result->err, run.err);
    }
}

} // namespace karvo::testing
