// The property byte of a code point: everything the cluster rules and the
// cluster width rule ask about a code point, from one table lookup.
//
// The numbers are those gen_text_properties.py writes into
// text_properties.inc; change both together.
#pragma once

#include <cstdint>

namespace karvo_text {

namespace {
#include "text_properties.inc"
} // namespace

// Bits 0-4: Grapheme_Cluster_Break with Indic_Conjunct_Break folded in.
enum BreakClass : std::uint8_t {
    Break_Other = 0,
    Break_CR = 1,
    Break_LF = 2,
    Break_Control = 3,
    Break_Prepend = 4,
    Break_SpacingMark = 5,
    Break_L = 6,
    Break_V = 7,
    Break_T = 8,
    Break_LV = 9,
    Break_LVT = 10,
    Break_Regional_Indicator = 11,
    Break_Extend = 12,        // InCB None
    Break_Extend_InCB = 13,   // InCB Extend
    Break_Extend_Linker = 14, // InCB Linker
    Break_ZWJ = 15,           // InCB Extend
    Break_Consonant = 16,     // Other with InCB Consonant
};
constexpr unsigned Break_Class_Count = 17;
constexpr std::uint8_t Break_Mask = 0x1F;

// Bits 5-7: the emoji properties.
enum EmojiKind : std::uint8_t {
    Emoji_None = 0,
    Pictographic_Only = 1,            // Extended_Pictographic, not Emoji
    Pictographic_Text = 2,            // Emoji, text presentation by default
    Pictographic_Presentation = 3,    // Emoji_Presentation
    Modifier_Base_Text = 4,           // Emoji_Modifier_Base, text by default
    Modifier_Base_Presentation = 5,   // Emoji_Modifier_Base, Emoji_Presentation
    Emoji_Component_Text = 6,         // keycap bases: 0-9, #, *
    Emoji_Component_Presentation = 7, // regional indicators, modifiers
};
constexpr unsigned Emoji_Shift = 5;

constexpr std::uint32_t Block_Shift = 7;
constexpr std::uint32_t Block_Mask = (1u << Block_Shift) - 1;

// Code points come from the UTF-8 decoder, so they are at most U+10FFFF.
inline std::uint8_t property(std::uint32_t code_point) {
    return Property_Blocks[Property_Index[code_point >> Block_Shift]][code_point & Block_Mask];
}

constexpr BreakClass break_class(std::uint8_t props) {
    return static_cast<BreakClass>(props & Break_Mask);
}
constexpr EmojiKind emoji_kind(std::uint8_t props) {
    return static_cast<EmojiKind>(props >> Emoji_Shift);
}

constexpr bool is_pictographic(std::uint8_t props) {
    const EmojiKind kind = emoji_kind(props);
    return kind >= Pictographic_Only && kind <= Modifier_Base_Presentation;
}
constexpr bool is_emoji(std::uint8_t props) {
    return emoji_kind(props) >= Pictographic_Text;
}
constexpr bool is_emoji_presentation(std::uint8_t props) {
    const EmojiKind kind = emoji_kind(props);
    return kind == Pictographic_Presentation || kind == Modifier_Base_Presentation ||
           kind == Emoji_Component_Presentation;
}
constexpr bool is_modifier_base(std::uint8_t props) {
    const EmojiKind kind = emoji_kind(props);
    return kind == Modifier_Base_Text || kind == Modifier_Base_Presentation;
}
// The only Extend code points with the Emoji property are the five skin-tone
// modifiers U+1F3FB..U+1F3FF.
constexpr bool is_modifier(std::uint8_t props) {
    return emoji_kind(props) == Emoji_Component_Presentation &&
           break_class(props) >= Break_Extend && break_class(props) <= Break_Extend_Linker;
}
// Extend or ZWJ, whatever the InCB value (classes 12..15).
constexpr bool is_extend_or_zwj(BreakClass c) {
    return (c & ~3u) == Break_Extend;
}

} // namespace karvo_text
