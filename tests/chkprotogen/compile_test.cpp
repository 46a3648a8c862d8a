// The fragment does its job: compiled with the declarations of the intrinsic
// functions, it is clean when every table line tells the truth, and each kind
// of mismatch makes the compiler fail and name the culprit.
#include "files.hpp"
#include "process.hpp"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace chkprotogen {
namespace {

using karvo::testing::read_file;
using karvo::testing::run_process;
using karvo::testing::TempDir;
using karvo::testing::write_file;

const std::string program = CHKPROTOGEN_PROGRAM;
const std::filesystem::path examples_dir = CHKPROTOGEN_EXAMPLES_DIR;

// An edit of the example header or table, to plant one mismatch.
struct Edit {
    std::string file;
    std::string from;
    std::string to;
};

struct Mismatch {
    const char* name;
    std::vector<Edit> edits;
    const char* culprit; // what the compiler's message must name; null: must compile cleanly
};

const Mismatch mismatches[] = {
    {"Correct", {}, nullptr},
    {"WrongParameterType",
     {{"intrinsics.h", "extern int kv_strlen (char *);", "extern int kv_strlen (int *);"}},
     "kv_strlen"},
    {"WrongParameterCount",
     {{"intrinsics.h", "extern int kv_max (int *, int *);", "extern int kv_max (int *);"}},
     "kv_max"},
    {"WrongReturnType",
     {{"intrinsics.h", "extern double kv_atof (char *);", "extern float kv_atof (char *);"}},
     "kv_atof"},
    {"TableClaimsWrongReturnType",
     {{"intrinsics.c", "kv_strbyte, KARVO_INT_TYPE", "kv_strbyte, KARVO_STRING_TYPE"}},
     "kv_strbyte"},
    {"KeyOutsideSignatureTable",
     {{"intrinsics.h", "#endif", "extern char *kv_strfill (char *, int *, int *, int *);\n#endif"},
      {"intrinsics.c", "   MAKE_INTRINSIC_SSSS(",
       "   MAKE_INTRINSIC_SIII(\"strfill\", kv_strfill, KARVO_STRING_TYPE),\n"
       "   MAKE_INTRINSIC_SSSS("}},
     "S_FSIII"},
};

void PrintTo(const Mismatch& m, std::ostream* out) {
    *out << m.name;
}

// The C compilers to try: the one the build uses, and gcc and clang when
// installed, each once.
std::vector<std::string> compilers() {
    std::vector<std::string> list;
    std::string all = CHKPROTOGEN_C_COMPILERS;
    for (std::size_t start = 0; start <= all.size();) {
        const auto end = std::min(all.find('|', start), all.size());
        if (end > start)
            list.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return list;
}

using CompileCase = std::tuple<std::string, Mismatch>;

class CompiledFragment : public ::testing::TestWithParam<CompileCase> {};

TEST_P(CompiledFragment, CatchesMismatches) {
    const auto& [compiler, mismatch] = GetParam();
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

    const auto generated =
        run_process(program, {"chkprotogen"}, dir / "intrinsics.c", dir / "intrinsics_chk.h");
    ASSERT_EQ(generated.status, 0) << generated.err;

    const auto compiled =
        run_process(compiler,
                    {compiler, "-std=c99", "-Wall", "-Wextra", "-pedantic",
                     "-Werror=incompatible-pointer-types", "-fsyntax-only",
                     "-I" + dir.path().string(), (dir / "intrinsics_check.c").string()},
                    "/dev/null");
    const std::string messages = compiled.out + compiled.err;
    if (mismatch.culprit == nullptr) {
        EXPECT_EQ(compiled.status, 0);
        EXPECT_EQ(messages, "");
        return;
    }
    EXPECT_NE(compiled.status, 0) << "compiled despite the mismatch";
    EXPECT_NE(messages.find("error"), std::string::npos) << messages;
    EXPECT_NE(messages.find(mismatch.culprit), std::string::npos) << messages;
}

std::string test_name(const ::testing::TestParamInfo<CompileCase>& param_info) {
    std::string label = std::filesystem::path(std::get<0>(param_info.param)).filename().string();
    std::replace_if(
        label.begin(), label.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
    return label + "_" + std::get<1>(param_info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Compilers, CompiledFragment,
                         ::testing::Combine(::testing::ValuesIn(compilers()),
                                            ::testing::ValuesIn(mismatches)),
                         test_name);

} // namespace
} // namespace chkprotogen
