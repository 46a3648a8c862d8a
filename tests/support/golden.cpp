#include "golden.hpp"

#include "files.hpp"
#include "process.hpp"

#include <algorithm>
#include <cstdlib>

namespace karvo::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view version_placeholder = "@PROJECT_VERSION@";

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> read_argv(const fs::path& dir, const std::string& tool_name) {
    std::vector<std::string> argv = {tool_name};
    if (!fs::exists(dir / "args"))
        return argv;
    const std::string text = read_file(dir / "args");
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        argv.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return argv;
}

void update_case(const fs::path& dir, const GoldenTexts& actual, const std::string& version) {
    write_file(dir / "stdout", replace_all(actual.out, version, version_placeholder));
    write_file(dir / "stderr", actual.err);
    write_file(dir / "status", actual.status);
}

} // namespace

std::vector<GoldenCase> find_golden_cases(const fs::path& tool_dir) {
    std::vector<GoldenCase> cases;
    for (const fs::directory_entry& entry : fs::directory_iterator(tool_dir))
        if (entry.is_directory())
            cases.push_back({entry.path().filename().string(), entry.path()});
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

GoldenOutcome run_golden_case(const std::string& program, const std::string& tool_name,
                              const GoldenCase& golden_case, const std::string& version) {
    const fs::path& dir = golden_case.dir;
    GoldenOutcome outcome;
    const ProcessResult run = run_process(program, read_argv(dir, tool_name), dir / "input");
    outcome.actual = {run.out, run.err, std::to_string(run.status) + "\n"};
    if (std::getenv("KARVO_UPDATE_GOLDEN") != nullptr)
        update_case(dir, outcome.actual, version);
    outcome.expected.status = read_file(dir / "status");
    outcome.expected.out = replace_all(read_file(dir / "stdout"), version_placeholder, version);
    outcome.expected.err = replace_all(read_file(dir / "stderr"), version_placeholder, version);
    return outcome;
}

} // namespace karvo::testing
