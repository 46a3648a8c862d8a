// The built program end to end: golden outputs, refusal of arguments and of a
// terminal, write errors, and memory that does not grow with the input.
#include "process.hpp"
#include "program_checks.hpp"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
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

// Peak resident memory of a run over `size` bytes of source fed through a
// pipe, so that nothing but the program's own buffers can hold the input.
long peak_memory_kib(std::size_t size) {
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    std::thread feeder([write_end = pipe_ends[1], size] {
        std::string block;
        while (block.size() < 64 * 1024) {
            block += "static int helper (int *a)\n{\n   return *a + 1;\n}\n\n";
            block += "   MAKE_INTRINSIC_II(\"max\", kv_max, KARVO_INT_TYPE),\n";
        }
        for (std::size_t sent = 0; sent < size;) {
            const auto wrote = write(write_end, block.data(), std::min(block.size(), size - sent));
            if (wrote <= 0)
                break;
            sent += static_cast<std::size_t>(wrote);
        }
        close(write_end);
    });
    long peak = 0;
    const auto result = karvo::testing::run_process_with_stdin_fd(program, {"chkprotogen"},
                                                                  pipe_ends[0], "/dev/null", &peak);
    close(pipe_ends[0]);
    feeder.join();
    if (result.status != 0)
        throw std::runtime_error("chkprotogen failed");
    return peak;
}

TEST(Program, MemoryDoesNotGrowWithInput) {
    const long small = peak_memory_kib(1 << 20);
    const long large = peak_memory_kib(std::size_t{96} << 20);
    // Growth with the input would be tens of MiB; the margin absorbs what a
    // sanitizer's allocator adds from run to run.
    EXPECT_LT(large, small + 8 * 1024)
        << "1 MiB input: " << small << " KiB, 96 MiB input: " << large << " KiB";
}

} // namespace
} // namespace chkprotogen
