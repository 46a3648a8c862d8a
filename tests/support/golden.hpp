// Golden cases: whole runs of a built program compared byte for byte with the
// expected output. A case is a folder of tests/data/<tool>/ holding `input`,
// optionally `args` (one a line), and the expected `stdout`, `stderr` and
// `status`; @PROJECT_VERSION@ in them stands for the project version. An
// `input` that is a folder opens but fails every read.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace karvo::testing {

struct GoldenCase {
    std::string name; // the folder's name
    std::filesystem::path dir;
};

// Every case folder under `tool_dir`, by name.
std::vector<GoldenCase> find_golden_cases(const std::filesystem::path& tool_dir);

// What a run wrote, and its exit status as the `status` file holds it: the
// number and a newline.
struct GoldenTexts {
    std::string out;
    std::string err;
    std::string status;
};

struct GoldenOutcome {
    GoldenTexts expected;
    GoldenTexts actual;
};

// Runs `program` as `tool_name` on the case. With KARVO_UPDATE_GOLDEN set in
// the environment the case's expected files are rewritten from the run
// instead (review the diff).
GoldenOutcome run_golden_case(const std::string& program, const std::string& tool_name,
                              const GoldenCase& golden_case, const std::string& version);

} // namespace karvo::testing
