// In-memory stand-ins for the standard streams, for running the generators
// in-process (tests, fuzz targets, benchmarks).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace karvo::testing {

// A readable stream holding the given bytes (NUL bytes included). fmemopen()
// cannot open an empty buffer on every C library, so an empty input is read
// from /dev/null.
class InputStream {
  public:
    explicit InputStream(std::string bytes)
        : bytes_(std::move(bytes)),
          file_(bytes_.empty() ? std::fopen("/dev/null", "r")
                               : fmemopen(bytes_.data(), bytes_.size(), "r")) {
        if (file_ == nullptr)
            throw std::runtime_error("cannot open an in-memory input stream");
    }
    ~InputStream() { std::fclose(file_); }
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
    OutputStream() : file_(open_memstream(&data_, &size_)) {
        if (file_ == nullptr)
            throw std::runtime_error("cannot open an in-memory output stream");
    }
    ~OutputStream() {
        std::fclose(file_);
        std::free(data_);
    }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    std::FILE* get() const { return file_; }
    std::string text() const {
        std::fflush(file_);
        return {data_, size_};
    }

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

} // namespace karvo::testing
