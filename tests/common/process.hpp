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
