// Whole runs of the built program compared byte for byte with the golden
// cases in tests/data/kwhashgen/ (see golden.hpp), and the answers given with
// a terminal on standard input.
#include "program_checks.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using karvo::testing::Golden;

TEST_P(Golden, MatchesByteForByte) {
    karvo::testing::expect_matches_golden(KWHASHGEN_PROGRAM, "kwhashgen", GetParam(),
                                          KARVO_VERSION);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, Golden, ::testing::ValuesIn(karvo::testing::find_golden_cases(KWHASHGEN_GOLDEN_DIR)),
    karvo::testing::golden_case_name);

// People type --help and --version at a terminal: they are answered there,
// while a run that would read the keywords from it is refused.
TEST(Program, RefusesATerminalOnStandardInputUnlessAskedForHelpOrVersion) {
    karvo::testing::expect_runs_on_terminal(
        KWHASHGEN_PROGRAM,
        {{{"kwhashgen", "7"},
          1,
          "",
          "Usage: kwhashgen [step-size] < keywords > hash.c\n  Default step-size is 5\n"},
         {{"kwhashgen", "--version"}, 0, "kwhashgen " KARVO_VERSION "\n", ""}});
}

} // namespace
