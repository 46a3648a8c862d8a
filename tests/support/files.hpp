// Whole files and temporary folders for the tests and benchmarks.
#pragma once

#include <filesystem>
#include <string>

namespace karvo::testing {

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
