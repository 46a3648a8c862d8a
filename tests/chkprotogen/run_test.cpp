// Whole runs of the filter in-process: line counting and chunking, the
// messages, read errors, and agreement with a plain fgets() reading of the
// same input.
#include "chkprotogen/generator.hpp"
#include "chkprotogen/line_reader.hpp"
#include "chkprotogen_in_process.hpp"
#include "fgets_reading.hpp"
#include "streams.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>

namespace chkprotogen {
namespace {

using namespace std::string_literals;
using karvo::testing::run_chkprotogen;

// The assignment lines of a fragment: what lies between the function's
// opening brace and the footer.
std::string body_of(const std::string& fragment) {
    const std::string head = "static void chkproto_not_used_fun (void)\n{\n";
    const std::string footer = "\n}\n";
    const auto start = fragment.find(head);
    if (start == std::string::npos || fragment.size() < start + head.size() + footer.size() ||
        fragment.compare(fragment.size() - footer.size(), footer.size(), footer) != 0)
        return "<malformed fragment>";
    const auto body_start = start + head.size();
    return fragment.substr(body_start, fragment.size() - footer.size() - body_start);
}

struct RunCase {
    const char* name;
    std::string input;
    std::string body;
    std::string err;
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << c.name;
}

class Run : public ::testing::TestWithParam<RunCase> {};

TEST_P(Run, WritesAssignmentsAndWarnings) {
    const RunCase& c = GetParam();
    const auto result = run_chkprotogen(c.input);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(body_of(result.out), c.body);
    EXPECT_EQ(result.err, c.err);
}

const std::string decl_i = "MAKE_INTRINSIC_I(\"abs\", f, INT_TYPE)\n";
const std::string old = "MAKE_INTRINSIC\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs, Run,
    ::testing::Values(
        RunCase{"OneDeclaration",
                "MAKE_INTRINSIC_SI(\"strpart\", strpart_fn, KARVO_STRING_TYPE),\n",
                "  S_FSI = strpart_fn;\n", ""},
        RunCase{"DeclarationsInInputOrder",
                "  MAKE_INTRINSIC_0(\"a\", f0, KARVO_VOID_TYPE),\n"
                "\tMAKE_INTRINSIC_SSSS(\"b\", f4, KARVO_DOUBLE_TYPE),\n"
                "MAKE_INTRINSIC_IS(\"c\", f2, INT_TYPE)",
                "  V_F0 = f0;\n  D_FSSSS = f4;\n  I_FIS = f2;\n", ""},
        RunCase{"WarningsNameTheirLines",
                "\n/* table */\nMAKE_INTRINSIC(\"a\", f, INT_TYPE, 1),\n"
                "  MAKE_INTRINSIC_D(\"b\", g, DOUBLE_TYPE),\n"
                "MAKE_INTRINSIC_I(\"c\", h, KARVO_FLOAT_TYPE),\n",
                "",
                "Warning: line 3 is old-fashioned\n"
                "Warning: Unable to handle MAKE_INTRINSIC form on line 4\n"
                "return type on line 5 is not supported\n"},
        RunCase{"SilentDropsWriteNothing",
                "MAKE_INTRINSIC_I\nMAKE_INTRINSIC_I(\"a\" f)\nMAKE_INTRINSIC_I(\"a\",  \n", "", ""},
        RunCase{"OutOfTableKeyStillAssigned", "MAKE_INTRINSIC_SIII(\"a\", f, KARVO_INT_TYPE)\n",
                "  I_FSIII = f;\n", ""},
        RunCase{"EmptyFunctionField", "MAKE_INTRINSIC_I(\"a\", , INT_TYPE)\n", "  I_FI = ;\n", ""},
        RunCase{"CrLfLines", "MAKE_INTRINSIC_I(\"a\", f, INT_TYPE)\r\n\r\n" + "MAKE_INTRINSIC\r\n"s,
                "  I_FI = f;\n", "Warning: line 3 is old-fashioned\n"},
        RunCase{
            "NulBytesEndTheLineText",
            "MAKE_INTRINSIC_I(\"a\", f\0, INT_TYPE)\n\0\nMAKE_INTRINSIC_I(\"a\", g, INT_TYPE)\0,x\n"
            "MAKE_INTRINSIC\0_I(\"a\", h, INT_TYPE)\n"s,
            "  I_FI = g;\n", "Warning: line 4 is old-fashioned\n"},
        RunCase{"LineOf1500CountsTwice", std::string(1499, 'x') + "\n" + old, "",
                "Warning: line 3 is old-fashioned\n"},
        RunCase{"LineOf1023IsOneChunk", std::string(1022, 'x') + "\n" + old, "",
                "Warning: line 2 is old-fashioned\n"},
        RunCase{"LineOf1024IsTwoChunks", std::string(1023, 'x') + "\n" + old, "",
                "Warning: line 3 is old-fashioned\n"},
        RunCase{"ChunkOfLongLineIsDeclaration", std::string(1023, 'x') + decl_i, "  I_FI = f;\n",
                ""},
        RunCase{"BlanksRunIntoNextChunk", std::string(1023, ' ') + old, "",
                "Warning: line 2 is old-fashioned\n"},
        RunCase{"DeclarationCutByChunkLimit",
                std::string(1000, ' ') + "MAKE_INTRINSIC_I(a, f, INT_TYPE)\n" + old, "",
                "return type on line 1 is not supported\nWarning: line 3 is old-fashioned\n"},
        RunCase{"LongIndent", std::string(100, ' ') + "\t" + decl_i, "  I_FI = f;\n", ""},
        RunCase{"ManyPlainLinesAcrossBlocks",
                [] {
                    std::string text;
                    for (int i = 0; i < 100000; ++i)
                        text += (i % 7 == 0) ? "int MAX;\n" : "  x = y + 1;\n";
                    return text + old;
                }(),
                "", "Warning: line 100001 is old-fashioned\n"}),
    [](const ::testing::TestParamInfo<RunCase>& param_info) {
        return std::string(param_info.param.name);
    });

TEST(Run, TenMegabyteLineIsReadInChunks) {
    const std::size_t length = 10 * 1024 * 1024;
    const auto chunks = (length + 1 + max_chunk_length - 1) / max_chunk_length;
    for (const char fill : {'x', 'M', ' ', '\0'}) {
        const auto result = run_chkprotogen(std::string(length, fill) + "\n" + old);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "Warning: line " + std::to_string(chunks + 1) + " is old-fashioned\n")
            << "line of " << static_cast<int>(fill);
    }
}

// The golden cases show the usage text under the name "chkprotogen"; here it
// follows the name the program was started by, and the tool's own name stands
// in when there is none.
TEST(Usage, NamesTheProgramAsInvoked) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"./tools/chkprotogen", "-"},
         "Usage: ./tools/chkprotogen [--assert-prototypes=TABLE [--allow-empty]] < infile > "
         "outfile\n"},
        {{}, "Usage: chkprotogen [--assert-prototypes=TABLE [--allow-empty]] < infile > outfile\n"},
    };
    for (const auto& [args, usage] : cases) {
        karvo::testing::OutputStream out;
        karvo::testing::OutputStream err;
        // With a terminal on standard input the input is never read.
        EXPECT_EQ(run(args, true, {nullptr, out.get(), err.get()}), status_error);
        EXPECT_EQ(err.text(), usage);
    }
}

// The assertion options: each command line either runs the filter (over a
// table with one check) or is refused with the usage text.
TEST(Options, AreRefusedUnlessWhole) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"--assert-prototypes=t.c"}, true},
        {{"--assert-prototypes", "t.c"}, true},
        {{"--allow-empty", "--assert-prototypes=t.c"}, true},
        {{"--assert-prototypes"}, false},
        {{"--assert-prototypes="}, false},
        {{"--assert-prototypesx"}, false},
        {{"--assert-prototypes=a.c", "--assert-prototypes=b.c"}, false},
        {{"--allow-empty"}, false},
        {{"--allow-empty", "--allow-empty", "--assert-prototypes=t.c"}, false},
    };
    for (const auto& [args, runs] : cases) {
        const auto result = run_chkprotogen(decl_i, args);
        EXPECT_EQ(result.status, runs ? 0 : 1) << args[0];
        EXPECT_EQ(result.err.starts_with("Usage: "), !runs) << args[0];
        EXPECT_EQ(result.out.find("#line 1 \"t.c\"") != std::string::npos, runs) << args[0];
    }
}

karvo::testing::ProcessResult read_with_fgets(const std::string& input) {
    karvo::testing::InputStream in(input);
    karvo::testing::OutputStream out;
    karvo::testing::OutputStream err;
    testing::run_with_fgets(in.get(), out.get(), err.get());
    return {0, out.text(), err.text()};
}

// Random sources built from the pieces that matter to the reader: plain and
// declaration lines, indents of every width, lines around and far beyond the
// chunk length, NUL bytes, carriage returns, and the letter M everywhere.
std::string random_source(std::mt19937& random, std::size_t target_size) {
    static const std::string pieces[] = {
        "MAKE_INTRINSIC_I(\"a\", f, INT_TYPE)",
        "MAKE_INTRINSIC_SI(\"strpart\", strpart_fn, KARVO_STRING_TYPE),",
        "MAKE_INTRINSIC(\"old\", g, VOID_TYPE, 0),",
        "MAKE_INTRINSIC_D(\"d\", h, DOUBLE_TYPE)",
        "MAKE_INTRINSIC_SS (\"b\",  k , KARVO_KARVO_INT_TYPE)",
        "MAKE_INTRINSIC_0",
        "MAKE_INTRINSICS",
        "MAKE_INTRINSIC_IIS(\"c\", , KARVO_VOID_TYPE",
        "M",
        "MM MAKE_INTRINSIC_I(x, y, INT_TYPE)",
        "int x = MAX (a, b);",
        "/* comment */",
        "{",
        "",
        "\r",
        "\0"s,
    };
    std::uniform_int_distribution<int> choice(0, 99);
    std::string text;
    while (text.size() < target_size) {
        const int kind = choice(random);
        if (kind < 30)
            text.append(static_cast<std::size_t>(choice(random) % 70), " \t"[choice(random) % 2]);
        if (kind < 60) {
            const auto& piece =
                pieces[static_cast<std::size_t>(choice(random)) % std::size(pieces)];
            text += piece;
            if (choice(random) < 10)
                text += '\0';
        } else if (kind < 90) {
            const auto length = static_cast<std::size_t>(choice(random) % 90);
            for (std::size_t i = 0; i < length; ++i)
                text += "abc (),;M_\t x"[choice(random) % 13];
        } else if (kind < 97) {
            // Around and beyond the chunk length, sometimes with a declaration
            // where a later chunk starts.
            const auto length = 1000 + static_cast<std::size_t>(choice(random)) * 25;
            text.append(length, choice(random) < 50 ? 'y' : ' ');
            if (choice(random) < 50)
                text += "MAKE_INTRINSIC_S(z, q, STRING_TYPE)";
        } else {
            text += static_cast<char>(choice(random) * 2);
        }
        if (choice(random) < 97)
            text += '\n';
    }
    return text;
}

TEST(Run, AgreesWithPlainLineReading) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 60; ++round) {
        const std::size_t size = round < 40 ? static_cast<std::size_t>(random() % 4000)
                                            : 60000 + static_cast<std::size_t>(random() % 200000);
        const std::string input = random_source(random, size);
        const auto expected = read_with_fgets(input);
        const auto actual = run_chkprotogen(input);
        ASSERT_EQ(actual.status, 0);
        ASSERT_EQ(actual.out, expected.out) << "round " << round;
        ASSERT_EQ(actual.err, expected.err) << "round " << round;
    }
}

// The input a plain fgets() reading handles before a read error that follows
// `input`: fgets() drops the chunk the error cuts short, so only the lines
// that ended and the full-length pieces of a long last line remain.
std::string handled_before_error(const std::string& input) {
    const std::size_t tail_start =
        input.rfind('\n') == std::string::npos ? 0 : input.rfind('\n') + 1;
    const std::size_t tail = input.size() - tail_start;
    return input.substr(0, tail_start + tail - tail % max_chunk_length);
}

// A read that fails is not the end of the input: the lines read before it
// are handled as always, then the run stops with the message and status 1,
// without the footer, so that the fragment cannot compile. Whether the error
// comes at the first read, between lines, within a line, after the bulk
// skipper has passed many blocks, or after single-byte reads, the output so
// far is exactly what a plain reading of the same bytes writes.
TEST(Run, ReadErrorStopsTheRunWithoutTheFooter) {
    std::mt19937 random(20261208);
    const std::string declarations = "MAKE_INTRINSIC_I(\"a\", f, INT_TYPE)\n"
                                     "MAKE_INTRINSIC(\"old\", g, VOID_TYPE, 0),\n"
                                     "  MAKE_INTRINSIC_S(\"s\", s_fn, KARVO_STRING_TYPE)\n";
    const struct {
        const char* name;
        std::string input;
        std::size_t piece;
    } cases[] = {
        {"first read", "", 4096},
        {"between lines", declarations, 4096},
        {"within a declaration", declarations + "MAKE_INTRINSIC_I(\"b\", cut_name, INT_TYPE", 4096},
        {"within a long line", declarations + std::string(2500, 'x'), 4096},
        {"single bytes", declarations + "MAKE_INTRINSIC_D(\"d\", h, DOU", 1},
        {"after many blocks", random_source(random, 300000), 4096},
        {"after many blocks, cut short", random_source(random, 200000) + "MAKE_INTRINSIC_I(x", 777},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        karvo::testing::FailingInputStream in(c.input, c.piece);
        const auto result = karvo::testing::run_chkprotogen_on(in.get());
        const auto plain = read_with_fgets(handled_before_error(c.input));
        const std::string footer = "\n}\n";
        EXPECT_EQ(result.status, status_error);
        EXPECT_EQ(result.out + footer, plain.out);
        EXPECT_EQ(result.err, plain.err + "Read error on standard input.\n");
    }
}

} // namespace
} // namespace chkprotogen
