// The fast search must leave exactly what the step-by-step search leaves: the
// same values, the same stored hashes after the main pass and after the
// verification, and the same reports.
#include "keyword_lists.hpp"
#include "search_comparison.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace kwhashgen {
namespace {

// Runs both searches on the list from the same start. Returns whether the
// list hashed perfectly.
bool expect_same_search(const std::string& list, std::uint32_t step_size) {
    const auto prepared = comparison::prepare_search(list, step_size);
    EXPECT_EQ(prepared.read_status, ReadStatus::ok);
    auto scratch = std::make_unique<SearchScratch>();
    const auto fast = comparison::run_fast_search(prepared, *scratch);
    const auto stepwise = comparison::run_stepwise_search(prepared);
    EXPECT_EQ(fast.values, stepwise.values);
    EXPECT_EQ(fast.hashes_after_main_pass, stepwise.hashes_after_main_pass);
    EXPECT_EQ(fast.hashes_after_verification, stepwise.hashes_after_verification);
    EXPECT_EQ(fast.result, stepwise.result);
    EXPECT_EQ(fast.reports, stepwise.reports);
    return stepwise.result == 0;
}

std::uint32_t odd_step(std::mt19937& random) {
    static constexpr std::uint32_t steps[] = {1, 3, 5, 7, 9, 255, 257, 0xFFFFFFFFu};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(steps));
    const std::size_t n = pick(random);
    if (n < std::size(steps))
        return steps[n];
    return static_cast<std::uint32_t>(random()) | 1u;
}

TEST(SearchEquivalence, RandomListsLeaveTheSameValuesHashesAndReports) {
    std::mt19937 random(20261208);
    unsigned perfect = 0;
    unsigned failed = 0;
    for (unsigned round = 0; round < 400; ++round) {
        std::uniform_int_distribution<unsigned> count(1, 80);
        std::uniform_int_distribution<unsigned> max_length(1, 14);
        std::uniform_int_distribution<unsigned> alphabet(2, 26);
        const std::string list =
            lists::random_list(count(random), max_length(random), alphabet(random), random());
        SCOPED_TRACE(list);
        (expect_same_search(list, odd_step(random)) ? perfect : failed)++;
        if (HasFailure())
            return;
    }
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_GT(perfect, 40u);
    EXPECT_GT(failed, 40u);
}

TEST(SearchEquivalence, FullListsOf256KeywordsMatch) {
    std::mt19937 random(7);
    for (unsigned round = 0; round < 12; ++round) {
        const std::string list = lists::random_list(256, 20, 4 + round * 2, random());
        SCOPED_TRACE(round);
        expect_same_search(list, odd_step(random));
    }
}

TEST(SearchEquivalence, HostileListsMatch) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        EXPECT_FALSE(expect_same_search(lists::hostile_list(6 + seed, 20, 40, seed), 5));
    }
}

TEST(SearchEquivalence, HandPickedListsMatch) {
    const char* const lists[] = {
        "aa 1\nab 2\nbc 3\n",
        "zzz 1\nzzz 2\nab 3\nac 4\nq 5\n",
        "on 1\nno 2\nab 3\nba 4\nabc 5\nacb 6\nx 7\ny 8\nz 9\n",
        "aab 1\nabb 2\nab 3\nba 4\n",
        "if 1\nelse 2\nwhile 3\ndo 4\nfor 5\nreturn 6\nbreak 7\ncontinue 8\n",
    };
    for (const char* list : lists) {
        SCOPED_TRACE(list);
        for (std::uint32_t step : {1u, 3u, 5u, 0xFFFFFFFFu})
            expect_same_search(list, step);
    }
}

} // namespace
} // namespace kwhashgen
