// Width lookup and the flags word.
//
// The library ships as one object, so the generated pages and page-pointer
// array of the chosen Unicode version (KARVO_WIDTH_TABLE names the
// width_table_<version>.inc file) are compiled into this translation unit.
#include KARVO_WIDTH_TABLE

#include <atomic>
#include <cstdint>

namespace {

// The module's only mutable state. Relaxed atomics are enough: a lookup reads
// the word once and needs no ordering with any other memory, and on the
// targets we build for they compile to plain loads and stores.
// Entry 1 is the flags word; entry 0 is never written and stays 0. The
// classes that no flag changes read entry 0 in place of the flags word, so
// the word is picked by index rather than by a branch.
constinit std::atomic<std::int32_t> Flag_Words[2]{0, 0};
constinit std::atomic<std::int32_t>& Width_Flags = Flag_Words[1];

constexpr std::uint32_t Nibble_Mask = 0x0F;
// Bit n set: no flag changes the columns of class n (narrow, four-column).
constexpr std::uint32_t Fixed_Classes = (1u << KVWC_CLASS_NARROW) | (1u << KVWC_CLASS_FOUR_COLUMN);

// Columns of classes 0 to 4 under the four values of the two flag bits, 3
// bits each, entry class * 4 + flags: the single-column flag makes every
// class but 1 and 4 one column, and the ambiguous-wide flag alone makes the
// ambiguous class two. One shift and mask instead of branches on the class.
constexpr std::uint32_t Flag_Bits = KVWC_FLAG_SINGLE_COLUMN | KVWC_FLAG_AMBIGUOUS_WIDE;
constexpr unsigned Column_Bits = 3;
constexpr std::uint64_t Column_Mask = 7;

constexpr std::uint64_t columns_table() {
    constexpr std::uint64_t by_class[5][4] = {
        {0, 1, 0, 1}, // zero-width
        {1, 1, 1, 1}, // narrow
        {2, 1, 2, 1}, // wide
        {1, 1, 2, 1}, // ambiguous
        {4, 4, 4, 4}, // four-column
    };
    std::uint64_t table = 0;
    for (unsigned c = 0; c < 5; ++c)
        for (unsigned f = 0; f < 4; ++f)
            table |= by_class[c][f] << (Column_Bits * (c * 4 + f));
    return table;
}
constexpr std::uint64_t Columns = columns_table();
constexpr std::uint32_t Page_Byte_Mask = KVWC_PAGE_SIZE - 1;

} // namespace

extern "C" int KVwchar_wcwidth(std::uint32_t code_point) {
    // 0x10FFFF >> 16 is 0x10; anything above lies outside Unicode.
    if ((code_point >> 16) > 0x10) {
        return 1;
    }
    const unsigned char* page = _pKVwc_Width_Table[code_point >> KVWC_BLOCK_SHIFT];
    if (page == nullptr) {
        return 1;
    }
    const std::uint32_t width_class =
        (page[(code_point >> 1) & Page_Byte_Mask] >> (4 * (code_point & 1))) & Nibble_Mask;

    // Narrow and four-column answers never depend on the flags, so they never
    // read the flags word: they read the zero word beside it. Picking the word
    // by class instead of branching on the class keeps text that mixes narrow
    // with wide characters free of mispredicted branches; the answers are
    // those of testing the class first and returning early.
    const std::uint32_t flags_apply = ((Fixed_Classes >> width_class) & 1) ^ 1;
    const auto flags =
        static_cast<std::uint32_t>(Flag_Words[flags_apply].load(std::memory_order_relaxed));

    // The generator writes no class above 4; a page that a caller installs
    // with one gets that number back, or 1 under the single-column flag.
    if (width_class > KVWC_CLASS_FOUR_COLUMN) [[unlikely]] {
        return (flags & KVWC_FLAG_SINGLE_COLUMN) != 0 ? 1 : static_cast<int>(width_class);
    }
    const std::uint32_t index = width_class * 4 + (flags & Flag_Bits);
    return static_cast<int>((Columns >> (Column_Bits * index)) & Column_Mask);
}

// A load followed by a store, not an exchange: concurrent setters may both
// see the same previous word, and the later store wins.
extern "C" std::int32_t KVwchar_set_wcwidth_flags(std::int32_t flags) {
    const std::int32_t previous = Width_Flags.load(std::memory_order_relaxed);
    Width_Flags.store(flags, std::memory_order_relaxed);
    return previous;
}
