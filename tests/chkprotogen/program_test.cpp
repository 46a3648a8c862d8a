// The built program end to end: golden outputs, refusal of arguments and of a
// terminal, write errors, and memory that does not grow with the input.
#include "process.hpp"
#include "support.hpp"

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

using karvo::testing::read_file;
using karvo::testing::run_process;

const std::string program = CHKPROTOGEN_PROGRAM;
const std::filesystem::path golden_dir = CHKPROTOGEN_GOLDEN_DIR;
const std::filesystem::path examples_dir = CHKPROTOGEN_EXAMPLES_DIR;

struct GoldenCase {
    const char* name; // expected results in <name>.out, .err and .status
    std::filesystem::path input;
    std::vector<std::string> arguments;
};

void PrintTo(const GoldenCase& c, std::ostream* out) {
    *out << c.name;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesByteForByte) {
    const GoldenCase& c = GetParam();
    std::vector<std::string> argv{"chkprotogen"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const auto result = run_process(program, argv, c.input);
    const std::string base = (golden_dir / c.name).string();
    EXPECT_EQ(result.out, read_file(base + ".out"));
    EXPECT_EQ(result.err, read_file(base + ".err"));
    EXPECT_EQ(std::to_string(result.status) + "\n", read_file(base + ".status"));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Golden,
    ::testing::Values(GoldenCase{"empty", golden_dir / "empty.in", {}},
                      GoldenCase{"table", golden_dir / "table.in", {}},
                      GoldenCase{"odd_bytes", golden_dir / "odd_bytes.in", {}},
                      GoldenCase{"example_intrinsics", examples_dir / "intrinsics.c", {}},
                      GoldenCase{"usage_one_argument", golden_dir / "table.in", {"-"}},
                      GoldenCase{"usage_two_arguments", golden_dir / "table.in", {"a", "b"}}),
    [](const ::testing::TestParamInfo<GoldenCase>& param_info) {
        return std::string(param_info.param.name);
    });

TEST(Program, RefusesTerminalInput) {
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0)
        GTEST_SKIP() << "no pseudo-terminal available";
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const int input = open(ptsname(terminal), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(input, 0);
    const auto result = karvo::testing::run_process_with_stdin_fd(program, {"chkprotogen"}, input);
    close(input);
    close(terminal);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Usage: chkprotogen < infile > outfile\n");
}

TEST(Program, FullDiskIsAnError) {
    const auto result = run_process(program, {"chkprotogen"}, golden_dir / "empty.in", "/dev/full");
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
    EXPECT_LT(large, small + 1024)
        << "1 MiB input: " << small << " KiB, 96 MiB input: " << large << " KiB";
}

} // namespace
} // namespace chkprotogen
