// The clusters of short texts and their columns with no flag set: emoji
// sequences, Hangul, Indic conjuncts, controls and ill-formed bytes. Every
// code point used here has the same width in every width table we build.
#include "utf8_text.hpp"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using test_support::utf8;

struct ClusterCase {
    const char* what;
    std::string text;
    std::vector<int> columns; // of each cluster, in order
};

const ClusterCase Cluster_Cases[] = {
    {"e with a combining acute", utf8({'e', 0x0301}), {1}},
    {"two CJK ideographs", utf8({0x4E2D, 0x6587}), {2, 2}},
    {"red heart with emoji presentation", utf8({0x2764, 0xFE0F}), {2}},
    {"red heart alone (text by default)", utf8({0x2764}), {1}},
    {"watch with text presentation", utf8({0x231A, 0xFE0E}), {1}},
    {"watch alone (emoji by default)", utf8({0x231A}), {2}},
    {"thumbs up with a skin tone", utf8({0x1F44D, 0x1F3FD}), {2}},
    {"skin tone after a letter: one cluster, both drawn", utf8({'a', 0x1F3FD}), {3}},
    {"woman technologist (ZWJ)", utf8({0x1F469, 0x200D, 0x1F4BB}), {2}},
    {"family of four", utf8({0x1F468, 0x200D, 0x1F469, 0x200D, 0x1F467, 0x200D, 0x1F466}), {2}},
    {"people holding hands with skin tones",
     utf8({0x1F9D1, 0x1F3FB, 0x200D, 0x1F91D, 0x200D, 0x1F9D1, 0x1F3FD}),
     {2}},
    {"ZWJ after a letter joins nothing", utf8({'a', 0x200D, 0x1F4BB}), {1, 2}},
    {"flag of two regional indicators", utf8({0x1F1FA, 0x1F1F8}), {2}},
    {"three regional indicators: a flag and a single", utf8({0x1F1FA, 0x1F1F8, 0x1F1E6}), {2, 1}},
    {"subdivision flag (tag sequence)",
     utf8({0x1F3F4, 0xE0067, 0xE0062, 0xE0073, 0xE0063, 0xE0074, 0xE007F}),
     {2}},
    {"keycap with emoji presentation", utf8({'1', 0xFE0F, 0x20E3}), {2}},
    {"keycap without it", utf8({'#', 0x20E3}), {2}},
    {"enclosing keycap on a letter", utf8({'a', 0x20E3}), {1}},
    {"emoji presentation selector on a letter", utf8({'a', 0xFE0F}), {1}},
    {"Hangul syllable", utf8({0xD55C}), {2}},
    {"Hangul syllable with a trailing jamo", utf8({0xAC00, 0x11A8}), {2}},
    {"leading, vowel and trailing jamo", utf8({0x1100, 0x1161, 0x11A8}), {2}},
    {"extended-B vowel and trailing jamo", utf8({0x1100, 0xD7B0, 0xD7CB}), {2}},
    {"two leading jamo", utf8({0x1100, 0x1100}), {2}},
    {"Devanagari conjunct KSSA", utf8({0x0915, 0x094D, 0x0937}), {2}},
    {"conjunct with ZWJ after the virama", utf8({0x0915, 0x094D, 0x200D, 0x0924}), {2}},
    {"consonants without a virama", utf8({0x0915, 0x0937}), {1, 1}},
    {"Arabic number sign prepended", utf8({0x0600, 0x0661}), {1}},
    {"CR LF", "\r\n", {2}},
    {"LF CR", "\n\r", {1, 1}},
    {"C1 control", utf8({0x0085}), {4}},
    {"combining mark after a control", utf8({'\t', 0x0301}), {1, 0}},
    {"lone ZWJ", utf8({0x200D}), {0}},
    {"truncated sequence, then ASCII",
     "\xE4\xB8"
     "a",
     {1, 1}},
    {"overlong form: one U+FFFD a byte", "\xC0\xAF", {1, 1}},
    {"truncated combining mark after a letter", "a\xCC", {1, 1}},
    {"lone continuation bytes between ideographs",
     utf8({0x4E2D}) + "\x80\x80" + utf8({0x6587}),
     {2, 1, 1, 2}},
};

TEST(ClusterColumns, EachTextSplitsAndMeasuresAsListed) {
    for (const ClusterCase& test : Cluster_Cases) {
        SCOPED_TRACE(test.what);
        std::vector<int> found;
        std::size_t total = 0;
        for (std::size_t at = 0; at < test.text.size();) {
            int columns = -1;
            const std::size_t size =
                KVwchar_utf8_cluster(test.text.data() + at, test.text.size() - at, &columns);
            ASSERT_GT(size, 0u);
            ASSERT_LE(size, test.text.size() - at);
            found.push_back(columns);
            total += static_cast<std::size_t>(columns);
            at += size;
        }
        EXPECT_EQ(found, test.columns);
        EXPECT_EQ(KVwchar_utf8_cluster_width(test.text.data(), test.text.size()), total);
    }
}

TEST(EmptyText, IsNoClusterAndNoColumns) {
    int columns = -1;
    EXPECT_EQ(KVwchar_utf8_cluster(nullptr, 0, &columns), 0u);
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(KVwchar_utf8_cluster_width(nullptr, 0), 0u);
    std::size_t fitted = 9;
    EXPECT_EQ(KVwchar_utf8_fit(nullptr, 0, 10, &fitted), 0u);
    EXPECT_EQ(fitted, 0u);
}

// A cluster cut short by len is the code points len holds: a ZWJ cut in
// the middle of its bytes is a U+FFFD, a cluster of its own.
TEST(ClusterLength, NeverReachesPastLen) {
    const std::string family = utf8({0x1F468, 0x200D, 0x1F469, 0x200D, 0x1F467});
    int columns = 0;
    EXPECT_EQ(KVwchar_utf8_cluster(family.data(), 4, &columns), 4u);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(KVwchar_utf8_cluster(family.data(), 6, &columns), 4u);
    EXPECT_EQ(KVwchar_utf8_cluster(family.data(), 7, &columns), 7u);
    EXPECT_EQ(columns, 2);
}

} // namespace
