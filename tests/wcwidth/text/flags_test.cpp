// Cluster columns under the flags: with KVWC_FLAG_SINGLE_COLUMN every
// cluster is one column but a C1 control, which keeps 4; with
// KVWC_FLAG_AMBIGUOUS_WIDE each ambiguous code point counts 2 and the
// cluster rules stay as they are.
#include "utf8_text.hpp"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using test_support::utf8;

struct FlagCase {
    const char* what;
    std::string cluster;
    int single_column;
    int ambiguous_wide;
};

const FlagCase Flag_Cases[] = {
    {"ASCII letter", "a", 1, 1},
    {"CR LF", "\r\n", 1, 2},
    {"C1 control", utf8({0x0085}), 4, 4},
    {"CJK ideograph", utf8({0x4E2D}), 1, 2},
    {"e with a combining acute", utf8({'e', 0x0301}), 1, 1},
    {"lone combining mark", utf8({0x0301}), 1, 0},
    {"ambiguous plus-minus", utf8({0x00B1}), 1, 2},
    {"ambiguous plus-minus with a combining mark", utf8({0x00B1, 0x0301}), 1, 2},
    {"U+FFFD of a truncated sequence (ambiguous)", "\xE4\xB8", 1, 2},
    {"red heart with emoji presentation", utf8({0x2764, 0xFE0F}), 1, 2},
    {"watch with text presentation", utf8({0x231A, 0xFE0E}), 1, 1},
    {"thumbs up with a skin tone", utf8({0x1F44D, 0x1F3FD}), 1, 2},
    {"woman technologist", utf8({0x1F469, 0x200D, 0x1F4BB}), 1, 2},
    {"keycap", utf8({'1', 0xFE0F, 0x20E3}), 1, 2},
    {"Hangul jamo", utf8({0x1100, 0x1161, 0x11A8}), 1, 2},
    {"Devanagari conjunct", utf8({0x0915, 0x094D, 0x0937}), 1, 2},
};

int cluster_columns_under(std::int32_t flags, const std::string& cluster) {
    const std::int32_t previous = KVwchar_set_wcwidth_flags(flags);
    int columns = -1;
    const std::size_t size = KVwchar_utf8_cluster(cluster.data(), cluster.size(), &columns);
    KVwchar_set_wcwidth_flags(previous);
    EXPECT_EQ(size, cluster.size()) << "one cluster";
    return columns;
}

TEST(Flags, SingleColumnMakesEveryClusterOneButC1Controls) {
    for (const FlagCase& test : Flag_Cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(cluster_columns_under(KVWC_FLAG_SINGLE_COLUMN, test.cluster), test.single_column);
        // The single-column flag wins over the ambiguous one, as in KVwchar_wcwidth.
        EXPECT_EQ(
            cluster_columns_under(KVWC_FLAG_SINGLE_COLUMN | KVWC_FLAG_AMBIGUOUS_WIDE, test.cluster),
            test.single_column);
    }
}

TEST(Flags, AmbiguousWideActsOnEachCodePoint) {
    for (const FlagCase& test : Flag_Cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(cluster_columns_under(KVWC_FLAG_AMBIGUOUS_WIDE, test.cluster),
                  test.ambiguous_wide);
    }
}

TEST(Flags, AreReadAtEveryCall) {
    const std::string text = utf8({0x2764, 0xFE0F, 0x4E2D, 'a', 0x00B1});
    EXPECT_EQ(KVwchar_utf8_cluster_width(text.data(), text.size()), 6u);
    const std::int32_t previous = KVwchar_set_wcwidth_flags(KVWC_FLAG_SINGLE_COLUMN);
    EXPECT_EQ(KVwchar_utf8_cluster_width(text.data(), text.size()), 4u);
    KVwchar_set_wcwidth_flags(KVWC_FLAG_AMBIGUOUS_WIDE);
    EXPECT_EQ(KVwchar_utf8_cluster_width(text.data(), text.size()), 7u);
    KVwchar_set_wcwidth_flags(previous);
}

} // namespace
