// Grapheme clusters of UTF-8 text and their columns.
//
// A cluster is scanned one code point at a time: each is decoded once, looked
// up once in the property table, and measured once in the width table; the
// code point that ends a cluster is handed to the next scan rather than read
// again. Runs of ASCII are counted several bytes at a time, since every
// ASCII character is one column under every flag and, but for CR LF and the
// last one before a non-ASCII byte, a cluster of its own; so are runs of
// three-byte characters that never join each other, most of CJK text.
#include "text_properties.hpp"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"
#include "wcwidthtab_utf8.h"

#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

// KARVO_TEXT_PORTABLE leaves out the SSE2 path, so that tests can check the
// portable one on a machine that has SSE2.
#if defined(__SSE2__) && !defined(KARVO_TEXT_PORTABLE)
#include <emmintrin.h>
#define KARVO_TEXT_SSE2 1
#endif

namespace karvo_text {
namespace {

// A decoded code point, its length in bytes and its property byte. The
// length alone decides where the next code point starts; it has a word of
// its own so that no compiler packs it with the property byte, which would
// put the table lookup on that chain.
struct CodePoint {
    std::size_t size; // 0 at the end of the text
    std::uint32_t value;
    std::uint8_t props;
};

// Whether each of the bytes is a continuation byte, 0x80..0xBF: then each
// with its high bit flipped is below 0x40, and so is their union.
constexpr bool are_continuations(unsigned a, unsigned b = 0x80, unsigned c = 0x80) {
    return ((a ^ 0x80u) | (b ^ 0x80u) | (c ^ 0x80u)) < 0x40u;
}

// The property byte of an ASCII character: one load, the block being known.
inline std::uint8_t ascii_property(unsigned char ascii) {
    return Property_Blocks[Property_Index[0]][ascii];
}

// Well-formed sequences with four bytes readable are decoded here, with
// one branch on the length and each length's checks combined into one
// test; anything else goes to KVwchar_utf8_decode, which finds the maximal
// ill-formed subpart. Its test of each byte in turn costs a branch each on
// text that mixes lengths, as emoji do.
[[gnu::always_inline]] inline CodePoint read_code_point(const unsigned char* p, std::size_t len) {
    if (len >= 4) [[likely]] {
        const std::uint32_t lead = p[0];
        if (lead < 0x80) {
            return {1, lead, ascii_property(static_cast<unsigned char>(lead))};
        }
        if (lead >= 0xF0) {
            const std::uint32_t value = (lead & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 |
                                        (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
            // U+10000..U+10FFFF: no overlong form, nothing beyond Unicode.
            if (lead <= 0xF4 && are_continuations(p[1], p[2], p[3]) &&
                value - 0x10000u < 0x100000u) {
                return {4, value, property(value)};
            }
        } else if (lead >= 0xE0) {
            const std::uint32_t value = (lead & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
            // No overlong form, no surrogate.
            if (are_continuations(p[1], p[2]) && value >= 0x800u &&
                (value & 0xF800u) != 0xD800u) {
                return {3, value, property(value)};
            }
        } else if (lead >= 0xC2 && are_continuations(p[1])) {
            const std::uint32_t value = (lead & 0x1Fu) << 6 | (p[1] & 0x3Fu);
            return {2, value, property(value)};
        }
    }
    std::uint32_t value = 0;
    const std::size_t size = KVwchar_utf8_decode(reinterpret_cast<const char*>(p), len, &value);
    return {size, value, property(value)};
}

// What the pair of break classes on either side of a position says about a
// boundary there: the first three decide it, the others leave it to the
// text before the pair.
enum Pair : std::uint8_t {
    Boundary,
    Joined,
    Joined_If_Conjunct,   // a consonant after a linker-joined run
    Joined_If_Pictograph, // a pictograph after pictograph, Extend*, ZWJ
    Joined_If_Odd_Flag,   // the second of a pair of regional indicators
};

constexpr bool is_control(BreakClass c) {
    return c == Break_CR || c == Break_LF || c == Break_Control;
}

// The rules of UAX #29 (16.0.0) in their order of precedence.
constexpr Pair pair_rule(BreakClass before, BreakClass after) {
    if (before == Break_CR && after == Break_LF) {
        return Joined;
    }
    if (is_control(before) || is_control(after)) {
        return Boundary;
    }
    if (before == Break_L &&
        (after == Break_L || after == Break_V || after == Break_LV || after == Break_LVT)) {
        return Joined;
    }
    if ((before == Break_LV || before == Break_V) && (after == Break_V || after == Break_T)) {
        return Joined;
    }
    if ((before == Break_LVT || before == Break_T) && after == Break_T) {
        return Joined;
    }
    if (is_extend_or_zwj(after) || after == Break_SpacingMark || before == Break_Prepend) {
        return Joined;
    }
    if (after == Break_Consonant &&
        (before == Break_Extend_InCB || before == Break_Extend_Linker || before == Break_ZWJ)) {
        return Joined_If_Conjunct;
    }
    if (before == Break_ZWJ) {
        return Joined_If_Pictograph;
    }
    if (before == Break_Regional_Indicator && after == Break_Regional_Indicator) {
        return Joined_If_Odd_Flag;
    }
    return Boundary;
}

using PairTable = std::array<std::array<Pair, Break_Class_Count>, Break_Class_Count>;
constexpr PairTable pair_table() {
    PairTable table{};
    for (unsigned before = 0; before < Break_Class_Count; ++before) {
        for (unsigned after = 0; after < Break_Class_Count; ++after) {
            table[before][after] =
                pair_rule(static_cast<BreakClass>(before), static_cast<BreakClass>(after));
        }
    }
    return table;
}
constexpr PairTable Pairs = pair_table();

// Bit `after` of entry `before`: the pair may be joined, by itself or by
// the text before it. One load and a shift rule out most pairs.
using JoinMasks = std::array<std::uint32_t, Break_Class_Count>;
constexpr JoinMasks join_masks() {
    JoinMasks masks{};
    for (unsigned before = 0; before < Break_Class_Count; ++before) {
        for (unsigned after = 0; after < Break_Class_Count; ++after) {
            if (Pairs[before][after] != Boundary) {
                masks[before] |= 1u << after;
            }
        }
    }
    return masks;
}
constexpr JoinMasks May_Join = join_masks();

// The part of the text before a position that the rules look back at. A
// scan starts at a boundary, and every rule's look-back runs over joined
// code points, so the state never reaches before the cluster's start.
struct LookBack {
    enum : std::uint8_t { None, Consonant, Linked } conjunct = None;
    enum : std::uint8_t { No_Pictograph, Pictograph, Pictograph_ZWJ } pictograph = No_Pictograph;
    bool odd_flags = false; // an odd number of regional indicators just before

    constexpr void add(std::uint8_t props) {
        const BreakClass c = break_class(props);
        if (c == Break_Consonant) {
            conjunct = Consonant;
        } else if (conjunct != None && c == Break_Extend_Linker) {
            conjunct = Linked;
        } else if (c != Break_Extend_InCB && c != Break_ZWJ) {
            conjunct = None;
        }
        if (is_pictographic(props)) {
            pictograph = Pictograph;
        } else if (pictograph == Pictograph && c == Break_ZWJ) {
            pictograph = Pictograph_ZWJ;
        } else if (pictograph != Pictograph || !is_extend_or_zwj(c)) {
            pictograph = No_Pictograph;
        }
        odd_flags = c == Break_Regional_Indicator && !odd_flags;
    }
};

constexpr unsigned class_in(const unsigned char* page, std::uint32_t code_point) {
    return (page[(code_point >> 1) & (KVWC_PAGE_SIZE - 1)] >> (4 * (code_point & 1))) & 0xF;
}

// Whether KVwchar_wcwidth counts under the single-column flag. Its flags
// word is private to the width library, so this asks for a code point whose
// answer the flag changes: U+0300 (class 0 in every table we build: 0
// columns, or 1 under the flag) or, where the program installed a page that
// gives it another class, U+4E00 (class 2: 2 columns, or 1). Where neither
// is of those classes, the flag is taken as clear.
bool single_column_flag() {
    for (const std::uint32_t probe : {0x0300u, 0x4E00u}) {
        const unsigned char* page = _pKVwc_Width_Table[probe >> KVWC_BLOCK_SHIFT];
        if (page == nullptr) {
            continue;
        }
        const unsigned width_class = class_in(page, probe);
        if (width_class == KVWC_CLASS_ZERO_WIDTH || width_class == KVWC_CLASS_WIDE) {
            return KVwchar_wcwidth(probe) == 1;
        }
    }
    return false;
}

// Columns of code points, as KVwchar_wcwidth gives them, without a call per
// code point. Its answer for a code point of Unicode depends on nothing but
// the code point's width class, read from the public page table, and the
// flags word; a null page entry is one column. The single-column flag makes
// every class but 1 and 4 one column; without it, classes 0, 1, 2 and 4
// count their number. So once that flag is known, only the ambiguous class
// 3 (which the other flag makes 1 or 2) and classes above 4 (in a page the
// program installed) are asked of KVwchar_wcwidth, once per call, at the
// first code point of each. The flag is asked at the first code point
// measured (text that is all ASCII has none).
class Widths {
  public:
    Widths() { columns_.fill(Unknown); }

    // code_point comes from the UTF-8 decoder, so it is below 0x110000.
    // ASCII is one column whatever page the program installs over block 0:
    // the ASCII runs are counted so, and an ASCII character that begins a
    // longer cluster must count the same.
    std::size_t of(std::uint32_t code_point) {
        if (code_point < 0x80) {
            return 1;
        }
        const unsigned char* page = _pKVwc_Width_Table[code_point >> KVWC_BLOCK_SHIFT];
        if (page == nullptr) {
            return 1;
        }
        const unsigned width_class = class_in(page, code_point);
        const std::uint8_t columns = columns_[width_class];
        if (columns == Unknown) [[unlikely]] {
            return learn(width_class, code_point);
        }
        return columns;
    }

    // Whether the single-column flag is set; asked at most once per call.
    bool single_column() {
        if (single_column_ < 0) {
            settle(single_column_flag());
        }
        return single_column_ != 0;
    }

  private:
    static constexpr std::uint8_t Unknown = 0xFF;

    [[gnu::noinline]] std::size_t learn(unsigned width_class, std::uint32_t code_point) {
        if (single_column_ < 0) {
            single_column();
            if (columns_[width_class] != Unknown) {
                return columns_[width_class];
            }
        }
        const int columns = KVwchar_wcwidth(code_point);
        columns_[width_class] = static_cast<std::uint8_t>(columns);
        return static_cast<std::size_t>(columns);
    }

    void settle(bool single) {
        single_column_ = single ? 1 : 0;
        columns_[KVWC_CLASS_ZERO_WIDTH] = single ? 1 : 0;
        columns_[KVWC_CLASS_NARROW] = 1;
        columns_[KVWC_CLASS_WIDE] = single ? 1 : 2;
        columns_[KVWC_CLASS_FOUR_COLUMN] = 4;
        if (single) {
            columns_[KVWC_CLASS_AMBIGUOUS] = 1;
        }
    }

    std::array<std::uint8_t, 16> columns_;
    int single_column_ = -1;
};

constexpr std::uint32_t Text_Presentation = 0xFE0E;
constexpr std::uint32_t Emoji_Presentation = 0xFE0F;
constexpr std::uint32_t Combining_Keycap = 0x20E3;
constexpr std::uint32_t First_Tag = 0xE0020;
constexpr std::uint32_t Cancel_Tag = 0xE007F;

enum class Shape : std::uint8_t { Plain, Emoji, Text_Emoji };

// What the first two code points of a cluster make of it, from a table by
// the second code point's kind and the first's property byte. The kinds
// are told apart by comparisons that need no branch: on chat lines, which
// kind follows an emoji changes from one cluster to the next.
enum Second : std::uint8_t {
    Second_Other,
    Second_Emoji_Presentation,
    Second_Text_Presentation,
    Second_Keycap,
    Second_Tag,
    Second_Modifier,
    Second_Regional_Indicator,
};
constexpr unsigned Second_Count = 7;

constexpr Shape shape_rule(std::uint8_t first, Second second) {
    switch (second) {
    case Second_Emoji_Presentation:
        return is_emoji(first) ? Shape::Emoji : Shape::Plain;
    case Second_Text_Presentation:
        return is_emoji_presentation(first) ? Shape::Text_Emoji : Shape::Plain;
    case Second_Keycap:
        return emoji_kind(first) == Emoji_Component_Text ? Shape::Emoji : Shape::Plain;
    case Second_Tag:
        return is_emoji(first) ? Shape::Emoji : Shape::Plain;
    case Second_Modifier:
        return is_modifier_base(first) ? Shape::Emoji : Shape::Plain;
    case Second_Regional_Indicator:
        return break_class(first) == Break_Regional_Indicator ? Shape::Emoji : Shape::Plain;
    case Second_Other:
        break;
    }
    return Shape::Plain;
}

using ShapeTable = std::array<std::array<Shape, 256>, Second_Count>;
constexpr ShapeTable shape_table() {
    ShapeTable table{};
    for (unsigned second = 0; second < Second_Count; ++second) {
        for (unsigned first = 0; first < 256; ++first) {
            table[second][first] =
                shape_rule(static_cast<std::uint8_t>(first), static_cast<Second>(second));
        }
    }
    return table;
}
constexpr ShapeTable Shapes = shape_table();

// At most one kind holds, so the sum is that kind (or Second_Other).
inline Second second_kind(const CodePoint& second) {
    const std::uint32_t v = second.value;
    return static_cast<Second>(
        (v == Emoji_Presentation) * Second_Emoji_Presentation +
        (v == Text_Presentation) * Second_Text_Presentation +
        (v == Combining_Keycap) * Second_Keycap +
        (v - First_Tag <= Cancel_Tag - First_Tag) * Second_Tag +
        is_modifier(second.props) * Second_Modifier +
        (break_class(second.props) == Break_Regional_Indicator) * Second_Regional_Indicator);
}

inline Shape shape_of(std::uint8_t first, const CodePoint& second) {
    return Shapes[second_kind(second)][first];
}

bool is_hangul_start(std::uint8_t props) {
    const BreakClass c = break_class(props);
    return c == Break_L || c == Break_LV || c == Break_LVT;
}

constexpr bool joins(Pair pair, const LookBack& back, std::uint8_t next_props) {
    switch (pair) {
    case Boundary:
        return false;
    case Joined:
        return true;
    case Joined_If_Conjunct:
        return back.conjunct == LookBack::Linked;
    case Joined_If_Pictograph:
        return back.pictograph == LookBack::Pictograph_ZWJ && is_pictographic(next_props);
    case Joined_If_Odd_Flag:
        return back.odd_flags;
    }
    return false;
}

// The rules as one table, so that each code point of a cluster costs one
// load: a scan state is the break class of the code point before the
// position and the look-back, and a code point's input is its break class
// and whether it is pictographic. An entry says whether the code point
// joins, whether it joins by the pictograph rule, and the state after it.
constexpr unsigned Look_Back_States = 3 * 3 * 2;
constexpr unsigned Scan_States = Break_Class_Count * Look_Back_States;
constexpr unsigned Scan_Inputs = 2 * Break_Class_Count;

constexpr unsigned look_back_index(const LookBack& back) {
    return (back.conjunct * 3u + back.pictograph) * 2u + (back.odd_flags ? 1u : 0u);
}
constexpr LookBack look_back_at(unsigned index) {
    LookBack back;
    back.odd_flags = index % 2 != 0;
    back.pictograph = static_cast<decltype(back.pictograph)>(index / 2 % 3);
    back.conjunct = static_cast<decltype(back.conjunct)>(index / 6);
    return back;
}

constexpr std::uint8_t scan_input(std::uint8_t props) {
    return static_cast<std::uint8_t>(break_class(props) +
                                     (is_pictographic(props) ? Break_Class_Count : 0));
}

constexpr std::uint16_t Joins = 1;
constexpr std::uint16_t Joins_Pictographs = 2;
constexpr unsigned State_Shift = 2;

// The state after the first code point of a cluster.
constexpr std::uint16_t scan_start(std::uint8_t props) {
    LookBack back;
    back.add(props);
    return static_cast<std::uint16_t>(break_class(props) * Look_Back_States + look_back_index(back));
}

using ScanTable = std::array<std::array<std::uint16_t, Scan_Inputs>, Scan_States>;
constexpr ScanTable scan_table() {
    ScanTable table{};
    for (unsigned state = 0; state < Scan_States; ++state) {
        const unsigned before = state / Look_Back_States;
        const LookBack back = look_back_at(state % Look_Back_States);
        for (unsigned input = 0; input < Scan_Inputs; ++input) {
            const unsigned after = input % Break_Class_Count;
            // Any pictographic emoji kind will do: the rules ask no more.
            const auto props = static_cast<std::uint8_t>(
                after | (input >= Break_Class_Count ? Pictographic_Only << Emoji_Shift : 0));
            const Pair pair = Pairs[before][after];
            if (!joins(pair, back, props)) {
                continue;
            }
            LookBack next = back;
            next.add(props);
            const unsigned next_state = after * Look_Back_States + look_back_index(next);
            table[state][input] = static_cast<std::uint16_t>(
                next_state << State_Shift | Joins |
                (pair == Joined_If_Pictograph ? Joins_Pictographs : 0));
        }
    }
    return table;
}
constexpr ScanTable Scan = scan_table();

// A function's value for every property byte, as a table.
template <typename Value, Value (*Of)(std::uint8_t)>
constexpr std::array<Value, 256> by_property() {
    std::array<Value, 256> table{};
    for (unsigned props = 0; props < 256; ++props) {
        table[props] = Of(static_cast<std::uint8_t>(props));
    }
    return table;
}

// The scan input of every property byte, so that a step is two loads, and
// the state after a cluster's first code point, so that it is one load,
// not a chain of tests at every joined cluster (on chat lines, nearly
// every emoji).
constexpr auto Inputs = by_property<std::uint8_t, scan_input>();
constexpr auto Starts = by_property<std::uint16_t, scan_start>();

// A cluster and the code point that follows it (size 0 at the end of the
// text), which begins the next cluster.
struct Cluster {
    std::size_t size;
    std::size_t columns;
    CodePoint next;
};

// The cluster that begins with first (first_width columns) when the pair
// table does not rule out that second joins it.
[[gnu::noinline]] Cluster scan_joined(const unsigned char* p, std::size_t len, CodePoint first,
                                      std::size_t first_width, CodePoint second,
                                      Widths& widths) {
    const Shape first_shape = shape_of(first.props, second);
    // The sum is what a plain cluster counts; emoji and Hangul clusters
    // count 2 whatever it is, but summing every code point costs less than
    // the branch that would skip it.
    bool pictographs_joined = false;
    std::size_t size = first.size;
    std::size_t sum = first_width;
    CodePoint next = second;
    std::uint16_t step = Scan[Starts[first.props]][Inputs[next.props]];
    if ((step & Joins) == 0) { // it joins only after more than first alone
        return {size, sum, next};
    }
    do {
        pictographs_joined |= (step & Joins_Pictographs) != 0;
        sum += widths.of(next.value);
        size += next.size;
        next = read_code_point(p + size, len - size);
        if (next.size == 0) {
            break;
        }
        step = Scan[step >> State_Shift][Inputs[next.props]];
    } while ((step & Joins) != 0);

    std::size_t columns = sum;
    if (widths.single_column()) {
        columns = 1;
    } else if (first_shape == Shape::Emoji || pictographs_joined || is_hangul_start(first.props)) {
        columns = 2;
    } else if (first_shape == Shape::Text_Emoji) {
        columns = 1;
    }
    return {size, columns, next};
}

// Steps over the cluster that begins with code point `at`, at p (len bytes,
// at included): stores its size and columns, and leaves in `at` the code
// point that follows it. Most clusters are one code point, ruled out from
// joining the next by one table load. Results go out through references,
// not a returned struct, so that once inlined the single-code-point path
// keeps them in registers.
[[gnu::always_inline]] inline void scan_cluster(const unsigned char* p, std::size_t len,
                                                CodePoint& at, std::size_t& size,
                                                std::size_t& columns,
                                                Widths& widths) {
    const std::size_t width = widths.of(at.value);
    const CodePoint next = read_code_point(p + at.size, len - at.size);
    if (next.size != 0 && ((May_Join[break_class(at.props)] >> break_class(next.props)) & 1) != 0)
        [[unlikely]] {
        const Cluster cluster = scan_joined(p, len, at, width, next, widths);
        size = cluster.size;
        columns = cluster.columns;
        at = cluster.next;
        return;
    }
    size = at.size;
    columns = width;
    at = next;
}

// Classes with a boundary between any two of their code points, one after
// the other: a code point of these classes followed by another is a cluster
// of its own, whatever its emoji properties. Most CJK text is made of them:
// ideographs, kana and punctuation are Other, Hangul syllables LV and LVT.
constexpr std::uint32_t Standalone = 1u << Break_Other | 1u << Break_LV | 1u << Break_LVT |
                                     1u << Break_Consonant;

constexpr bool is_standalone(std::uint8_t props) {
    return ((Standalone >> break_class(props)) & 1) != 0;
}

constexpr bool standalone_pairs_break() {
    for (unsigned before = 0; before < Break_Class_Count; ++before) {
        for (unsigned after = 0; after < Break_Class_Count; ++after) {
            if (is_standalone(static_cast<std::uint8_t>(before)) &&
                is_standalone(static_cast<std::uint8_t>(after)) && Pairs[before][after] != Boundary) {
                return false;
            }
        }
    }
    return true;
}
static_assert(standalone_pairs_break());

// The code point of the well-formed three-byte sequence at p (three bytes
// readable), or 0 (which no such sequence encodes) when p begins none. The
// checks are combined, not taken in turn, since text that reaches here is
// nearly always well-formed.
inline std::uint32_t decode_three_bytes(const unsigned char* p) {
    const std::uint32_t code_point =
        (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    const bool well_formed = (p[0] & 0xF0u) == 0xE0u && (p[1] & 0xC0u) == 0x80u &&
                             (p[2] & 0xC0u) == 0x80u && code_point >= 0x800 &&
                             (code_point & 0xF800u) != 0xD800u; // no overlong form, no surrogate
    return well_formed ? code_point : 0;
}

// Counts, with no pair table and no general decoder, the clusters of a run
// of standalone three-byte code points that `at` (one of them, at p) begins:
// every one but the last, which is left in `at` for the general scan, since
// what follows it may join it.
[[gnu::always_inline]] inline void skip_standalone_run(const unsigned char*& p, std::size_t& len,
                                                       CodePoint& at, std::size_t& columns,
                                                       Widths& widths) {
    std::uint32_t value = at.value;
    std::uint8_t props = at.props;
    while (len >= 6) {
        const std::uint32_t next = decode_three_bytes(p + 3);
        if (next == 0) {
            break;
        }
        const std::uint8_t next_props = property(next);
        if (!is_standalone(next_props)) {
            break;
        }
        columns += widths.of(value);
        p += 3;
        len -= 3;
        value = next;
        props = next_props;
    }
    at = {3, value, props};
}

constexpr std::uint64_t repeat(unsigned char byte) {
    return 0x0101010101010101u * byte;
}

// The index of the first byte in memory of a word read with memcpy whose
// high bit is set in flagged (not 0).
std::size_t first_flagged_byte(std::uint64_t flagged) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(std::countr_zero(flagged)) / 8;
    } else {
        return static_cast<std::size_t>(std::countl_zero(flagged)) / 8;
    }
}

// The number of leading bytes of p, at most len, that are ASCII other than
// CR, eight at a time. A word's stop bytes (high bytes and CRs) are flagged
// by their high bit, each byte on its own (no carry crosses a byte), so the
// first flagged byte ends the run on either byte order. The last word of a
// run reaching the end of the text overlaps bytes already tested rather
// than falling back to single bytes.
std::size_t ascii_run_words(const unsigned char* p, std::size_t len) {
    if (len < 8) {
        std::size_t n = 0;
        while (n < len && p[n] < 0x80 && p[n] != '\r') {
            ++n;
        }
        return n;
    }
    std::size_t n = 0;
    for (;;) {
        if (len - n < 8) {
            n = len - 8;
        }
        std::uint64_t word;
        std::memcpy(&word, p + n, sizeof word);
        const std::uint64_t cr = word ^ repeat('\r'); // 0 where a CR is
        // High bit set where cr is not 0: its low seven bits plus 0x7F carry
        // into bit 7 unless they are 0, and no sum leaves its byte.
        const std::uint64_t not_cr = ((cr & repeat(0x7F)) + repeat(0x7F)) | cr;
        const std::uint64_t stops = (word | ~not_cr) & repeat(0x80);
        if (stops != 0) {
            return n + first_flagged_byte(stops);
        }
        n += 8;
        if (n == len) {
            return len;
        }
    }
}

// The same, sixteen bytes at a time where SSE2 is, for runs of sixteen
// bytes or more; shorter text is left to the words.
std::size_t ascii_run(const unsigned char* p, std::size_t len) {
#ifdef KARVO_TEXT_SSE2
    if (len >= 16) {
        const __m128i cr = _mm_set1_epi8('\r');
        std::size_t n = 0;
        for (;;) {
            if (len - n < 16) {
                n = len - 16;
            }
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
            // The high bit of each byte, set for a byte above 0x7F or a CR.
            const auto stops = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, cr))));
            if (stops != 0) {
                return n + static_cast<std::size_t>(std::countr_zero(stops));
            }
            n += 16;
            if (n == len) {
                return len;
            }
        }
    }
#endif
    return ascii_run_words(p, len);
}

// Whether a code point (its property byte) may join the ASCII character
// before it in one cluster: a combining mark, U+FE0F or U+20E3 does.
[[gnu::always_inline]] inline bool may_join_ascii(unsigned char ascii, std::uint8_t props) {
    return ((May_Join[break_class(ascii_property(ascii))] >> break_class(props)) & 1) != 0;
}

// The ASCII clusters at p: the run, less its last byte when a non-ASCII
// byte follows it, since that one may begin a cluster with what follows.
[[gnu::always_inline]] inline std::size_t ascii_clusters(const unsigned char* p, std::size_t len) {
    const std::size_t run = ascii_run(p, len);
    if (run < len && run > 0 && p[run] >= 0x80) {
        return run - 1;
    }
    return run;
}

const unsigned char* bytes(const char* s) {
    return reinterpret_cast<const unsigned char*>(s);
}

} // namespace
} // namespace karvo_text

using namespace karvo_text;

extern "C" std::size_t KVwchar_utf8_cluster(const char* s, std::size_t len, int* columns) {
    if (len == 0) {
        if (columns != nullptr) {
            *columns = 0;
        }
        return 0;
    }
    const unsigned char* p = bytes(s);
    Widths widths;
    CodePoint at = read_code_point(p, len);
    std::size_t size = 0, cluster_columns = 0;
    scan_cluster(p, len, at, size, cluster_columns, widths);
    if (columns != nullptr) {
        *columns = cluster_columns > INT_MAX ? INT_MAX : static_cast<int>(cluster_columns);
    }
    return size;
}

extern "C" std::size_t KVwchar_utf8_cluster_width(const char* s, std::size_t len) {
    const unsigned char* p = bytes(s);
    std::size_t columns = 0;
    Widths widths;
    while (len > 0) {
        std::size_t ascii = ascii_run(p, len);
        if (ascii == len) {
            columns += ascii;
            break;
        }
        // The code point after the run (a CR or not ASCII) begins the scan,
        // unless it may join the run's last character, which then does.
        CodePoint at = read_code_point(p + ascii, len - ascii);
        // (Tested without a branch on the run being empty, which on chat
        // lines is as often so as not: an empty run tests the byte at p,
        // masked to an ASCII value, and discards the answer.)
        const bool after_ascii = ascii > 0;
        const auto before = static_cast<unsigned char>(p[ascii - after_ascii] & 0x7F);
        if (after_ascii & may_join_ascii(before, at.props)) {
            --ascii;
            at = {1, p[ascii], ascii_property(p[ascii])};
        }
        columns += ascii;
        p += ascii;
        len -= ascii;
        // Stay on the scan while the text is not ASCII, so that the code
        // point ending one cluster is not decoded again.
        do {
            if (at.size == 3 && is_standalone(at.props)) {
                skip_standalone_run(p, len, at, columns, widths);
            }
            std::size_t size, cluster_columns;
            scan_cluster(p, len, at, size, cluster_columns, widths);
            columns += cluster_columns;
            p += size;
            len -= size;
        } while (at.size != 0 && at.value >= 0x80);
    }
    return columns;
}

extern "C" std::size_t KVwchar_utf8_fit(const char* s, std::size_t len, std::size_t max_columns,
                                        std::size_t* columns) {
    const unsigned char* p = bytes(s);
    std::size_t used = 0;
    std::size_t total = 0;
    Widths widths;
    const auto fitted = [&] {
        if (columns != nullptr) {
            *columns = total;
        }
        return used;
    };
    while (used < len) {
        // ASCII clusters are one column each: take as many as there is room for.
        const std::size_t ascii = ascii_clusters(p + used, len - used);
        const std::size_t room = max_columns - total;
        if (ascii > room) {
            used += room;
            total += room;
            return fitted();
        }
        used += ascii;
        total += ascii;
        if (used == len) {
            break;
        }
        CodePoint at = read_code_point(p + used, len - used);
        do {
            std::size_t size, cluster_columns;
            scan_cluster(p + used, len - used, at, size, cluster_columns, widths);
            if (cluster_columns > max_columns - total) {
                return fitted();
            }
            used += size;
            total += cluster_columns;
        } while (at.size != 0 && at.value >= 0x80);
    }
    return fitted();
}
