// The default table, Unicode 10.0.0, against the check values of its
// contents: the use of its pages, the uniform pages and the special ranges.
// Its class counts, runs and page sharing are checked with every version's
// table in table_sweep_test.cpp.
#include "wcwidthtab.h"
#include "width_classes.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace {

using wcwidth_test::classes_from_lookup;

struct Range {
    std::uint32_t first;
    std::uint32_t last;
    unsigned width_class;
};

TEST(WidthTable, PagesHaveTheSpecifiedUsage) {
    std::map<const unsigned char*, std::size_t> users;
    for (std::uint32_t k = 0; k < KVWC_BLOCK_COUNT; ++k) {
        ++users[_pKVwc_Width_Table[k]];
    }
    std::vector<std::size_t> usage;
    for (const auto& [page, count] : users) {
        usage.push_back(count);
    }
    std::sort(usage.rbegin(), usage.rend());
    std::vector<std::size_t> expected{1505, 342, 266, 2, 2};
    expected.resize(64, 1);
    EXPECT_EQ(usage, expected);
}

// Page contents: every byte `fill`, except the last, which is `last_byte`.
struct PageUse {
    unsigned char fill;
    unsigned char last_byte;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    bool complete; // the ranges are every block that uses the page
};

TEST(WidthTable, SharedPagesServeTheSpecifiedRanges) {
    const PageUse uses[] = {
        {0x22,
         0x22,
         {{0x3400, 0x4BFF},
          {0x4E00, 0xA3FF},
          {0xAC00, 0xD5FF},
          {0x17000, 0x185FF},
          {0x18800, 0x189FF},
          {0x20000, 0x2FDFF},
          {0x30000, 0x3FDFF}},
         true},
        {0x33, 0x33, {{0xE000, 0xF7FF}, {0xF0000, 0xFFDFF}, {0x100000, 0x10FDFF}}, true},
        {0x22, 0x11, {{0x2FE00, 0x2FFFF}, {0x3FE00, 0x3FFFF}}, true},
        {0x33, 0x11, {{0xFFE00, 0xFFFFF}, {0x10FE00, 0x10FFFF}}, true},
        {0x11, 0x11, {{0x40000, 0xDFFFF}, {0xE0200, 0xEFFFF}}, false},
    };
    for (const PageUse& use : uses) {
        std::array<unsigned char, KVWC_PAGE_SIZE> contents;
        contents.fill(use.fill);
        contents.back() = use.last_byte;
        std::set<std::uint32_t> users;
        for (std::uint32_t k = 0; k < KVWC_BLOCK_COUNT; ++k) {
            if (std::memcmp(_pKVwc_Width_Table[k], contents.data(), KVWC_PAGE_SIZE) == 0) {
                users.insert(k);
            }
        }
        std::set<std::uint32_t> listed;
        for (const auto& [first, last] : use.ranges) {
            for (std::uint32_t k = first >> 9; k <= last >> 9; ++k) {
                listed.insert(k);
            }
        }
        const bool covered =
            std::includes(users.begin(), users.end(), listed.begin(), listed.end());
        EXPECT_TRUE(use.complete ? users == listed : covered)
            << "page filled with 0x" << std::hex << int{use.fill} << ": " << std::dec
            << users.size() << " blocks use it, " << listed.size() << " listed";
    }
}

constexpr Range Special_Ranges[] = {
    {0x0000, 0x001F, 1},
    {0x007F, 0x007F, 1},
    {0x0020, 0x007E, 1},
    {0x0080, 0x009F, 4},
    {0x00A0, 0x00A0, 1},
    {0x00AD, 0x00AD, 3},
    {0x0300, 0x036F, 0},
    {0x1100, 0x115F, 2},
    {0x1160, 0x11FF, 0},
    {0xA960, 0xA97C, 2},
    {0xAC00, 0xD7A3, 2},
    {0xD7B0, 0xD7FF, 1},
    {0x200B, 0x200F, 0},
    {0x202A, 0x202E, 0},
    {0x2066, 0x2069, 0},
    {0x2028, 0x2029, 1},
    {0x2060, 0x2064, 0},
    {0x2065, 0x2065, 1},
    {0x3000, 0x3000, 2},
    {0x3400, 0x4DBF, 2},
    {0x4E00, 0x9FFF, 2},
    {0xF900, 0xFAFF, 2},
    {0xD800, 0xDFFF, 1},
    {0xE000, 0xF8FF, 3},
    {0xFDD0, 0xFDEF, 1},
    {0xFE00, 0xFE0F, 0},
    {0xE0100, 0xE01EF, 0},
    {0xFEFF, 0xFEFF, 0},
    {0xFF01, 0xFF60, 2},
    {0xFFE0, 0xFFE6, 2},
    {0xFF61, 0xFFDC, 1},
    {0xFFE8, 0xFFEE, 1},
    {0xFFFC, 0xFFFC, 1},
    {0xFFFD, 0xFFFD, 3},
    {0x20000, 0x2FFFD, 2},
    {0x30000, 0x3FFFD, 2},
    {0x40000, 0xDFFFF, 1},
    {0xE0001, 0xE0001, 0},
    {0xE0020, 0xE007F, 0},
    {0xE0000, 0xE0000, 1},
    {0xE0002, 0xE001F, 1},
    {0xE0080, 0xE00FF, 1},
    {0xE01F0, 0xEFFFD, 1},
    {0xF0000, 0xFFFFD, 3},
    {0x100000, 0x10FFFD, 3},
    // Single code points at the edges of the rules.
    {0x302A, 0x302A, 0},
    {0x302E, 0x302E, 2},
    {0x1200, 0x1200, 1},
    {0x9FEA, 0x9FEA, 2},
    {0x312E, 0x312E, 2},
    {0x312F, 0x312F, 1},
    {0x1F6F8, 0x1F6F8, 2},
    {0x1F6F9, 0x1F6F9, 1},
    {0x1F93B, 0x1F93B, 2},
    {0x1F946, 0x1F946, 2},
    {0xA9BD, 0xA9BD, 1},
    {0x111C9, 0x111C9, 1},
    {0x11A07, 0x11A08, 1},
    {0x1734, 0x1734, 0},
    {0x1171E, 0x1171E, 0},
    {0x2630, 0x2630, 1},
    {0x4DC0, 0x4DC0, 1},
};

TEST(WidthTable, SpecialRangesAndEdgeCodePointsHaveTheirClasses) {
    const std::vector<std::uint8_t> classes = classes_from_lookup();
    for (const Range& r : Special_Ranges) {
        for (std::uint32_t cp = r.first; cp <= r.last; ++cp) {
            ASSERT_EQ(classes[cp], r.width_class) << "U+" << std::hex << std::uppercase << cp;
        }
    }
    // The last two code points of every plane are noncharacters: narrow.
    for (std::uint32_t plane = 0; plane <= 16; ++plane) {
        EXPECT_EQ(classes[(plane << 16) | 0xFFFE], 1) << "plane " << plane;
        EXPECT_EQ(classes[(plane << 16) | 0xFFFF], 1) << "plane " << plane;
    }
}

} // namespace
