// A second derivation of every code point's class, written straight from
// the rule and the committed Unicode files of the table's version, compared
// with the library for all 1,114,112 code points and all four flag
// combinations. The same test runs once per committed table, each time
// linked with a library built from that table; the figures it checks for
// each version are written below, so a change in the generator cannot move
// both sides at once.
#include "wcwidthtab.h"
#include "width_classes.hpp"

#include <array>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using wcwidth_test::Code_Point_Count;

// What the derivation gives for each version's data.
struct VersionFigures {
    std::string_view version;
    std::array<std::size_t, 5> class_counts;
    std::size_t distinct_pages;
    std::size_t wide_unassigned; // of the default-wide ranges
    std::size_t wide_fullwidth;  // East_Asian_Width F
    std::size_t ambiguous_private_use;
};

constexpr VersionFigures Figures[] = {
    {"10.0.0", {2086, 791891, 181732, 138371, 32}, 64, 70280, 104, 137468},
    {"16.0.0", {2362, 790635, 182712, 138371, 32}, 74, 60482, 104, 137468},
};

// Code points whose class differs between the versions, each for its own
// reason: new emoji and ideographs, marks that became spacing or the other
// way round, symbols whose East_Asian_Width became W, and the six code
// points whose class only the 10.0.0 table fixes.
struct KnownClass {
    std::uint32_t code_point;
    unsigned class_10;
    unsigned class_16;
};

constexpr KnownClass Known_Classes[] = {
    {0x1F970, 1, 2}, {0x1F6DC, 1, 2}, {0x1FA70, 1, 2}, {0x312F, 1, 2},  {0x1F6F9, 1, 2},
    {0x16FE4, 1, 0}, {0x1734, 0, 1},  {0x1171E, 0, 1}, {0x2630, 1, 2},  {0x4DC0, 1, 2},
    {0xA9BD, 1, 0},  {0x111C9, 1, 0}, {0x11A07, 1, 0}, {0x11A08, 1, 0}, {0x1F93B, 2, 1},
    {0x1F946, 2, 1}, {0x9FEB, 2, 2},  {0x302E, 2, 2},  {0x00AD, 3, 3},  {0x1160, 0, 0},
};

std::string table_version() {
    return std::to_string(KVWC_UNICODE_VERSION_MAJOR) + "." +
           std::to_string(KVWC_UNICODE_VERSION_MINOR) + "." +
           std::to_string(KVWC_UNICODE_VERSION_UPDATE);
}

const VersionFigures* figures_of(const std::string& version) {
    for (const VersionFigures& f : Figures) {
        if (f.version == version) {
            return &f;
        }
    }
    return nullptr;
}

// A property value of one or two letters ("Mn", "W", "Na"), packed.
using Value = std::uint16_t;

constexpr Value value(std::string_view text) {
    return static_cast<Value>(text.size() == 1 ? text[0] << 8 : text[0] << 8 | text[1]);
}

// East_Asian_Width is 0 until the file lists a value.
struct UcdProperties {
    std::vector<Value> category = std::vector<Value>(Code_Point_Count, value("Cn"));
    std::vector<Value> east_asian = std::vector<Value>(Code_Point_Count, 0);
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
            if (ucd.east_asian[c] == 0 && ucd.category[c] == value("Cn")) {
                ucd.east_asian[c] = value("W");
            }
        }
    }
    for (Value& ea : ucd.east_asian) {
        ea = ea == 0 ? value("N") : ea;
    }
}

// The six fixed code points belong to the 10.0.0 table alone; a later
// table follows its own data for them.
unsigned derived_class(std::uint32_t cp, const UcdProperties& ucd, bool fixed_code_points) {
    if (cp >= 0x80 && cp <= 0x9F) {
        return 4;
    }
    switch (fixed_code_points ? cp : 0) {
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

std::size_t distinct_pages(const std::vector<unsigned>& classes) {
    std::set<std::string> pages;
    for (std::uint32_t base = 0; base < Code_Point_Count; base += 512) {
        std::string page(KVWC_PAGE_SIZE, '\0');
        for (std::uint32_t i = 0; i < 512; ++i) {
            page[i / 2] = static_cast<char>(page[i / 2] | classes[base + i] << (4 * (i % 2)));
        }
        pages.insert(page);
    }
    return pages.size();
}

TEST(UcdDerivation, HeaderNamesTheVersionOfTheTable) {
    EXPECT_EQ(table_version(), WCWIDTH_UNICODE_VERSION);
}

TEST(UcdDerivation, EveryCodePointMatchesUnderEveryFlagsValue) {
    const VersionFigures* figures = figures_of(WCWIDTH_UNICODE_VERSION);
    ASSERT_NE(figures, nullptr) << "no figures written here for Unicode " WCWIDTH_UNICODE_VERSION;
    UcdProperties ucd;
    ASSERT_NO_FATAL_FAILURE(read_unicode_data(ucd));
    ASSERT_NO_FATAL_FAILURE(read_east_asian_width(ucd));

    const bool fixed_code_points = figures->version == "10.0.0";
    std::vector<unsigned> expected(Code_Point_Count);
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        expected[cp] = derived_class(cp, ucd, fixed_code_points);
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

    std::array<std::size_t, 5> counts{};
    for (unsigned c : expected) {
        ++counts[c];
    }
    EXPECT_EQ(counts, figures->class_counts);
    EXPECT_EQ(distinct_pages(expected), figures->distinct_pages);
    const std::set<const unsigned char*> library_pages(std::begin(_pKVwc_Width_Table),
                                                       std::end(_pKVwc_Width_Table));
    EXPECT_EQ(library_pages.size(), figures->distinct_pages);

    // The composition of the wide and ambiguous classes.
    std::size_t wide_unassigned = 0, wide_fullwidth = 0, ambiguous_private = 0;
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        if (expected[cp] == 2) {
            wide_unassigned += ucd.category[cp] == value("Cn");
            wide_fullwidth += ucd.east_asian[cp] == value("F");
        } else if (expected[cp] == 3) {
            ambiguous_private += ucd.category[cp] == value("Co");
        }
    }
    EXPECT_EQ(wide_unassigned, figures->wide_unassigned);
    EXPECT_EQ(wide_fullwidth, figures->wide_fullwidth);
    EXPECT_EQ(ambiguous_private, figures->ambiguous_private_use);
}

TEST(UcdDerivation, CodePointsThatChangedBetweenVersionsHaveTheirClass) {
    const std::vector<std::uint8_t> classes = wcwidth_test::classes_from_lookup();
    const bool is_10 = std::string_view(WCWIDTH_UNICODE_VERSION) == "10.0.0";
    for (const KnownClass& k : Known_Classes) {
        EXPECT_EQ(classes[k.code_point], is_10 ? k.class_10 : k.class_16)
            << "U+" << std::hex << std::uppercase << k.code_point;
    }
}

// The committed source names its pages in order of first use along the
// array, and equal names in the source are exactly equal pointers.
TEST(UcdDerivation, PagesAreNamedInOrderOfFirstUse) {
    std::ifstream source(WCWIDTH_TABLE_SOURCE);
    ASSERT_TRUE(source) << WCWIDTH_TABLE_SOURCE;
    std::stringstream text;
    text << source.rdbuf();
    const std::string all = text.str();
    const std::size_t start = all.find("_pKVwc_Width_Table[KVWC_BLOCK_COUNT] = {");
    ASSERT_NE(start, std::string::npos);
    const std::string body = all.substr(start, all.find("};", start) - start);

    std::vector<int> numbers;
    const std::string prefix = "Table_";
    for (std::size_t at = body.find(prefix); at != std::string::npos;
         at = body.find(prefix, at + prefix.size())) {
        numbers.push_back(std::stoi(body.substr(at + prefix.size(), 3)));
    }
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(KVWC_BLOCK_COUNT));
    int next = 1;
    std::map<int, const unsigned char*> page_of;
    for (std::uint32_t k = 0; k < KVWC_BLOCK_COUNT; ++k) {
        ASSERT_LE(numbers[k], next) << "entry " << k;
        next += numbers[k] == next;
        const auto it = page_of.emplace(numbers[k], _pKVwc_Width_Table[k]).first;
        EXPECT_EQ(it->second, _pKVwc_Width_Table[k]) << "entry " << k;
    }
    std::set<const unsigned char*> distinct;
    for (const auto& [number, page] : page_of) {
        distinct.insert(page);
    }
    EXPECT_EQ(distinct.size(), page_of.size());
}

} // namespace
