// Cluster columns against KVwchar_wcwidth over every code point and every
// value of the two flag bits: each code point alone is a cluster of its
// columns, also in a page the program installs (with every class, 5 to 15
// included) and under a null page entry; and a text of every three-byte code
// point in order, where runs of standalone characters are counted apart from
// the cluster scan, measures as the sum of its clusters.
#include "flags_set.hpp"
#include "utf8_text.hpp"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

using test_support::append_utf8;

const std::int32_t Flag_Values[] = {0, KVWC_FLAG_SINGLE_COLUMN, KVWC_FLAG_AMBIGUOUS_WIDE,
                                    KVWC_FLAG_SINGLE_COLUMN | KVWC_FLAG_AMBIGUOUS_WIDE};

bool is_surrogate(std::uint32_t code_point) {
    return code_point >= 0xD800 && code_point <= 0xDFFF;
}

// Stops at the first code point whose cluster columns differ from its width.
void expect_each_alone_as_wcwidth(std::uint32_t first, std::uint32_t last) {
    for (const std::int32_t flags : Flag_Values) {
        const FlagsSet set(flags);
        for (std::uint32_t code_point = first; code_point <= last; ++code_point) {
            if (is_surrogate(code_point)) {
                continue;
            }
            std::string text;
            append_utf8(text, code_point);
            ASSERT_EQ(KVwchar_utf8_cluster_width(text.data(), text.size()),
                      static_cast<std::size_t>(KVwchar_wcwidth(code_point)))
                << "U+" << std::hex << code_point << ", flags " << flags;
        }
    }
}

void expect_three_byte_text_as_sum_of_clusters() {
    std::string text;
    for (std::uint32_t code_point = 0x800; code_point <= 0xFFFF; ++code_point) {
        if (!is_surrogate(code_point)) {
            append_utf8(text, code_point);
        }
    }
    for (const std::int32_t flags : Flag_Values) {
        const FlagsSet set(flags);
        std::size_t sum = 0;
        for (std::size_t at = 0; at < text.size();) {
            int columns = 0;
            at += KVwchar_utf8_cluster(text.data() + at, text.size() - at, &columns);
            sum += static_cast<std::size_t>(columns);
        }
        EXPECT_EQ(KVwchar_utf8_cluster_width(text.data(), text.size()), sum) << "flags " << flags;
    }
}

// Replaces one entry of the page table for a scope.
class PageInstalled {
  public:
    PageInstalled(std::uint32_t block, const unsigned char* page)
        : block_(block), previous_(_pKVwc_Width_Table[block]) {
        _pKVwc_Width_Table[block] = page;
    }
    ~PageInstalled() { _pKVwc_Width_Table[block_] = previous_; }
    PageInstalled(const PageInstalled&) = delete;
    PageInstalled& operator=(const PageInstalled&) = delete;

  private:
    std::uint32_t block_;
    const unsigned char* previous_;
};

// The block of U+4E00..U+4FFF: ideographs, so the text sweep runs over it.
constexpr std::uint32_t Ideograph_Block = 0x4E00 >> KVWC_BLOCK_SHIFT;
constexpr std::uint32_t Block_First = Ideograph_Block << KVWC_BLOCK_SHIFT;
constexpr std::uint32_t Block_Last = Block_First + (1u << KVWC_BLOCK_SHIFT) - 1;

TEST(WidthSweep, EveryCodePointAloneMeasuresAsKVwcharWcwidth) {
    expect_each_alone_as_wcwidth(0, KVWC_CODE_POINT_LIMIT - 1);
}

TEST(WidthSweep, EveryThreeByteCodePointInOrderMeasuresAsItsClusters) {
    expect_three_byte_text_as_sum_of_clusters();
}

// Every class 32 times: byte i holds classes (2i + shift) mod 16 and the next.
std::array<unsigned char, KVWC_PAGE_SIZE> page_of_every_class(unsigned shift) {
    std::array<unsigned char, KVWC_PAGE_SIZE> page{};
    for (unsigned i = 0; i < page.size(); ++i) {
        page[i] = static_cast<unsigned char>((2 * i + shift) % 16 | ((2 * i + shift + 1) % 16) << 4);
    }
    return page;
}

TEST(WidthSweep, InstalledPagesWithEveryClass) {
    const auto ideographs = page_of_every_class(0);
    const PageInstalled installed(Ideograph_Block, ideographs.data());
    ASSERT_EQ(KVwchar_wcwidth(Block_First + 15), 15);
    expect_each_alone_as_wcwidth(Block_First, Block_Last);
    expect_three_byte_text_as_sum_of_clusters();

    // Over the combining marks too, where U+0300 is no longer zero-width.
    const auto marks = page_of_every_class(1);
    const std::uint32_t marks_block = 0x0300 >> KVWC_BLOCK_SHIFT;
    const PageInstalled installed_marks(marks_block, marks.data());
    ASSERT_EQ(KVwchar_wcwidth(0x0300), 1);
    expect_each_alone_as_wcwidth(marks_block << KVWC_BLOCK_SHIFT,
                                 ((marks_block + 1) << KVWC_BLOCK_SHIFT) - 1);
    expect_each_alone_as_wcwidth(Block_First, Block_Last);
    expect_three_byte_text_as_sum_of_clusters();

    // e and U+0301 (now two columns) are one cluster of their sum, 1 only
    // under the single-column flag, though U+0300 now counts a column.
    ASSERT_EQ(KVwchar_wcwidth(0x0301), 2);
    const std::string e_acute = "e\xCC\x81";
    const std::pair<std::int32_t, int> cases[] = {{0, 3}, {KVWC_FLAG_SINGLE_COLUMN, 1}};
    for (const auto& [flags, columns] : cases) {
        const FlagsSet set(flags);
        int cluster_columns = 0;
        EXPECT_EQ(KVwchar_utf8_cluster(e_acute.data(), e_acute.size(), &cluster_columns), 3u);
        EXPECT_EQ(cluster_columns, columns) << "flags " << flags;
        EXPECT_EQ(KVwchar_utf8_cluster_width(e_acute.data(), e_acute.size()),
                  static_cast<std::size_t>(columns))
            << "flags " << flags;
    }
}

// A page over block 0 changes no ASCII character, alone, in a run or
// beginning a longer cluster.
TEST(WidthSweep, InstalledPageLeavesAsciiOneColumn) {
    const auto wide = page_of_every_class(2);
    const PageInstalled installed(0, wide.data());
    const struct {
        const char* text;
        std::size_t columns;
    } cases[] = {
        {"a", 1}, {"ab", 2}, {"\r\n", 2}, {"x\xE4\xB8\xAD", 3}, {"e\xCC\x81", 1}, {"1\xE2\x83\xA3", 2},
    };
    for (const auto& c : cases) {
        const std::size_t len = std::char_traits<char>::length(c.text);
        EXPECT_EQ(KVwchar_utf8_cluster_width(c.text, len), c.columns) << c.text;
        std::size_t sum = 0;
        for (std::size_t at = 0; at < len;) {
            int columns = 0;
            at += KVwchar_utf8_cluster(c.text + at, len - at, &columns);
            sum += static_cast<std::size_t>(columns);
        }
        EXPECT_EQ(sum, c.columns) << c.text;
    }
}

TEST(WidthSweep, NullPageEntryIsOneColumn) {
    const PageInstalled installed(Ideograph_Block, nullptr);
    ASSERT_EQ(KVwchar_wcwidth(Block_First), 1);
    expect_each_alone_as_wcwidth(Block_First, Block_Last);
    expect_three_byte_text_as_sum_of_clusters();
}

} // namespace
