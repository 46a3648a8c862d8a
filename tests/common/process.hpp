// Test helpers: run a built program with a chosen argv[0] and captured
// streams, and read or write whole files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace karvo::testing {

struct ProcessResult {
    int status = -1; // exit status, or 128 + signal number
    std::string out;
    std::string err;
};

// Runs `program` with the given argv (argv[0] included) and standard input
// read from `stdin_path`; standard output goes to `stdout_path` when given,
// else it is captured.
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

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// A fresh directory under the system temporary directory, removed with the
// object.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

} // namespace karvo::testing
