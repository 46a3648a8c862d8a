// The generated source is compiled as C89, C99 and C11 with warnings as
// errors and run: every keyword must be found with its type value, and texts
// close to the keywords must be rejected.
#include "files.hpp"
#include "keyword_lists.hpp"
#include "kwhashgen/emit.hpp"
#include "kwhashgen_in_process.hpp"
#include "process.hpp"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace kwhashgen {
namespace {

using karvo::testing::run_process;
using karvo::testing::TempDir;
using karvo::testing::write_file;

struct Lookup {
    std::string text;
    long type; // -1: must not be found
};

std::string octal_literal(const std::string& bytes) {
    std::string literal = "\"";
    char digits[8];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "\\%03o", byte);
        literal += digits;
    }
    return literal + "\"";
}

// Texts one edit away from the keywords: a byte changed, a byte cut off, a
// byte added, bytes that no keyword holds. Keywords themselves are left out.
std::vector<std::string> near_misses(const std::vector<std::string>& keywords) {
    const std::set<std::string> known(keywords.begin(), keywords.end());
    std::set<unsigned char> used;
    for (const std::string& keyword : keywords)
        used.insert(keyword.begin(), keyword.end());
    unsigned char absent = 1;
    while (used.count(absent) != 0 || absent == '\n')
        ++absent;

    std::set<std::string> misses = {"", std::string(1, static_cast<char>(absent))};
    for (const std::string& keyword : keywords) {
        for (std::size_t at : {std::size_t{0}, keyword.size() / 2, keyword.size() - 1}) {
            if (keyword.empty())
                break;
            std::string changed = keyword;
            changed[at] = static_cast<char>(changed[at] == 'z' ? 'a' : changed[at] + 1);
            if (changed[at] == '\0')
                changed[at] = 'a';
            misses.insert(changed);
            changed[at] = static_cast<char>(absent);
            misses.insert(changed);
        }
        if (!keyword.empty())
            misses.insert(keyword.substr(0, keyword.size() - 1));
        misses.insert(keyword + "x");
        misses.insert(keyword + static_cast<char>(absent));
    }
    std::vector<std::string> result;
    for (const std::string& miss : misses)
        if (known.count(miss) == 0)
            result.push_back(miss);
    return result;
}

std::string harness_source(const std::vector<Lookup>& lookups) {
    std::string source = "#include <string.h>\n#include <stdio.h>\n#include \"hash.c\"\n\n"
                         "static struct { char text[300]; long type; } lookups[] = {\n";
    for (const Lookup& lookup : lookups)
        source += "   {" + octal_literal(lookup.text) + ", " + std::to_string(lookup.type) + "},\n";
    source += "   {\"\", -2}\n};\n\n"
              "int main(void)\n{\n   int failures = 0;\n   unsigned int i;\n"
              "   for (i = 0; lookups[i].type != -2; i++)\n     {\n"
              "\tKeyword_Table_Type *kw = is_keyword (lookups[i].text,\n"
              "\t\t\t\t\t   (unsigned int) strlen (lookups[i].text));\n"
              "\tlong got = kw == NULL ? -1L : (long) kw->type;\n"
              "\tif (got != lookups[i].type)\n\t  {\n"
              "\t    printf (\"lookup %u: got %ld, want %ld\\n\", i, got, lookups[i].type);\n"
              "\t    failures++;\n\t  }\n     }\n"
              "   printf (\"%u lookups\\n\", i);\n   return failures != 0;\n}\n";
    return source;
}

// Compiles a generated source with the harness in each C standard and runs
// it; the keywords' type texts are the decimal numbers given.
void expect_source_works(const std::string& source, const std::vector<std::string>& keywords,
                         const std::vector<long>& types, bool warnings_as_errors) {
    std::vector<Lookup> lookups;
    for (std::size_t n = 0; n < keywords.size(); ++n)
        lookups.push_back({keywords[n], types[n]});
    for (const std::string& miss : near_misses(keywords))
        lookups.push_back({miss, -1});

    TempDir dir;
    write_file(dir / "hash.c", source);
    write_file(dir / "harness.c", harness_source(lookups));
    for (const char* standard : {"-std=c89", "-std=c99", "-std=c11"}) {
        SCOPED_TRACE(standard);
        std::vector<std::string> compile = {KARVO_C_COMPILER, standard, "-Wall", "-Wextra",
                                            "-pedantic"};
        if (warnings_as_errors)
            compile.push_back("-Werror");
        compile.insert(compile.end(),
                       {"-o", (dir / "harness").string(), (dir / "harness.c").string()});
        const auto built = run_process(KARVO_C_COMPILER, compile, "/dev/null");
        ASSERT_EQ(built.status, 0) << built.out << built.err;
        const auto ran = run_process((dir / "harness").string(), {"harness"}, "/dev/null");
        EXPECT_EQ(ran.status, 0) << ran.out;
        EXPECT_EQ(ran.out, std::to_string(lookups.size()) + " lookups\n");
    }
}

void expect_lookups_work(const std::string& list, const std::vector<std::string>& keywords,
                         const std::vector<long>& types, bool warnings_as_errors) {
    const auto run = karvo::testing::run_kwhashgen(list);
    ASSERT_EQ(run.status, 0) << run.err;
    expect_source_works(run.out, keywords, types, warnings_as_errors);
}

// Splits a list whose type texts are numbers into keywords and types.
void expect_list_works(const std::string& list, bool warnings_as_errors = true) {
    std::vector<std::string> keywords;
    std::vector<long> types;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = list.find('\n', start);
        const std::string line = list.substr(start, end - start);
        const std::size_t blank = line.find(' ');
        keywords.push_back(line.substr(0, blank));
        types.push_back(blank == std::string::npos ? 0 : std::stol(line.substr(blank + 1)));
        start = end + 1;
    }
    expect_lookups_work(list, keywords, types, warnings_as_errors);
}

TEST(GeneratedCode, FindsEveryKeywordAndRejectsNearMisses) {
    const char* const lists[] = {
        "aa 1\nab 2\nbc 3\n",
        "a 1\nbbb 2\ncccccc 3\n",
        "if 10\nelse 11\nwhile 12\nfor 13\ndo 14\nbreak 15\ncontinue 16\nreturn 17\n",
        ("say\"hi 1\nback\\slash 2\n?\?= 3\nctl\001\037x 4\ndel\177 5\n\303\251t\303\251 6\n"
         "end\r 7\n"),
        "lonely 42\n",
    };
    for (const char* list : lists) {
        SCOPED_TRACE(list);
        expect_list_works(list);
    }
}

TEST(GeneratedCode, LargeRandomListsWork) {
    unsigned tested = 0;
    for (std::uint32_t seed = 1; tested < 4 && seed < 200; ++seed) {
        const std::string list = lists::random_list(40 + seed * 7 % 200, 12, 26, seed);
        if (karvo::testing::run_kwhashgen(list).status != 0)
            continue; // a list with a repeated keyword cannot hash
        SCOPED_TRACE(seed);
        expect_list_works(list);
        ++tested;
    }
    EXPECT_EQ(tested, 4u);
}

TEST(GeneratedCode, WideHashValuesUseUnsignedShort) {
    // 252 + 2 x 1: the largest hash is 254 (the line stays within one chunk).
    const std::string list = std::string(252, 'k') + " 1\n" + std::string(250, 'k') + "jj 2\n";
    ASSERT_NE(karvo::testing::run_kwhashgen(list).out.find("unsigned short keyword_hash"),
              std::string::npos);
    expect_list_works(list);
}

// Bytes from 0x80 up are written as they stand; clang warns about a literal
// that is not valid UTF-8, so no -Werror here.
TEST(GeneratedCode, KeywordsOfInvalidUtf8Work) {
    expect_list_works("\377\200 8\n\200 9\nok 10\n", false);
}

// An empty keyword makes `len < 0` comparisons and an empty type leaves a
// member to its default; both draw warnings, so no -Werror here.
TEST(GeneratedCode, EmptyKeywordAndEmptyTypeStillWork) {
    expect_lookups_work("  \nbare\nkw 5\n", {"", "bare", "kw"}, {0, 0, 5}, false);
}

// The opening comment repeats the command line; a "*/" in an argument or in
// the path the tool was started by must not end it early, and a "/*" must
// not draw a nested-comment warning; nor may a line break joined by a
// backslash make a "*/" of its neighbours.
TEST(GeneratedCode, CommentCloserInTheCommandLineStaysInTheComment) {
    TempDir dir;
    write_file(dir / "list", "if 1\nelse 2\n");
    std::filesystem::create_directory(dir / "tools*");
    std::filesystem::create_symlink(KWHASHGEN_PROGRAM, dir / "tools*" / "kwhashgen");
    const std::string started_by = (dir / "tools*" / "kwhashgen").string();
    const struct {
        std::string program;
        std::vector<std::string> argv;
        std::string comment_line;
    } runs[] = {
        {KWHASHGEN_PROGRAM, {"kwhashgen", "7*/"}, " * kwhashgen 7*\\/\n"},
        {KWHASHGEN_PROGRAM, {"kwhashgen", "*/*/"}, " * kwhashgen *\\/\\*\\/\n"},
        {KWHASHGEN_PROGRAM, {"kwhashgen", "*\\\n/\r"}, " * kwhashgen *\\\\n/\\r\n"},
        {started_by,
         {started_by, "*/"},
         " * " + dir.path().string() + "/tools*\\/kwhashgen *\\/\n"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.argv[1]);
        const auto result = run_process(run.program, run.argv, dir / "list");
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out.substr(0, result.out.find(" */\n")),
                  "/* Perfect hash generated by command line:\n" + run.comment_line);
        expect_source_works(result.out, {"if", "else"}, {1, 2}, true);
    }
}

} // namespace
} // namespace kwhashgen
