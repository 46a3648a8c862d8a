// The built program end to end: golden outputs, refusal of arguments and of a
// terminal, and write errors. (That memory does not grow with the input is
// measured by bench/chkprotogen.)
#include "process.hpp"
#include "program_checks.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace chkprotogen {
namespace {

using karvo::testing::run_process;

const std::string program = CHKPROTOGEN_PROGRAM;
const std::filesystem::path golden_dir = CHKPROTOGEN_GOLDEN_DIR;

using karvo::testing::Golden;

TEST_P(Golden, MatchesByteForByte) {
    karvo::testing::expect_matches_golden(program, "chkprotogen", GetParam(), KARVO_VERSION);
}
INSTANTIATE_TEST_SUITE_P(Cases, Golden,
                         ::testing::ValuesIn(karvo::testing::find_golden_cases(golden_dir)),
                         karvo::testing::golden_case_name);

// People type --help and --version at a terminal: they are answered there,
// while a run that would read the source from it is refused.
TEST(Program, RefusesTerminalInputUnlessAskedForHelpOrVersion) {
    karvo::testing::expect_runs_on_terminal(
        program,
        {{{"chkprotogen"},
          1,
          "",
          "Usage: chkprotogen [--assert-prototypes=TABLE [--allow-empty]] < infile > outfile\n"},
         {{"chkprotogen", "--version"}, 0, "chkprotogen " KARVO_VERSION "\n", ""}});
}

TEST(Program, FullDiskIsAnError) {
    const auto result =
        run_process(program, {"chkprotogen"}, golden_dir / "empty" / "input", "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Write error on standard output.\n");
}

} // namespace
} // namespace chkprotogen
