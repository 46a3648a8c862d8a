#include "kwhashgen/hash_search.hpp"
#include "kwhashgen_in_process.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace kwhashgen {
namespace {

using karvo::testing::run_kwhashgen;

std::vector<std::string> sorted_keywords(const Generator& g) {
    std::vector<std::string> keywords;
    for (std::uint32_t k = 0; k < g.store.count; ++k)
        keywords.push_back(g.store.records[k].keyword);
    return keywords;
}

TEST(HashSearch, EqualWeightsKeepInputOrder) {
    const auto run = run_kwhashgen("xy 1\nab 2\ncd 3\nzw 4\n");
    EXPECT_EQ(sorted_keywords(*run.generator), (std::vector<std::string>{"xy", "ab", "cd", "zw"}));
}

TEST(HashSearch, KeywordsOfDistinctLengthsKeepEveryValueAtZero) {
    const auto run = run_kwhashgen("a 1\nbb 2\nccc 3\ndddd 4\n");
    ASSERT_EQ(run.status, 0);
    for (char c : {'a', 'b', 'c', 'd'})
        EXPECT_EQ(run.generator->values[static_cast<unsigned char>(c)], 0);
    for (std::uint32_t k = 0; k < 4; ++k)
        EXPECT_EQ(run.generator->store.records[k].hash, run.generator->store.records[k].length);
}

TEST(HashSearch, InseparableKeywordsAreReportedAndFail) {
    struct Case {
        const char* list;
        const char* reports;
    };
    const Case cases[] = {
        {"same 1\nsame 2\n", "Collision: same, same\n"},
        {"on 1\nno 2\n", "Collision: no, on\n"},
        {"aab 1\nabb 2\n", "Collision: abb, aab\n"},
        // Once the repeated keyword is placed no later trial can succeed, so
        // ab and ac stay together although they alone hash perfectly.
        {"zzz 1\nzzz 2\nab 3\nac 4\nq 5\n", "Collision: zzz, zzz\nCollision: ac, ab\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        const auto run = run_kwhashgen(c.list);
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.out, "");
        const std::string tail = std::string(c.reports) + "Hash failed.\n";
        ASSERT_GE(run.err.size(), tail.size());
        EXPECT_EQ(run.err.substr(run.err.size() - tail.size()), tail);
    }
    EXPECT_EQ(run_kwhashgen("ab 3\nac 4\nq 5\n").status, 0);
}

TEST(CandidateBytes, AreTheBytesInExactlyOneKeyword) {
    KeywordRecord a;
    KeywordRecord b;
    a.keyword = "abcz";
    b.keyword = "bcdd";
    CandidateBytes candidates;
    const std::size_t count = candidate_bytes(a, b, candidates);
    EXPECT_EQ(std::vector<unsigned char>(candidates.begin(), candidates.begin() + count),
              (std::vector<unsigned char>{'a', 'd', 'z'}));
    a.keyword = "aab";
    b.keyword = "abb";
    EXPECT_EQ(candidate_bytes(a, b, candidates), 0u);
}

TEST(CandidateOrder, MovesTheFirstStrictlyRarerByteForwardInOnePass) {
    struct Case {
        std::vector<std::uint32_t> counts; // count of candidate n is counts[n]
        std::vector<std::uint32_t> expected_counts;
    };
    const Case cases[] = {
        {{3, 2, 1}, {2, 1, 3}},
        {{1, 2, 3}, {1, 2, 3}},
        {{2, 2, 2}, {2, 2, 2}},
        {{5}, {5}},
        {{}, {}},
        {{4, 4, 1, 0}, {1, 0, 4, 4}},
    };
    for (const Case& c : cases) {
        FrequencyTable frequencies{};
        std::vector<unsigned char> candidates;
        for (std::size_t n = 0; n < c.counts.size(); ++n) {
            candidates.push_back(static_cast<unsigned char>(n));
            frequencies[n] = c.counts[n];
        }
        order_candidates(candidates, frequencies);
        std::vector<std::uint32_t> got;
        for (unsigned char byte : candidates)
            got.push_back(frequencies[byte]);
        EXPECT_EQ(got, c.expected_counts);
    }
}

TEST(HashSearch, LargeStepActsModuloTheTableSize) {
    const std::string list = "aa 1\nab 2\nbc 3\nbd 4\ncd 5\n";
    const auto small = run_kwhashgen(list, {"3"});
    const auto large = run_kwhashgen(list, {"11"}); // 11 mod 8 = 3
    ASSERT_EQ(small.status, 0);
    EXPECT_EQ(small.out.substr(small.out.find("*/")), large.out.substr(large.out.find("*/")));
}

} // namespace
} // namespace kwhashgen
