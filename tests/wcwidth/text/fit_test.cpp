// KVwchar_utf8_fit and KVwchar_utf8_cluster_width against the plain loop of
// KVwchar_utf8_cluster: on generated texts for every column budget, and with
// non-ASCII text at every offset of an ASCII buffer (where the fast path
// hands over to the cluster scan), under each flag.
#include "flags_set.hpp"
#include "utf8_text.hpp"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using test_support::utf8;

struct ClusterEnd {
    std::size_t end;
    std::size_t columns;
};

std::vector<ClusterEnd> plain_clusters(const std::string& text) {
    std::vector<ClusterEnd> clusters;
    for (std::size_t at = 0; at < text.size();) {
        int columns = 0;
        at += KVwchar_utf8_cluster(text.data() + at, text.size() - at, &columns);
        clusters.push_back({at, static_cast<std::size_t>(columns)});
    }
    return clusters;
}

// Every whole cluster that fits, the zero-width ones after the last included.
ClusterEnd plain_fit(const std::vector<ClusterEnd>& clusters, std::size_t max_columns) {
    ClusterEnd fitted{0, 0};
    for (const ClusterEnd& cluster : clusters) {
        if (fitted.columns + cluster.columns > max_columns) {
            break;
        }
        fitted = {cluster.end, fitted.columns + cluster.columns};
    }
    return fitted;
}

// Checks both functions on text for every budget from 0 to one past its width.
void expect_as_plain_loop(const std::string& text) {
    const std::vector<ClusterEnd> clusters = plain_clusters(text);
    const std::size_t width = clusters.empty() ? 0 : plain_fit(clusters, SIZE_MAX).columns;
    ASSERT_EQ(KVwchar_utf8_cluster_width(text.data(), text.size()), width);
    for (std::size_t max_columns = 0; max_columns <= width + 1; ++max_columns) {
        const ClusterEnd expected = plain_fit(clusters, max_columns);
        std::size_t columns = SIZE_MAX;
        ASSERT_EQ(KVwchar_utf8_fit(text.data(), text.size(), max_columns, &columns), expected.end)
            << "max_columns " << max_columns;
        ASSERT_EQ(columns, expected.columns) << "max_columns " << max_columns;
    }
}

const std::int32_t Flag_Values[] = {0, KVWC_FLAG_SINGLE_COLUMN, KVWC_FLAG_AMBIGUOUS_WIDE};

// Pieces that start, end or continue clusters, and ill-formed bytes.
const std::vector<std::string> Pieces = {
    "a",
    "The quick brown fox",
    " ",
    "\r\n",
    "\r",
    "\n",
    utf8({0x4E2D, 0x6587}),
    utf8({0x0301}),
    utf8({0xFE0F}),
    utf8({0xFE0E}),
    utf8({0x20E3}),
    utf8({0x200D}),
    utf8({0x0600}),
    utf8({0x0085}),
    utf8({0x00B1}),
    utf8({0x2764}),
    utf8({0x1F44D, 0x1F3FD}),
    utf8({0x1F469, 0x200D, 0x1F4BB}),
    utf8({0x1F1FA}),
    utf8({0x1F3F4, 0xE0067, 0xE007F}),
    utf8({0x1100, 0x1161, 0x11A8}),
    utf8({0xD7B0}),
    utf8({0x0915, 0x094D, 0x0937}),
    "\xE4\xB8",
    "\x80",
    "\xF0\x9F",
};

TEST(Fit, GeneratedTextsMatchTheSumOfClusters) {
    std::mt19937 random(20240917);
    std::uniform_int_distribution<std::size_t> piece(0, Pieces.size() - 1);
    std::uniform_int_distribution<int> count(1, 24);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int n = count(random); n > 0; --n) {
            text += Pieces[piece(random)];
        }
        for (const std::int32_t flags : Flag_Values) {
            const FlagsSet set(flags);
            SCOPED_TRACE("round " + std::to_string(round) + ", flags " + std::to_string(flags));
            expect_as_plain_loop(text);
        }
    }
}

TEST(AsciiFastPath, HandsOverAtEveryOffset) {
    const std::string ascii = "Lorem ipsum dolor sit amet, consectetur.";
    for (const std::string& piece : Pieces) {
        for (std::size_t at = 0; at <= ascii.size(); ++at) {
            const std::string text = ascii.substr(0, at) + piece + ascii.substr(at);
            // Every start offset too, so that the eight- and sixteen-byte
            // reads meet the piece at each alignment.
            for (std::size_t start = 0; start < 17 && start <= text.size(); ++start) {
                for (const std::int32_t flags : Flag_Values) {
                    const FlagsSet set(flags);
                    SCOPED_TRACE("piece at " + std::to_string(at) + ", from " +
                                 std::to_string(start) + ", flags " + std::to_string(flags));
                    expect_as_plain_loop(text.substr(start));
                }
            }
        }
    }
}

} // namespace
