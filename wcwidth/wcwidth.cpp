// Width lookup and the flags word.
//
// The library ships as one object, so the generated pages and page-pointer
// array are compiled into this translation unit rather than on their own.
#include "width_table.cpp"

#include <atomic>
#include <cstdint>

namespace {

// The module's only mutable state. Relaxed atomics are enough: a lookup reads
// the word once and needs no ordering with any other memory, and on the
// targets we build for they compile to plain loads and stores.
constinit std::atomic<std::int32_t> Width_Flags{0};

constexpr std::uint32_t Nibble_Mask = 0x0F;
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

    // Narrow and four-column answers never depend on the flags, and they are
    // by far the most common, so they return before the flags word is read.
    if (width_class == KVWC_CLASS_NARROW || width_class == KVWC_CLASS_FOUR_COLUMN) {
        return static_cast<int>(width_class);
    }
    const std::int32_t flags = Width_Flags.load(std::memory_order_relaxed);
    if ((flags & KVWC_FLAG_SINGLE_COLUMN) != 0) {
        return 1;
    }
    if (width_class == KVWC_CLASS_AMBIGUOUS) {
        return (flags & KVWC_FLAG_AMBIGUOUS_WIDE) != 0 ? 2 : 1;
    }
    // Zero-width or wide. The generator writes no class above 4; a page that
    // a caller installs with one gets that number back.
    return static_cast<int>(width_class);
}

// A load followed by a store, not an exchange: concurrent setters may both
// see the same previous word, and the later store wins.
extern "C" std::int32_t KVwchar_set_wcwidth_flags(std::int32_t flags) {
    const std::int32_t previous = Width_Flags.load(std::memory_order_relaxed);
    Width_Flags.store(flags, std::memory_order_relaxed);
    return previous;
}
