// Running a built program with a chosen argv[0] and captured streams.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace karvo::testing {

struct ProcessResult {
    int status = -1; // exit status, or 128 + signal number
    std::string out;
    std::string err;
};

// Runs `program` (a path, or a name looked up in PATH) with the given argv
// (argv[0] included) and standard input read from `stdin_path`; standard
// output goes to `stdout_path` when given, else it is captured.
ProcessResult run_process(const std::string& program, const std::vector<std::string>& argv,
                          const std::filesystem::path& stdin_path,
                          const std::filesystem::path& stdout_path = {});

// As run_process, with standard input from an open descriptor (a terminal, a
// pipe). The child's peak resident set in KiB is stored in `max_rss_kib` when
// that is not null.
ProcessResult run_process_with_stdin_fd(const std::string& program,
                                        const std::vector<std::string>& argv, int stdin_fd,
                                        const std::filesystem::path& stdout_path = {},
                                        long* max_rss_kib = nullptr);

// As run_process, with a fresh pseudo-terminal as standard input; nothing
// when the system offers no pseudo-terminal.
std::optional<ProcessResult> run_process_on_terminal(const std::string& program,
                                                     const std::vector<std::string>& argv);

} // namespace karvo::testing
