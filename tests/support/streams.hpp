// In-memory stand-ins for the standard streams, for running the generators
// in-process (tests, fuzz targets, benchmarks).
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <utility>

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

// A readable stream that yields the given bytes and then fails with EIO
// instead of reaching the end, as a read of a broken disk or of a folder does.
// The bytes come at most `piece` at a time, so that a reader meets the error
// after several successful reads.
class FailingInputStream {
  public:
    explicit FailingInputStream(std::string bytes, std::size_t piece = 4096)
        : bytes_(std::move(bytes)), piece_(piece) {
        const cookie_io_functions_t functions{&FailingInputStream::read, nullptr, nullptr, nullptr};
        file_ = fopencookie(this, "r", functions);
        if (file_ == nullptr)
            throw std::runtime_error("cannot open a failing input stream");
    }
    ~FailingInputStream() { std::fclose(file_); }
    FailingInputStream(const FailingInputStream&) = delete;
    FailingInputStream& operator=(const FailingInputStream&) = delete;
    std::FILE* get() const { return file_; }

  private:
    static ssize_t read(void* cookie, char* buffer, std::size_t size) {
        auto& self = *static_cast<FailingInputStream*>(cookie);
        const std::size_t left = self.bytes_.size() - self.offset_;
        if (left == 0) {
            errno = EIO;
            return -1;
        }
        const std::size_t count = std::min({size, left, self.piece_});
        std::memcpy(buffer, self.bytes_.data() + self.offset_, count);
        self.offset_ += count;
        return static_cast<ssize_t>(count);
    }

    std::string bytes_;
    std::size_t piece_;
    std::size_t offset_ = 0;
    std::FILE* file_ = nullptr;
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
