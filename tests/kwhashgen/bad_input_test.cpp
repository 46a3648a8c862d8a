// Hostile input to the built program: it must answer with a clear message
// and the right status, never crash, and never write a partial source.
#include "files.hpp"
#include "process.hpp"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

using karvo::testing::run_process;
using karvo::testing::TempDir;
using karvo::testing::write_file;

struct BadInput {
    const char* name;
    std::string input;
    int status;
    std::string err_tail; // what standard error must end with
};

std::string random_bytes(std::size_t count, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

std::string repeated(const std::string& line, int times) {
    std::string text;
    for (int n = 0; n < times; ++n)
        text += line;
    return text;
}

TEST(BadInput, GetsAClearAnswerAndNoPartialOutput) {
    const BadInput cases[] = {
        {"binary noise", random_bytes(65536, 1), 1, "Only 256 keywords permitted.\n"},
        {"a 1 MB line", std::string(1 << 20, 'x') + "\n", 1, "Only 256 keywords permitted.\n"},
        {"NUL bytes only", std::string(4096, '\0'), 1, "No keywords.\n"},
        {"10,000 comment lines", repeated("% comment\n", 10000) + "kw 1\n", 0,
         "String Table Size: 1\n"},
        {"a small binary list", random_bytes(600, 3), -1, ""},
    };
    TempDir dir;
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir / "input", c.input);
        const auto result = run_process(KWHASHGEN_PROGRAM, {"kwhashgen"}, dir / "input");
        ASSERT_LT(result.status, 128) << "killed by a signal";
        if (c.status >= 0) {
            EXPECT_EQ(result.status, c.status);
            ASSERT_GE(result.err.size(), c.err_tail.size());
            EXPECT_EQ(result.err.substr(result.err.size() - c.err_tail.size()), c.err_tail);
        }
        if (result.status != 0) {
            EXPECT_EQ(result.out, "");
        }
    }
}

TEST(BadInput, AFullDiskIsAnError) {
    TempDir dir;
    write_file(dir / "input", "if 1\nelse 2\n");
    const auto result = run_process(KWHASHGEN_PROGRAM, {"kwhashgen"}, dir / "input", "/dev/full");
    EXPECT_EQ(result.status, 1);
    const std::string tail = "Write error on standard output.\n";
    ASSERT_GE(result.err.size(), tail.size());
    EXPECT_EQ(result.err.substr(result.err.size() - tail.size()), tail);
}

} // namespace
