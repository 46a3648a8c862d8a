// In-memory stand-ins for the standard streams, for running the generators
// in-process (tests, fuzz targets, benchmarks).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace karvo::testing {

// A readable stream holding the given bytes (NUL bytes included).
class InputStream {
  public:
    explicit InputStream(std::string bytes);
    ~InputStream();
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
    std::FILE* get() const { return file_; }

  private:
    std::string bytes_;
    std::FILE* file_;
};

// A writable stream whose bytes can be read back.
class OutputStream {
  public:
    OutputStream();
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    std::FILE* get() const { return file_; }
    std::string text() const;

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

} // namespace karvo::testing
