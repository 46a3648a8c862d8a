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
// targets we build for they compile to plain loads and stores. The word has a
// cache line to itself, so that a program writing its own variables beside
// it cannot make every lookup wait for that line.
struct alignas(64) FlagsWord {
    std::atomic<std::int32_t> word{0};
};
constinit FlagsWord Width_Flags;

constexpr std::uint32_t Flag_Bits = KVWC_FLAG_SINGLE_COLUMN | KVWC_FLAG_AMBIGUOUS_WIDE;
constexpr std::uint32_t Class_Count = 16; // a class is a nibble
constexpr std::uint32_t Nibble_Mask = Class_Count - 1;
constexpr std::uint32_t Page_Byte_Mask = KVWC_PAGE_SIZE - 1;

// Columns of every class under the four values of the two flag bits, entry
// flags * 16 + class. The single-column flag makes every class but 1 and 4
// one column, and the ambiguous-wide flag alone makes class 3 two. Classes
// above 4 (which only a page installed by the program can hold) count their
// own number, so the table covers every nibble and the lookup never tests
// the class.
struct ColumnsTable {
    unsigned char columns[4 * Class_Count];
};

constexpr unsigned char columns_of(std::uint32_t width_class, std::uint32_t flags) {
    if (width_class == KVWC_CLASS_NARROW || width_class == KVWC_CLASS_FOUR_COLUMN) {
        return static_cast<unsigned char>(width_class);
    }
    if ((flags & KVWC_FLAG_SINGLE_COLUMN) != 0) {
        return 1;
    }
    if (width_class == KVWC_CLASS_AMBIGUOUS) {
        return (flags & KVWC_FLAG_AMBIGUOUS_WIDE) != 0 ? 2 : 1;
    }
    return static_cast<unsigned char>(width_class);
}

constexpr ColumnsTable columns_table() {
    ColumnsTable table{};
    for (std::uint32_t flags = 0; flags <= Flag_Bits; ++flags) {
        for (std::uint32_t width_class = 0; width_class < Class_Count; ++width_class) {
            table.columns[flags * Class_Count + width_class] = columns_of(width_class, flags);
        }
    }
    return table;
}
alignas(64) constexpr ColumnsTable Columns = columns_table();

} // namespace

extern "C" int KVwchar_wcwidth(std::uint32_t code_point) {
    // The flags word is read first and on every call: its load depends on
    // nothing the lookup computes, so it overlaps the two table reads instead
    // of waiting for the class (see docs/wcwidth-speed.md for the numbers).
    const auto flags = static_cast<std::uint32_t>(Width_Flags.word.load(std::memory_order_relaxed));

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
    return Columns.columns[(flags & Flag_Bits) * Class_Count + width_class];
}

// A load followed by a store, not an exchange: concurrent setters may both
// see the same previous word, and the later store wins.
extern "C" std::int32_t KVwchar_set_wcwidth_flags(std::int32_t flags) {
    const std::int32_t previous = Width_Flags.word.load(std::memory_order_relaxed);
    Width_Flags.word.store(flags, std::memory_order_relaxed);
    return previous;
}
