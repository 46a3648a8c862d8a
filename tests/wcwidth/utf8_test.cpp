// The header-only UTF-8 helper: decoding of well-formed and ill-formed
// sequences (each maximal ill-formed subpart one U+FFFD) and the width sum.
#include "utf8_portable.hpp"
#include "wcwidthtab_utf8.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using Decoded = std::vector<std::pair<std::uint32_t, std::size_t>>; // code point, bytes

Decoded decode_all(const std::string& text) {
    Decoded out;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code_point = 0;
        const std::size_t used =
            KVwchar_utf8_decode(text.data() + at, text.size() - at, &code_point);
        if (used == 0 || used > text.size() - at) {
            ADD_FAILURE() << "decode took " << used << " bytes at " << at;
            break;
        }
        out.emplace_back(code_point, used);
        at += used;
    }
    return out;
}

struct DecodeCase {
    const char* what;
    std::string bytes;
    Decoded expected;
};

constexpr std::uint32_t R = 0xFFFD;

const DecodeCase Decode_Cases[] = {
    {"ASCII and NUL", std::string("A\0", 2), {{0x41, 1}, {0, 1}}},
    {"two bytes", "\xC3\xA9", {{0xE9, 2}}},
    {"three bytes", "\xE4\xB8\x80", {{0x4E00, 3}}},
    {"four bytes", "\xF0\x9F\x98\x80", {{0x1F600, 4}}},
    {"the extremes of each length",
     "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
     {{0x7F, 1}, {0x80, 2}, {0x7FF, 2}, {0x800, 3}, {0xFFFF, 3}, {0x10000, 4}, {0x10FFFF, 4}}},
    {"overlong two-byte form", "\xC0\xAF", {{R, 1}, {R, 1}}},
    {"overlong three-byte form", "\xE0\x80\xAF", {{R, 1}, {R, 1}, {R, 1}}},
    {"overlong four-byte form", "\xF0\x8F\xBF\xBF", {{R, 1}, {R, 1}, {R, 1}, {R, 1}}},
    {"encoded surrogates",
     "\xED\xA0\x80\xED\xBF\xBF",
     {{R, 1}, {R, 1}, {R, 1}, {R, 1}, {R, 1}, {R, 1}}},
    {"last code point before the surrogates", "\xED\x9F\xBF", {{0xD7FF, 3}}},
    {"above U+10FFFF",
     "\xF4\x90\x80\x80\xF5\x80",
     {{R, 1}, {R, 1}, {R, 1}, {R, 1}, {R, 1}, {R, 1}}},
    {"truncated at the end", "\xE4\xB8", {{R, 2}}},
    {"truncated four-byte sequence", "\xF0\x9F\x98", {{R, 3}}},
    {"truncated before ASCII",
     "\xF0\x9F"
     "A",
     {{R, 2}, {0x41, 1}}},
    {"lone continuation bytes and FF", "\x80\xBF\xFF", {{R, 1}, {R, 1}, {R, 1}}},
    {"the standard's mixed example",
     "a\xF1\x80\x80\xE1\x80\xC2"
     "b\x80"
     "c\x80\xBF"
     "d",
     {{0x61, 1}, {R, 3}, {R, 2}, {R, 1}, {0x62, 1}, {R, 1}, {0x63, 1}, {R, 1}, {R, 1}, {0x64, 1}}},
};

TEST(Utf8, EachMaximalIllFormedSubpartDecodesAsOneReplacementCharacter) {
    for (const DecodeCase& c : Decode_Cases) {
        EXPECT_EQ(decode_all(c.bytes), c.expected) << c.what;
    }
}

TEST(Utf8, EmptyInputTakesNoBytes) {
    std::uint32_t code_point = 7;
    EXPECT_EQ(KVwchar_utf8_decode("", 0, &code_point), 0u);
    EXPECT_EQ(KVwchar_utf8_width("", 0), 0u);
}

TEST(Utf8, WidthIsTheSumOverTheDecodedCodePointsUnderTheCurrentFlags) {
    // U+0061 a, U+4E00 (wide), U+0301 (zero-width), a truncated sequence.
    const std::string text = "a\xE4\xB8\x80\xCC\x81\xE4\xB8";
    const std::int32_t saved = KVwchar_set_wcwidth_flags(0);
    EXPECT_EQ(KVwchar_utf8_width(text.data(), text.size()), 1u + 2u + 0u + 1u);
    // U+FFFD is ambiguous: the truncated pair is one of them, not two.
    KVwchar_set_wcwidth_flags(KVWC_FLAG_AMBIGUOUS_WIDE);
    EXPECT_EQ(KVwchar_utf8_width(text.data(), text.size()), 1u + 2u + 0u + 2u);
    KVwchar_set_wcwidth_flags(KVWC_FLAG_SINGLE_COLUMN);
    EXPECT_EQ(KVwchar_utf8_width(text.data(), text.size()), 4u);
    // The length bounds the text, not a NUL.
    EXPECT_EQ(KVwchar_utf8_width(text.data(), 1), 1u);
    KVwchar_set_wcwidth_flags(saved);
}

// ASCII runs of every length from 0 to 17 (so that each lands on every
// offset of an 8-byte word) between multi-byte sequences, a combining mark,
// C1 controls, ill-formed bytes and a sequence cut off by the ASCII after it.
std::string mixed_text() {
    const char* const others[] = {
        "\xE4\xB8\x80",     "\xCC\x81", "\xF0\x9F\x98\x80", "\xC2\x85", "\xC2\xAD",
        "\xFF",             "\x80\xBF", "\xE4\xB8",         "\xED\xA0\x80", "\xF4\x90\x80\x80",
    };
    std::string text;
    for (std::size_t run = 0; run < 18; ++run) {
        for (std::size_t i = 0; i < run; ++i) {
            text += static_cast<char>(i == 0 ? '\0' : '!' + (run * 7 + i) % 94);
        }
        text += others[run % std::size(others)];
    }
    return text;
}

// The width as the plain decode loop gives it: no run of ASCII taken whole.
std::size_t width_by_code_point(const char* s, std::size_t len) {
    std::size_t columns = 0;
    for (std::size_t at = 0; at < len;) {
        std::uint32_t code_point = 0;
        at += KVwchar_utf8_decode(s + at, len - at, &code_point);
        columns += static_cast<std::size_t>(KVwchar_wcwidth(code_point));
    }
    return columns;
}

// Each build of the fast paths: the header as this compiler builds it, and
// its portable path.
struct Build {
    const char* name;
    std::size_t (*ascii_length)(const char*, std::size_t);
    std::size_t (*width)(const char*, std::size_t);
};

const Build Builds[] = {
    {"as built", [](const char* s, std::size_t len) { return KVwchar_utf8_ascii_length(s, len); },
     [](const char* s, std::size_t len) { return KVwchar_utf8_width(s, len); }},
    {"portable", portable_utf8_ascii_length, portable_utf8_width},
};

// Every slice of the mixed text, each in a buffer of exactly its length so
// that the sanitizer builds catch a read past the end; the first failure
// ends the sweep.
template <typename Check> void for_each_slice(const std::string& text, Check check) {
    for (std::size_t from = 0; from < text.size(); ++from) {
        for (std::size_t len = 0; from + len <= text.size(); ++len) {
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            const std::vector<char> slice(text.begin() + static_cast<std::ptrdiff_t>(from),
                                          text.begin() + static_cast<std::ptrdiff_t>(from + len));
            check(slice.data(), len, from);
        }
    }
}

TEST(Utf8, EverySliceOfMixedTextMeasuresAsTheCodePointLoopMeasuresIt) {
    const std::string text = mixed_text();
    const std::int32_t saved = KVwchar_set_wcwidth_flags(0);
    for (std::int32_t flags = 0; flags < 4; ++flags) {
        KVwchar_set_wcwidth_flags(flags);
        for (const Build& build : Builds) {
            for_each_slice(text, [&](const char* s, std::size_t len, std::size_t from) {
                ASSERT_EQ(build.width(s, len), width_by_code_point(s, len))
                    << build.name << ": bytes " << from << " to " << from + len << ", flags "
                    << flags;
            });
        }
    }
    KVwchar_set_wcwidth_flags(saved);
}

TEST(Utf8, AsciiLengthStopsAtTheFirstByteWithTheHighBitSet) {
    for (const Build& build : Builds) {
        for_each_slice(mixed_text(), [&](const char* s, std::size_t len, std::size_t from) {
            std::size_t expected = 0;
            while (expected < len && static_cast<unsigned char>(s[expected]) < 0x80) {
                ++expected;
            }
            ASSERT_EQ(build.ascii_length(s, len), expected)
                << build.name << ": bytes " << from << " to " << from + len;
        });
    }
}

} // namespace
