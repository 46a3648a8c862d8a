// Whole runs of the built program compared byte for byte with the golden
// cases in tests/data/kwhashgen/ (see golden.hpp), and the answers given with
// a terminal on standard input.
#include "golden.hpp"
#include "process.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using karvo::testing::GoldenCase;

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesByteForByte) {
    const auto outcome =
        karvo::testing::run_golden_case(KWHASHGEN_PROGRAM, "kwhashgen", GetParam(), KARVO_VERSION);
    EXPECT_EQ(outcome.actual.out, outcome.expected.out);
    EXPECT_EQ(outcome.actual.err, outcome.expected.err);
    EXPECT_EQ(outcome.actual.status, outcome.expected.status);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Golden, ::testing::ValuesIn(karvo::testing::find_golden_cases(KWHASHGEN_GOLDEN_DIR)),
    [](const ::testing::TestParamInfo<GoldenCase>& param_info) { return param_info.param.name; });

// People type --help and --version at a terminal: they are answered there,
// while a run that would read the keywords from it is refused.
TEST(Program, RefusesATerminalOnStandardInputUnlessAskedForHelpOrVersion) {
    struct Case {
        std::vector<std::string> argv;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {{"kwhashgen", "7"},
         1,
         "",
         "Usage: kwhashgen [step-size] < keywords > hash.c\n  Default step-size is 5\n"},
        {{"kwhashgen", "--version"}, 0, "kwhashgen " KARVO_VERSION "\n", ""},
    };
    for (const Case& c : cases) {
        const auto result = karvo::testing::run_process_on_terminal(KWHASHGEN_PROGRAM, c.argv);
        if (!result)
            GTEST_SKIP() << "no pseudo-terminal available";
        EXPECT_EQ(result->status, c.status);
        EXPECT_EQ(result->out, c.out);
        EXPECT_EQ(result->err, c.err);
    }
}

} // namespace
