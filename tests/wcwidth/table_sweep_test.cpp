// Every committed table, each over a library built from it: a sweep of all
// 1,114,112 code points under all four flags values for what holds in every
// version, the figures of the version's classes (counts, runs, pages), and
// the code points whose class differs between versions. The figures are
// written here, not computed from the data files, so a change of the
// generator's rule shows as a change of figures even when the table is
// regenerated with it.
#include "wcwidthtab.h"
#include "width_classes.hpp"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using wcwidth_test::Code_Point_Count;

struct VersionFigures {
    std::string_view version;
    std::array<std::size_t, 5> class_counts;
    std::size_t runs; // maximal runs of equal class from U+0000 to U+10FFFF
    std::size_t distinct_pages;
};

constexpr VersionFigures Figures[] = {
    {"10.0.0", {2086, 791891, 181732, 138371, 32}, 1162, 64},
    {"16.0.0", {2362, 790635, 182712, 138371, 32}, 1305, 74},
};

// Code points whose class differs between the versions, each for its own
// reason: new emoji and ideographs, marks that became spacing or the other
// way round, symbols whose East_Asian_Width became W, and the six code
// points whose class only the 10.0.0 table fixes.
struct KnownClass {
    std::uint32_t code_point;
    unsigned class_10;
    unsigned class_16;
};

constexpr KnownClass Known_Classes[] = {
    {0x1F970, 1, 2}, {0x1F6DC, 1, 2}, {0x1FA70, 1, 2}, {0x312F, 1, 2},  {0x1F6F9, 1, 2},
    {0x16FE4, 1, 0}, {0x1734, 0, 1},  {0x1171E, 0, 1}, {0x2630, 1, 2},  {0x4DC0, 1, 2},
    {0xA9BD, 1, 0},  {0x111C9, 1, 0}, {0x11A07, 1, 0}, {0x11A08, 1, 0}, {0x1F93B, 2, 1},
    {0x1F946, 2, 1}, {0x9FEB, 2, 2},  {0x302E, 2, 2},  {0x00AD, 3, 3},  {0x1160, 0, 0},
};

// Ranges whose class the rule fixes whatever the data of a version says:
// the C1 controls, the Hangul medial and final jamo, the default-wide ranges
// (assigned or not), the surrogates and the private-use areas.
struct RuleRange {
    std::uint32_t first;
    std::uint32_t last;
    unsigned width_class;
};

constexpr RuleRange Rule_Ranges[] = {
    {0x0080, 0x009F, 4},    {0x00AD, 0x00AD, 3},     {0x1160, 0x11FF, 0},
    {0x3400, 0x4DBF, 2},    {0x4E00, 0x9FFF, 2},     {0xF900, 0xFAFF, 2},
    {0x20000, 0x2FFFD, 2},  {0x30000, 0x3FFFD, 2},   {0xD800, 0xDFFF, 1},
    {0xE000, 0xF8FF, 3},    {0xF0000, 0xFFFFD, 3},   {0x100000, 0x10FFFD, 3},
};

const VersionFigures& figures() {
    for (const VersionFigures& f : Figures) {
        if (f.version == WCWIDTH_UNICODE_VERSION) {
            return f;
        }
    }
    throw std::runtime_error("no figures written here for Unicode " WCWIDTH_UNICODE_VERSION);
}

std::string hex(std::uint32_t cp) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp));
    return text;
}

TEST(TableSweep, HeaderNamesTheVersionOfTheTable) {
    EXPECT_EQ(std::to_string(KVWC_UNICODE_VERSION_MAJOR) + "." +
                  std::to_string(KVWC_UNICODE_VERSION_MINOR) + "." +
                  std::to_string(KVWC_UNICODE_VERSION_UPDATE),
              WCWIDTH_UNICODE_VERSION);
}

// Whatever the flags, each code point answers as its one stored class does;
// only the C1 controls are four columns, and the rule's fixed ranges hold.
TEST(TableSweep, EveryCodePointAnswersForOneClassUnderEveryFlagsValue) {
    const std::vector<std::uint8_t> classes = wcwidth_test::classes_from_lookup();
    const std::int32_t saved = KVwchar_set_wcwidth_flags(0);
    int mismatches = 0;
    for (std::int32_t flags = 0; flags < 4; ++flags) {
        KVwchar_set_wcwidth_flags(flags);
        for (std::uint32_t cp = 0; cp < Code_Point_Count && mismatches < 20; ++cp) {
            const int want = wcwidth_test::expected_columns(classes[cp], flags);
            const int got = KVwchar_wcwidth(cp);
            if (got != want) {
                ++mismatches;
                ADD_FAILURE() << hex(cp) << " flags " << flags << ": " << got << " columns, class "
                              << int{classes[cp]} << " gives " << want;
            }
        }
    }
    KVwchar_set_wcwidth_flags(saved);

    for (const RuleRange& r : Rule_Ranges) {
        for (std::uint32_t cp = r.first; cp <= r.last; ++cp) {
            ASSERT_EQ(classes[cp], r.width_class) << hex(cp);
        }
    }
    for (std::uint32_t plane = 0; plane <= 16; ++plane) {
        EXPECT_EQ(classes[(plane << 16) | 0xFFFE], KVWC_CLASS_NARROW) << "plane " << plane;
        EXPECT_EQ(classes[(plane << 16) | 0xFFFF], KVWC_CLASS_NARROW) << "plane " << plane;
    }
}

TEST(TableSweep, ClassCountsAndRunsAreTheVersionsFigures) {
    const std::vector<std::uint8_t> classes = wcwidth_test::classes_from_lookup();
    std::array<std::size_t, 5> counts{};
    std::size_t runs = 0;
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        ++counts.at(classes[cp]);
        runs += cp == 0 || classes[cp] != classes[cp - 1];
    }
    EXPECT_EQ(counts, figures().class_counts);
    EXPECT_EQ(runs, figures().runs);
}

// Blocks of equal classes share one page, and no two pages hold equal classes.
TEST(TableSweep, PagesAreSharedCompletely) {
    std::set<const unsigned char*> pages;
    for (std::uint32_t k = 0; k < KVWC_BLOCK_COUNT; ++k) {
        ASSERT_NE(_pKVwc_Width_Table[k], nullptr) << "block " << k;
        pages.insert(_pKVwc_Width_Table[k]);
    }
    EXPECT_EQ(pages.size(), figures().distinct_pages);
    for (auto a = pages.begin(); a != pages.end(); ++a) {
        for (auto b = std::next(a); b != pages.end(); ++b) {
            EXPECT_NE(std::memcmp(*a, *b, KVWC_PAGE_SIZE), 0) << "two pages hold the same classes";
        }
    }
}

TEST(TableSweep, CodePointsThatChangedBetweenVersionsHaveTheirClass) {
    const std::vector<std::uint8_t> classes = wcwidth_test::classes_from_lookup();
    const bool is_10 = std::string_view(WCWIDTH_UNICODE_VERSION) == "10.0.0";
    for (const KnownClass& k : Known_Classes) {
        EXPECT_EQ(classes[k.code_point], is_10 ? k.class_10 : k.class_16) << hex(k.code_point);
    }
}

} // namespace
