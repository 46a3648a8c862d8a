#include "kwhashgen/generator.hpp"
#include "kwhashgen/keyword_list.hpp"
#include "kwhashgen_in_process.hpp"
#include "streams.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace kwhashgen {
namespace {

using Keywords = std::vector<std::pair<std::string, std::string>>;

struct ReadCase {
    const char* name;
    std::string input;
    Keywords expected; // keyword and type text, in input order
};

std::string bytes(std::size_t count, char c) {
    return std::string(count, c);
}

TEST(KeywordReader, SplitsLinesIntoKeywordAndTypeText) {
    const std::vector<ReadCase> cases = {
        {"blanks then type with its own blanks", "kw \tT X \n", {{"kw", "T X "}}},
        {"no blank means empty type", "kw\n", {{"kw", ""}}},
        {"carriage return stays in the keyword", "kw\r\n", {{"kw\r", ""}}},
        {"blank line yields an empty keyword", "  \n", {{"", ""}}},
        {"comments and empty lines are skipped", "% c\n\nkw 1\n%x y\n", {{"kw", "1"}}},
        {"last line without newline", "a b c", {{"a", "b c"}}},
        {"NUL ends the line's text", std::string("ab\0cd ef\nxy\n", 12), {{"ab", ""}, {"xy", ""}}},
        {"NUL first makes an empty, skipped line", std::string("\0zz 1\nq\n", 8), {{"q", ""}}},
        {"high bytes are keyword bytes", "\xC3\xA9t\xC3\xA9 E\n", {{"\xC3\xA9t\xC3\xA9", "E"}}},
        {"255 bytes then newline is one keyword", bytes(255, 'k') + "\n", {{bytes(255, 'k'), ""}}},
        {"300 bytes make two keywords",
         bytes(300, 'k') + "\n",
         {{bytes(255, 'k'), ""}, {bytes(45, 'k'), ""}}},
        {"a chunk starting with % is a comment",
         bytes(255, 'k') + "%rest\n",
         {{bytes(255, 'k'), ""}}},
        {"a chunk that starts with a blank has an empty keyword",
         bytes(255, 'k') + " T\n",
         {{bytes(255, 'k'), ""}, {"", "T"}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto store = std::make_unique<KeywordStore>();
        karvo::testing::InputStream in(c.input);
        ASSERT_EQ(read_keyword_list(in.get(), *store), ReadStatus::ok);
        Keywords got;
        for (std::uint32_t k = 0; k < store->count; ++k)
            got.emplace_back(store->records[k].keyword, store->records[k].type);
        EXPECT_EQ(got, c.expected);
        for (std::uint32_t k = 0; k < store->count; ++k)
            EXPECT_EQ(store->records[k].length, store->records[k].keyword.size());
    }
}

TEST(KeywordReader, TracksShortestAndLongestKeyword) {
    auto store = std::make_unique<KeywordStore>();
    karvo::testing::InputStream in("abc 1\nde 2\nfghij 3\n");
    ASSERT_EQ(read_keyword_list(in.get(), *store), ReadStatus::ok);
    EXPECT_EQ(store->min_length, 2u);
    EXPECT_EQ(store->max_length, 5u);
}

TEST(KeywordReader, AcceptsExactly256KeywordsAndRefusesAnyFurtherLine) {
    std::string full;
    for (int n = 0; n < 256; ++n)
        full += "k" + std::to_string(n) + "\n";
    const std::vector<std::pair<std::string, ReadStatus>> cases = {
        {full, ReadStatus::ok},
        {full + "% comment after the last keyword\n", ReadStatus::ok},
        {full + "\n", ReadStatus::too_many_keywords},
        {full + "extra\n", ReadStatus::too_many_keywords},
        {full + "% c\n\n", ReadStatus::too_many_keywords},
    };
    for (const auto& [input, expected] : cases) {
        auto store = std::make_unique<KeywordStore>();
        karvo::testing::InputStream in(input);
        EXPECT_EQ(read_keyword_list(in.get(), *store), expected);
        EXPECT_EQ(store->count, 256u);
    }
}

// A read that fails is not the end of the list, wherever it comes: the run
// says so, ends with status 1 and writes no source, not even for the keywords
// read before the failure.
TEST(KeywordReader, AFailedReadIsAnErrorNotTheEndOfTheList) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 4096},
        {"if 1\nelse 2\n", 4096},
        {"if 1\nelse 2\nwhi", 4096},
        {"if 1\nelse 2\nwhile 3\n", 1},
        {"% comment\n" + std::string(600, 'k') + "\n", 100},
    };
    for (const auto& [list, piece] : cases) {
        SCOPED_TRACE(list);
        karvo::testing::FailingInputStream in(list, piece);
        const auto run = karvo::testing::run_kwhashgen_on(in.get());
        EXPECT_EQ(run.status, status_error);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "Read error on standard input.\n");
    }
}

// A state serves any number of runs: each starts from an empty store, so the
// second run of a list is the first run again, not the list read twice.
TEST(Run, OneStateRunsTwiceAlike) {
    const auto generator = std::make_unique<Generator>();
    const std::vector<std::string> args = {"kwhashgen", "7"};
    const std::string list = "if 1\nelse 2\nwhile 3\n";
    std::string outputs[2];
    for (std::string& output : outputs) {
        karvo::testing::InputStream in(list);
        karvo::testing::OutputStream out;
        karvo::testing::OutputStream err;
        ASSERT_EQ(run(*generator, args, false, {in.get(), out.get(), err.get()}), status_success)
            << err.text();
        output = out.text();
    }
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_EQ(generator->store.count, 3u);
}

TEST(KeywordReader, TableSizeIsTheSmallestPowerOfTwoNotBelowTheCount) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0, 1}, {1, 1}, {2, 2}, {3, 4}, {4, 4}, {5, 8}, {64, 64}, {65, 128}, {129, 256}, {256, 256},
    };
    for (const auto& [count, size] : cases)
        EXPECT_EQ(table_size_for(count), size) << count;
}

TEST(StepSize, ScansLikeAnUnsignedDecimalAndMakesItOdd) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"4", 5},  {"0", 1},  {"12abc", 13},       {"abc", 5},          {"", 5},
        {" 7", 7}, {"+8", 9}, {"-1", 4294967295u}, {"-2", 4294967295u}, {"257", 257},
    };
    for (const auto& [argument, step] : cases)
        EXPECT_EQ(parse_step_size(argument), step) << '"' << argument << '"';
}

} // namespace
} // namespace kwhashgen
