// A second derivation of every code point's class, written straight from
// the rule and the committed Unicode files, compared with the library for
// all 1,114,112 code points and all four flag combinations.
#include "wcwidthtab.h"
#include "width_classes.hpp"

#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using wcwidth_test::Code_Point_Count;

// A property value of one or two letters ("Mn", "W", "Na"), packed.
using Value = std::uint16_t;

constexpr Value value(std::string_view text) {
    return static_cast<Value>(text.size() == 1 ? text[0] << 8 : text[0] << 8 | text[1]);
}

struct UcdProperties {
    std::vector<Value> category = std::vector<Value>(Code_Point_Count, value("Cn"));
    std::vector<Value> east_asian = std::vector<Value>(Code_Point_Count, value("N"));
};

std::vector<std::string> split_fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line.substr(0, line.find('#')));
    for (std::string field; std::getline(stream, field, ';');) {
        const auto first = field.find_first_not_of(' ');
        const auto last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
    }
    return fields;
}

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void read_unicode_data(UcdProperties& ucd) {
    std::ifstream file(WCWIDTH_UCD_DIR "/UnicodeData.txt");
    ASSERT_TRUE(file);
    std::uint32_t range_first = 0;
    for (std::string line; std::getline(file, line);) {
        const std::vector<std::string> f = split_fields(line);
        ASSERT_GE(f.size(), 3u) << line;
        const std::uint32_t cp = std::stoul(f[0], nullptr, 16);
        if (ends_with(f[1], "First>")) {
            range_first = cp;
            continue;
        }
        const std::uint32_t first = ends_with(f[1], "Last>") ? range_first : cp;
        for (std::uint32_t c = first; c <= cp; ++c) {
            ucd.category[c] = value(f[2]);
        }
    }
}

void read_east_asian_width(UcdProperties& ucd) {
    std::ifstream file(WCWIDTH_UCD_DIR "/EastAsianWidth.txt");
    ASSERT_TRUE(file);
    for (std::string line; std::getline(file, line);) {
        const std::vector<std::string> f = split_fields(line);
        if (f.size() < 2 || f[1].empty() || f[1].size() > 2) {
            continue;
        }
        const std::size_t dots = f[0].find("..");
        const std::uint32_t first = std::stoul(f[0].substr(0, dots), nullptr, 16);
        const std::uint32_t last =
            dots == std::string::npos ? first : std::stoul(f[0].substr(dots + 2), nullptr, 16);
        for (std::uint32_t c = first; c <= last; ++c) {
            ucd.east_asian[c] = value(f[1]);
        }
    }
    const std::uint32_t default_wide[][2] = {{0x3400, 0x4DBF},
                                             {0x4E00, 0x9FFF},
                                             {0xF900, 0xFAFF},
                                             {0x20000, 0x2FFFD},
                                             {0x30000, 0x3FFFD}};
    for (const auto& range : default_wide) {
        for (std::uint32_t c = range[0]; c <= range[1]; ++c) {
            if (ucd.category[c] == value("Cn")) {
                ucd.east_asian[c] = value("W");
            }
        }
    }
}

unsigned derived_class(std::uint32_t cp, const UcdProperties& ucd) {
    if (cp >= 0x80 && cp <= 0x9F) {
        return 4;
    }
    switch (cp) {
    case 0xA9BD:
    case 0x111C9:
    case 0x11A07:
    case 0x11A08:
        return 1;
    case 0x1F93B:
    case 0x1F946:
        return 2;
    default:
        break;
    }
    const Value gc = ucd.category[cp];
    if ((gc == value("Mn") || gc == value("Me") || gc == value("Cf")) && cp != 0xAD) {
        return 0;
    }
    if (cp >= 0x1160 && cp <= 0x11FF) {
        return 0;
    }
    const Value ea = ucd.east_asian[cp];
    if (ea == value("W") || ea == value("F")) {
        return 2;
    }
    return ea == value("A") ? 3 : 1;
}

TEST(UcdDerivation, EveryCodePointMatchesUnderEveryFlagsValue) {
    UcdProperties ucd;
    ASSERT_NO_FATAL_FAILURE(read_unicode_data(ucd));
    ASSERT_NO_FATAL_FAILURE(read_east_asian_width(ucd));

    std::vector<unsigned> expected(Code_Point_Count);
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        expected[cp] = derived_class(cp, ucd);
    }
    const std::int32_t saved = KVwchar_set_wcwidth_flags(0);
    for (std::int32_t flags = 0; flags < 4; ++flags) {
        KVwchar_set_wcwidth_flags(flags);
        int mismatches = 0;
        for (std::uint32_t cp = 0; cp < Code_Point_Count && mismatches < 20; ++cp) {
            const int want = wcwidth_test::expected_columns(expected[cp], flags);
            const int got = KVwchar_wcwidth(cp);
            if (got != want) {
                ++mismatches;
                ADD_FAILURE() << "U+" << std::hex << std::uppercase << cp << " flags " << flags
                              << ": library " << got << ", derived " << want;
            }
        }
    }
    KVwchar_set_wcwidth_flags(saved);

    // The composition of the wide and ambiguous classes.
    std::size_t wide_unassigned = 0, wide_fullwidth = 0, wide_other = 0;
    std::size_t ambiguous_private = 0, ambiguous_other = 0;
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        if (expected[cp] == 2) {
            if (ucd.category[cp] == value("Cn")) {
                ++wide_unassigned;
            } else if (ucd.east_asian[cp] == value("F")) {
                ++wide_fullwidth;
            } else {
                ++wide_other;
            }
        } else if (expected[cp] == 3) {
            ++(ucd.category[cp] == value("Co") ? ambiguous_private : ambiguous_other);
        }
    }
    EXPECT_EQ(wide_unassigned, 70280u);
    EXPECT_EQ(wide_fullwidth, 104u);
    EXPECT_EQ(wide_other, 111348u);
    EXPECT_EQ(ambiguous_private, 137468u);
    EXPECT_EQ(ambiguous_other, 903u);
}

} // namespace
