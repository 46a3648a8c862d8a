// Lookups and setter calls racing on several threads. Run under
// ThreadSanitizer (the tsan preset) this shows the flags word is free of
// data races; in every build it checks that each answer comes from one
// whole flags value.
#include "wcwidthtab.h"

#include <atomic>
#include <cstdint>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

struct Probe {
    std::uint32_t code_point;
    int columns[4]; // under flags 0, 1, 2, 3
};

constexpr Probe Probes[] = {
    {0x0041, {1, 1, 1, 1}}, {0x0085, {4, 4, 4, 4}}, {0x00AD, {1, 1, 2, 1}},
    {0x0300, {0, 1, 0, 1}}, {0x4E00, {2, 1, 2, 1}}, {0x10FFFF, {1, 1, 1, 1}},
};

TEST(WidthThreads, LookupsSeeOneWholeFlagsValueWhileOthersSetIt) {
    constexpr int Reader_Rounds = 200000;
    // Setters only ever store 0 or 3. A lookup that read the word twice could
    // take bit 0 from one value and bit 1 from the other and answer 2 for
    // U+00AD, which neither value allows.
    const std::int32_t stored[] = {0, KVWC_FLAG_SINGLE_COLUMN | KVWC_FLAG_AMBIGUOUS_WIDE};
    const std::int32_t saved = KVwchar_set_wcwidth_flags(0);
    std::atomic<bool> start{false};
    std::atomic<int> readers_left{2};
    std::atomic<int> bad_answers{0};
    std::atomic<int> bad_previous{0};

    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&, t] {
            while (!start.load()) {
            }
            for (int i = t; readers_left.load(std::memory_order_relaxed) > 0; ++i) {
                const std::int32_t previous = KVwchar_set_wcwidth_flags(stored[i & 1]);
                bad_previous += previous != stored[0] && previous != stored[1];
            }
        });
    }
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&] {
            while (!start.load()) {
            }
            for (int i = 0; i < Reader_Rounds; ++i) {
                for (const Probe& p : Probes) {
                    const int got = KVwchar_wcwidth(p.code_point);
                    bad_answers += got != p.columns[0] && got != p.columns[3];
                }
            }
            --readers_left;
        });
    }
    start = true;
    for (std::thread& thread : threads) {
        thread.join();
    }
    KVwchar_set_wcwidth_flags(saved);
    EXPECT_EQ(bad_answers.load(), 0);
    EXPECT_EQ(bad_previous.load(), 0);
}

} // namespace
