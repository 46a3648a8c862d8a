// Classification of lines, parsing of declaration lines, and the window scan
// that passes over plain lines.
#include "chkprotogen/declaration.hpp"
#include "chkprotogen/line_reader.hpp"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace chkprotogen {
namespace {

using namespace std::string_literals;

// A test's name: its index, then the words of its line, with the bytes that
// matter to the parser spelled out (CR, FF, TAB, NUL, LF).
std::string name_from_line(std::size_t index, const std::string& line) {
    std::string name = std::to_string(index);
    bool gap = true;
    for (const char c : line) {
        const char* spelled = c == '\r' ? "CR" : c == '\f' ? "FF" : c == '\t' ? "TAB"
                            : c == '\0' ? "NUL" : c == '\n' ? "LF" : nullptr;
        const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '_';
        if (spelled != nullptr || (word && gap)) {
            name += '_';
        }
        if (spelled != nullptr) {
            name += spelled;
        } else if (word) {
            name += c;
        }
        gap = spelled != nullptr || !word;
    }
    return name;
}

struct ClassifyCase {
    std::string line;
    LineKind kind;
    std::size_t key_offset = 0;
};

void PrintTo(const ClassifyCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.line);
}

class ClassifyLine : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyLine, JudgesTheFirstNonBlankText) {
    const ClassifyCase& c = GetParam();
    const Classification result = classify_line(c.line);
    EXPECT_EQ(result.kind, c.kind);
    if (c.kind == LineKind::declaration) {
        EXPECT_EQ(result.key_offset, c.key_offset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClassifyLine,
    ::testing::Values(
        ClassifyCase{"MAKE_INTRINSIC_I(\"abs\", f, INT_TYPE),\n", LineKind::declaration, 15},
        ClassifyCase{" \t MAKE_INTRINSIC_SI(x\n", LineKind::declaration, 18},
        ClassifyCase{"\n\n", LineKind::other, 0},
        ClassifyCase{"MAKE_INTRINSIC_0", LineKind::declaration, 15},
        ClassifyCase{"   \n", LineKind::other, 0},
        // Only the first non-blank text counts.
        ClassifyCase{"/* MAKE_INTRINSIC_I(x, f, INT_TYPE) */\n", LineKind::other, 0},
        ClassifyCase{"x = MAKE_INTRINSIC_I(a, f, INT_TYPE)\n", LineKind::other, 0},
        ClassifyCase{"make_intrinsic_I(a, f, INT_TYPE)\n", LineKind::other, 0},
        ClassifyCase{"MAKE_INTRINSI\n", LineKind::other, 0},
        // Carriage return and form feed are not blanks.
        ClassifyCase{"\rMAKE_INTRINSIC_I(a, f, INT_TYPE)\n", LineKind::other, 0},
        ClassifyCase{"\fMAKE_INTRINSIC_I(a, f, INT_TYPE)\n", LineKind::other, 0},
        // The fifteenth character must be an underscore.
        ClassifyCase{"MAKE_INTRINSIC(\"getpid\", f, INT_TYPE, 0),\n", LineKind::old_fashioned, 0},
        ClassifyCase{"MAKE_INTRINSICS_I(a, f, INT_TYPE)\n", LineKind::old_fashioned, 0},
        ClassifyCase{"MAKE_INTRINSIC _I(a, f, INT_TYPE)\n", LineKind::old_fashioned, 0},
        ClassifyCase{"MAKE_INTRINSIC\n", LineKind::old_fashioned, 0},
        ClassifyCase{"MAKE_INTRINSIC", LineKind::old_fashioned, 0},
        ClassifyCase{"MAKE_INTRINSIC\r\n", LineKind::old_fashioned, 0},
        // The key must start with 0, I or S.
        ClassifyCase{"MAKE_INTRINSIC_D(a, f, DOUBLE_TYPE)\n", LineKind::unhandled_form, 0},
        ClassifyCase{"MAKE_INTRINSIC_i(a, f, INT_TYPE)\n", LineKind::unhandled_form, 0},
        ClassifyCase{"MAKE_INTRINSIC_ I(a, f, INT_TYPE)\n", LineKind::unhandled_form, 0},
        ClassifyCase{"MAKE_INTRINSIC_\n", LineKind::unhandled_form, 0},
        ClassifyCase{"MAKE_INTRINSIC_", LineKind::unhandled_form, 0},
        // A NUL byte ends the line's text.
        ClassifyCase{"\0MAKE_INTRINSIC_I(a, f, INT_TYPE)\n"s, LineKind::other, 0},
        ClassifyCase{"MAKE_INTRIN\0SIC_I(a, f, INT_TYPE)\n"s, LineKind::other, 0},
        ClassifyCase{"MAKE_INTRINSIC\0_I(a, f, INT_TYPE)\n"s, LineKind::old_fashioned, 0},
        ClassifyCase{"MAKE_INTRINSIC_\0I(a, f, INT_TYPE)\n"s, LineKind::unhandled_form, 0}),
    [](const auto& test) { return name_from_line(test.index, test.param.line); });

struct ParseCase {
    std::string text; // from the first key letter on
    ParseOutcome outcome;
    char name_letter = 0;
    std::string key;
    std::string function;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.text);
}

class ParseDeclaration : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDeclaration, CutsKeyFunctionAndReturnType) {
    const ParseCase& c = GetParam();
    std::vector<char> buffer(c.text.begin(), c.text.end());
    buffer.push_back('\0');
    const ParsedDeclaration parsed = parse_declaration(buffer.data());
    ASSERT_EQ(parsed.outcome, c.outcome);
    if (c.outcome != ParseOutcome::assignment)
        return;
    EXPECT_EQ(parsed.name_letter, c.name_letter);
    EXPECT_EQ(std::string(parsed.key), c.key);
    EXPECT_EQ(std::string(parsed.function), c.function);
}

constexpr auto assignment = ParseOutcome::assignment;
constexpr auto dropped = ParseOutcome::dropped;
constexpr auto unsupported = ParseOutcome::unsupported_return;

INSTANTIATE_TEST_SUITE_P(
    Declarations, ParseDeclaration,
    ::testing::Values(ParseCase{"SI(\"strpart\", strpart_fn, KARVO_STRING_TYPE),\n", assignment,
                                'S', "SI", "strpart_fn"},
                      ParseCase{"0(\"a\", f, KARVO_VOID_TYPE)\n", assignment, 'V', "0", "f"},
                      ParseCase{"I(\"a\", f, KARVO_INT_TYPE)\n", assignment, 'I', "I", "f"},
                      ParseCase{"I(\"a\", f, INT_TYPE)\n", assignment, 'I', "I", "f"},
                      ParseCase{"SS(\"a\", f, KARVO_DOUBLE_TYPE)\n", assignment, 'D', "SS", "f"},
                      ParseCase{"S(\"a\",f,KARVO_STRING_TYPE", assignment, 'S', "S", "f"},
                      // A blank or tab may stand between key and parenthesis.
                      ParseCase{"II (\"a\", f, INT_TYPE)\n", assignment, 'I', "II", "f"},
                      ParseCase{"II\t(\"a\", f, INT_TYPE)\n", assignment, 'I', "II", "f"},
                      // Only the first key letter was checked; the rest passes unchanged.
                      ParseCase{"IX(\"a\", f, INT_TYPE)\n", assignment, 'I', "IX", "f"},
                      ParseCase{"SIII(\"a\", f, INT_TYPE)\n", assignment, 'I', "SIII", "f"},
                      ParseCase{"I0(\"a\", f, INT_TYPE)\n", assignment, 'I', "I0", "f"},
                      // Leading blanks are not part of the name; blanks before its comma are.
                      ParseCase{"I(\"a\", \t f \t, INT_TYPE)\n", assignment, 'I', "I", "f \t"},
                      // An empty second field gives an empty name.
                      ParseCase{"I(\"a\", , INT_TYPE)\n", assignment, 'I', "I", ""},
                      ParseCase{"I(\"a\",,INT_TYPE)\n", assignment, 'I', "I", ""},
                      // Text after the type name is ignored.
                      ParseCase{"I(\"a\", f, KARVO_INT_TYPE), /* abs */\n", assignment, 'I', "I",
                                "f"},
                      ParseCase{"I(\"a\", f, INT_TYPE)\r\n", assignment, 'I', "I", "f"},
                      ParseCase{"I(\"a\", f, \t INT_TYPE)\n", assignment, 'I', "I", "f"},
                      // The return-type field starts after the second comma wherever it is.
                      ParseCase{"I(\"a\", f, g, INT_TYPE)\n", unsupported, 0, "", ""},
                      // A comma inside the quoted first field shifts the fields.
                      ParseCase{"I(\"a,b\", f, INT_TYPE)\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a,b\", INT_TYPE, f)\n", assignment, 'I', "I", "b\""},
                      // Type names are compared over their whole length, after one prefix.
                      ParseCase{"I(\"a\", f, KARVO_KARVO_INT_TYPE)\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a\", f, KARVO_FLOAT_TYPE)\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a\", f, INT_TYP)\n", unsupported, 0, "", ""},
                      ParseCase{"0(\"a\", f, VOID_TYP\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a\", f, int_type)\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a\", f, KARVO_ INT_TYPE)\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a\", f, \"INT_TYPE\")\n", unsupported, 0, "", ""},
                      // The type on the next line is no type at all.
                      ParseCase{"I(\"a\", f,\n", unsupported, 0, "", ""},
                      ParseCase{"I(\"a\", f,", unsupported, 0, "", ""},
                      // Silent drops.
                      ParseCase{"I\n", dropped, 0, "", ""}, ParseCase{"I", dropped, 0, "", ""},
                      ParseCase{"I\r\n", dropped, 0, "", ""},
                      ParseCase{"I(\"a\" f INT_TYPE)\n", dropped, 0, "", ""},
                      ParseCase{"I(\"a\",   \n", dropped, 0, "", ""},
                      ParseCase{"I(\"a\",\t", dropped, 0, "", ""},
                      ParseCase{"I(\"a\", f INT_TYPE)\n", dropped, 0, "", ""},
                      // A comma before the parenthesis is part of the key.
                      ParseCase{"I,x(\"a\", f, INT_TYPE)\n", assignment, 'I', "I,x", "f"}),
    [](const auto& test) { return name_from_line(test.index, test.param.text); });

#if defined(__SSE2__)
// The SSE2 window scan against the portable one, which other targets use:
// windows of newlines and MAKE prefixes at every offset, the 3 bytes after the
// window included (a MAKE can start in the window's last bytes).
TEST(ScanWindow, Sse2AgreesWithPortable) {
    constexpr std::size_t tail = 3;
    std::mt19937 random(7);
    const std::string alphabet = "MAKE\nMAKx \0"s;
    std::array<char, LineReader::window_size + tail> window{};
    for (int round = 0; round < 20000; ++round) {
        for (char& c : window)
            c = alphabet[random() % alphabet.size()];
        if (round % 3 == 0) {
            const std::size_t at = random() % (window.size() - 3);
            std::memcpy(window.data() + at, "MAKE", 4);
        }
        const WindowBits fast = scan_window_sse2(window.data());
        const WindowBits portable = scan_window_portable(window.data());
        ASSERT_EQ(fast.newlines, portable.newlines) << std::string(window.data(), window.size());
        ASSERT_EQ(fast.make_starts, portable.make_starts)
            << std::string(window.data(), window.size());
    }
}
#endif

} // namespace
} // namespace chkprotogen
