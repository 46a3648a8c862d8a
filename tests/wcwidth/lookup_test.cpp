// The lookup and flags over pages the tests install themselves, so every
// class (including ones the generator never writes) and layout detail can be
// exercised independently of the Unicode contents.
#include "wcwidthtab.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

class LookupTest : public ::testing::Test {
  protected:
    static constexpr std::uint32_t Block = 0x10; // U+2000..U+21FF
    static constexpr std::uint32_t Base = Block << KVWC_BLOCK_SHIFT;

    void SetUp() override {
        std::copy(std::begin(_pKVwc_Width_Table), std::end(_pKVwc_Width_Table),
                  saved_table_.begin());
        saved_flags_ = KVwchar_set_wcwidth_flags(0);
        page_.fill(0x11);
        _pKVwc_Width_Table[Block] = page_.data();
    }
    void TearDown() override {
        std::copy(saved_table_.begin(), saved_table_.end(), std::begin(_pKVwc_Width_Table));
        KVwchar_set_wcwidth_flags(saved_flags_);
    }

    std::array<unsigned char, KVWC_PAGE_SIZE> page_{};

  private:
    std::array<const unsigned char*, KVWC_BLOCK_COUNT> saved_table_{};
    std::int32_t saved_flags_ = 0;
};

struct ClassCase {
    unsigned width_class;
    std::array<int, 4> columns; // under flags 0, 1, 2, 3
};

constexpr ClassCase Class_Cases[] = {
    {0, {0, 1, 0, 1}}, {1, {1, 1, 1, 1}}, {2, {2, 1, 2, 1}}, {3, {1, 1, 2, 1}},
    {4, {4, 4, 4, 4}}, {5, {5, 1, 5, 1}}, {9, {9, 1, 9, 1}}, {15, {15, 1, 15, 1}},
};

TEST_F(LookupTest, EachClassGivesTheSpecifiedColumnsUnderEachFlagsValue) {
    for (const ClassCase& c : Class_Cases) {
        page_[0] = static_cast<unsigned char>(0x10 | c.width_class);
        for (std::int32_t flags = 0; flags < 4; ++flags) {
            KVwchar_set_wcwidth_flags(flags);
            EXPECT_EQ(KVwchar_wcwidth(Base), c.columns[flags])
                << "class " << c.width_class << " flags " << flags;
            // Bits above the two defined ones are stored but change nothing.
            KVwchar_set_wcwidth_flags(flags | 0x7FFFFF00);
            EXPECT_EQ(KVwchar_wcwidth(Base), c.columns[flags])
                << "class " << c.width_class << " flags " << flags << " with high bits";
        }
    }
}

TEST_F(LookupTest, EvenCodePointIsTheLowNibble) {
    page_[7] = 0x24;
    page_[0xFF] = 0x02;
    EXPECT_EQ(KVwchar_wcwidth(Base + 14), 4);
    EXPECT_EQ(KVwchar_wcwidth(Base + 15), 2);
    EXPECT_EQ(KVwchar_wcwidth(Base + 510), 2);
    EXPECT_EQ(KVwchar_wcwidth(Base + 511), 0);
    EXPECT_EQ(KVwchar_wcwidth(Base + 13), 1);
    EXPECT_EQ(KVwchar_wcwidth(Base + 16), 1);
}

TEST_F(LookupTest, LastCodePointIsTheHighNibbleOfTheLastByteOfTheLastEntry) {
    page_[0xFF] = 0x21;
    _pKVwc_Width_Table[KVWC_BLOCK_COUNT - 1] = page_.data();
    EXPECT_EQ(KVwchar_wcwidth(0x10FFFF), 2);
    EXPECT_EQ(KVwchar_wcwidth(0x10FFFE), 1);
}

TEST_F(LookupTest, NullEntryCountsOneColumnUnderEveryFlagsValue) {
    _pKVwc_Width_Table[Block] = nullptr;
    for (std::int32_t flags = 0; flags < 4; ++flags) {
        KVwchar_set_wcwidth_flags(flags);
        for (std::uint32_t cp : {Base, Base + 1, Base + 255, Base + 511}) {
            EXPECT_EQ(KVwchar_wcwidth(cp), 1) << std::hex << cp << " flags " << flags;
        }
    }
    EXPECT_EQ(KVwchar_wcwidth(Base - 1), 1);
    EXPECT_EQ(KVwchar_wcwidth(Base + 512), 1);
}

TEST_F(LookupTest, CodePointsPastUnicodeCountOneColumn) {
    // A page of wide code points at the last entry: an index that wrapped
    // into the table would answer 2 here.
    page_.fill(0x22);
    _pKVwc_Width_Table[KVWC_BLOCK_COUNT - 1] = page_.data();
    _pKVwc_Width_Table[0] = page_.data();
    for (std::int32_t flags = 0; flags < 4; ++flags) {
        KVwchar_set_wcwidth_flags(flags);
        for (std::uint32_t cp :
             {0x110000u, 0x110001u, 0x1FFFFFu, 0x200000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            EXPECT_EQ(KVwchar_wcwidth(cp), 1) << std::hex << cp << " flags " << flags;
        }
    }
}

TEST_F(LookupTest, SetterStoresTheWholeWordAndReturnsThePreviousOne) {
    const std::int32_t sequence[] = {0x100, 3, -1, INT32_MIN, 0};
    std::int32_t previous = 0; // SetUp left the word at 0
    for (std::int32_t flags : sequence) {
        EXPECT_EQ(KVwchar_set_wcwidth_flags(flags), previous);
        previous = flags;
    }
}

} // namespace
