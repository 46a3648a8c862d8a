// The fragment does its job: compiled with the declarations of the intrinsic
// functions, it is clean when every table line tells the truth, and each kind
// of mismatch makes the compiler fail and name the culprit. Plain fragments
// rely on -Werror=incompatible-pointer-types; those with assertions fail even
// under -w and name the table's line. Each case runs with gcc and with clang;
// one that is not installed is reported as skipped.
#include "files.hpp"
#include "process.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace chkprotogen {
namespace {

using karvo::testing::read_file;
using karvo::testing::run_process;
using karvo::testing::TempDir;
using karvo::testing::write_file;

const std::string program = CHKPROTOGEN_PROGRAM;
const std::filesystem::path examples_dir = CHKPROTOGEN_EXAMPLES_DIR;

struct Compiler {
    const char* name;
    const char* path; // empty when not installed
};

const Compiler compilers[] = {{"gcc", CHKPROTOGEN_TEST_GCC}, {"clang", CHKPROTOGEN_TEST_CLANG}};

// An edit of the example header or table, to plant one mismatch.
struct Edit {
    std::string file;
    std::string from;
    std::string to;
};

struct Mismatch {
    const char* name;
    std::vector<Edit> edits;
    const char* culprit;     // what the compiler's message must name; null: must compile cleanly
    unsigned table_line = 0; // the table line the assertion's error must name
};

const Mismatch mismatches[] = {
    {"Correct", {}, nullptr},
    {"WrongParameterType",
     {{"intrinsics.h", "extern int kv_strlen (char *);", "extern int kv_strlen (int *);"}},
     "kv_strlen",
     35},
    {"WrongParameterCount",
     {{"intrinsics.h", "extern int kv_max (int *, int *);", "extern int kv_max (int *);"}},
     "kv_max",
     23},
    {"WrongReturnType",
     {{"intrinsics.h", "extern double kv_atof (char *);", "extern float kv_atof (char *);"}},
     "kv_atof",
     37},
    {"TableClaimsWrongReturnType",
     {{"intrinsics.c", "kv_strbyte, KARVO_INT_TYPE", "kv_strbyte, KARVO_STRING_TYPE"}},
     "kv_strbyte",
     41},
    {"KeyOutsideSignatureTable",
     {{"intrinsics.h", "#endif", "extern char *kv_strfill (char *, int *, int *, int *);\n#endif"},
      {"intrinsics.c", "   MAKE_INTRINSIC_SSSS(",
       "   MAKE_INTRINSIC_SIII(\"strfill\", kv_strfill, KARVO_STRING_TYPE),\n"
       "   MAKE_INTRINSIC_SSSS("}},
     "S_FSIII",
     52},
};

enum class Mode { plain, asserted };

using CompileCase = std::tuple<Compiler, Mode, Mismatch>;

class CompiledFragment : public ::testing::TestWithParam<CompileCase> {};

TEST_P(CompiledFragment, CatchesMismatches) {
    const auto& [compiler, mode, mismatch] = GetParam();
    if (std::string(compiler.path).empty() || !std::filesystem::exists(compiler.path))
        GTEST_SKIP() << compiler.name << " is not installed";
    const TempDir dir;
    for (const char* name : {"intrinsics.h", "intrinsics.c", "intrinsics_check.c"})
        write_file(dir / name, read_file(examples_dir / name));
    for (const Edit& edit : mismatch.edits) {
        std::string text = read_file(dir / edit.file);
        const auto at = text.find(edit.from);
        ASSERT_NE(at, std::string::npos) << edit.from;
        text.replace(at, edit.from.size(), edit.to);
        write_file(dir / edit.file, text);
    }

    const std::string table = (dir / "intrinsics.c").string();
    std::vector<std::string> generator_args = {"chkprotogen"};
    if (mode == Mode::asserted)
        generator_args.push_back("--assert-prototypes=" + table);
    const auto generated = run_process(program, generator_args, table, dir / "intrinsics_chk.h");
    ASSERT_EQ(generated.status, 0) << generated.err;

    // The assertions are C89 and clean under the strictest warnings; -w,
    // which silences every warning, leaves them failing.
    std::vector<std::string> compile_args = {compiler.path, "-fsyntax-only", "-pedantic", "-Wall",
                                             "-Wextra"};
    compile_args.push_back("-I" + dir.path().string());
    if (mode == Mode::plain)
        compile_args.insert(compile_args.end(), {"-std=c99", "-Werror=incompatible-pointer-types"});
    else
        compile_args.push_back(mismatch.culprit == nullptr ? "-std=c89" : "-w");
    compile_args.push_back((dir / "intrinsics_check.c").string());
    const auto compiled = run_process(compiler.path, compile_args, "/dev/null");
    const std::string messages = compiled.out + compiled.err;
    if (mismatch.culprit == nullptr) {
        EXPECT_EQ(compiled.status, 0);
        EXPECT_EQ(messages, "");
        return;
    }
    EXPECT_NE(compiled.status, 0) << "compiled despite the mismatch";
    EXPECT_NE(messages.find("error"), std::string::npos) << messages;
    EXPECT_NE(messages.find(mismatch.culprit), std::string::npos) << messages;
    if (mode == Mode::asserted) {
        const std::string place = table + ":" + std::to_string(mismatch.table_line) + ":";
        EXPECT_NE(messages.find(place), std::string::npos) << place << "\n" << messages;
    }
}

std::string test_name(const ::testing::TestParamInfo<CompileCase>& param_info) {
    const auto& [compiler, mode, mismatch] = param_info.param;
    return std::string(compiler.name) + (mode == Mode::plain ? "_Plain_" : "_Asserted_") +
           mismatch.name;
}

INSTANTIATE_TEST_SUITE_P(Compilers, CompiledFragment,
                         ::testing::Combine(::testing::ValuesIn(compilers),
                                            ::testing::Values(Mode::plain, Mode::asserted),
                                            ::testing::ValuesIn(mismatches)),
                         test_name);

} // namespace
} // namespace chkprotogen
