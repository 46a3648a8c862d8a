// Whole runs of the built program compared byte for byte with golden files:
// standard output, standard error and exit status. Set KARVO_UPDATE_GOLDEN=1
// to rewrite the golden files from the current program (then review the diff).
#include "process.hpp"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using karvo::testing::read_file;
using karvo::testing::run_process;
using karvo::testing::write_file;

// Each case directory holds `input`, optionally `args` (one argument per
// line), and the expected `stdout`, `stderr` and `status`.
const char* const golden_cases[] = {
    "worked_example",
    "worked_example_step_1",
    "step_argument_echoed",
    "step_minus_one",
    "repeated_and_anagrams",
    "escaped_keywords",
    "hole_rows",
    "max_hash_253",
    "max_hash_254",
    "empty_keyword_and_type",
    "crlf_and_comments",
    "empty_list",
    "too_many_keywords",
    "two_arguments",
    "language_keywords",
};

std::vector<std::string> read_args(const fs::path& dir) {
    std::vector<std::string> argv = {"kwhashgen"};
    if (!fs::exists(dir / "args"))
        return argv;
    std::string text = read_file(dir / "args");
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        argv.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return argv;
}

TEST(Golden, WholeRunsMatchByteForByte) {
    const bool update = std::getenv("KARVO_UPDATE_GOLDEN") != nullptr;
    for (const char* name : golden_cases) {
        SCOPED_TRACE(name);
        const fs::path dir = fs::path(KWHASHGEN_GOLDEN_DIR) / name;
        const auto result = run_process(KWHASHGEN_PROGRAM, read_args(dir), dir / "input");
        if (update) {
            write_file(dir / "stdout", result.out);
            write_file(dir / "stderr", result.err);
            write_file(dir / "status", std::to_string(result.status) + "\n");
            continue;
        }
        EXPECT_EQ(result.out, read_file(dir / "stdout"));
        EXPECT_EQ(result.err, read_file(dir / "stderr"));
        EXPECT_EQ(std::to_string(result.status) + "\n", read_file(dir / "status"));
    }
}

TEST(Golden, RefusesATerminalOnStandardInput) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        GTEST_SKIP() << "no pseudo-terminal available";
    const std::string terminal = ptsname(master);
    const auto result = run_process(KWHASHGEN_PROGRAM, {"kwhashgen", "7"}, terminal);
    close(master);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Usage: kwhashgen [step-size] < keywords > hash.c\n"
                          "  Default step-size is 5\n");
}

} // namespace
