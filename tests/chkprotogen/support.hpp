// Helpers for the chkprotogen tests beyond the shared ones: the filter run
// in-process, and the built program run with any descriptor as its standard
// input (a terminal, a pipe) and its memory use reported.
#pragma once

#include "process.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace chkprotogen::testing {

using karvo::testing::ProcessResult;

// Runs chkprotogen::run over `input` with captured output streams.
ProcessResult run_filter(const std::string& input);

// Runs `program` with the given argv (argv[0] included), standard input from
// the descriptor `stdin_fd`, standard output to `stdout_path` when given, else
// captured; standard error captured. The child's peak resident set in KiB is
// stored in `max_rss_kib` when that is not null.
ProcessResult run_with_stdin(const std::string& program, const std::vector<std::string>& argv,
                             int stdin_fd, const std::filesystem::path& stdout_path = {},
                             long* max_rss_kib = nullptr);

} // namespace chkprotogen::testing
