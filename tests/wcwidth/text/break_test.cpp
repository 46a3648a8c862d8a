// The conformance test of Unicode 16.0.0 for extended grapheme clusters,
// every line of it, run through KVwchar_utf8_cluster one cluster at a time.
#include "utf8_text.hpp"
#include "wcwidthtab_text.h"

#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct BreakTest {
    int line_number;
    std::string line;
    std::string text;
    std::vector<std::size_t> boundaries; // byte offsets, the end of the text included
};

// A test line: "÷ 0020 × 0308 ÷ 0020 ÷", code points in hex between marks.
bool parse(const std::string& line, BreakTest& test) {
    std::istringstream words(line);
    std::string word;
    bool first = true;
    while (words >> word) {
        if (word == "\xC3\xB7") { // ÷
            if (!first) {
                test.boundaries.push_back(test.text.size());
            }
        } else if (word != "\xC3\x97") { // ×
            std::size_t used = 0;
            const unsigned long code_point = std::stoul(word, &used, 16);
            if (used != word.size()) {
                return false;
            }
            test_support::append_utf8(test.text, static_cast<std::uint32_t>(code_point));
        }
        first = false;
    }
    return !test.text.empty() && !test.boundaries.empty() &&
           test.boundaries.back() == test.text.size();
}

std::vector<BreakTest> read_tests() {
    std::ifstream in(WCWIDTH_TEXT_BREAK_TEST);
    std::vector<BreakTest> tests;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        BreakTest test{number, line, {}, {}};
        if (!parse(line, test)) {
            ADD_FAILURE() << "line " << number << " does not parse: " << line;
            continue;
        }
        tests.push_back(std::move(test));
    }
    return tests;
}

TEST(GraphemeBreakTest, EveryLineSplitsAtItsBoundaries) {
    const std::vector<BreakTest> tests = read_tests();
    ASSERT_EQ(tests.size(), 1093u) << "the 16.0.0 file has 1,093 tests";
    int failed = 0;
    for (const BreakTest& test : tests) {
        std::vector<std::size_t> found;
        for (std::size_t at = 0; at < test.text.size();) {
            const std::size_t size =
                KVwchar_utf8_cluster(test.text.data() + at, test.text.size() - at, nullptr);
            if (size == 0) {
                break;
            }
            at += size;
            found.push_back(at);
        }
        if (found != test.boundaries) {
            ++failed;
            ADD_FAILURE() << "line " << test.line_number << ": " << test.line;
        }
    }
    EXPECT_EQ(failed, 0);
}

} // namespace
