// In-memory stand-ins for the standard streams, for running generators
// in-process.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace karvo::testing {

// A readable stream holding the given bytes (NUL bytes included).
class InputStream {
  public:
    explicit InputStream(const std::string& bytes) : file_(std::tmpfile()) {
        if (file_ == nullptr)
            throw std::runtime_error("tmpfile failed");
        std::fwrite(bytes.data(), 1, bytes.size(), file_);
        std::rewind(file_);
    }
    ~InputStream() { std::fclose(file_); }
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
    std::FILE* get() const { return file_; }

  private:
    std::FILE* file_;
};

// A writable stream whose bytes can be read back.
class OutputStream {
  public:
    OutputStream() : file_(std::tmpfile()) {
        if (file_ == nullptr)
            throw std::runtime_error("tmpfile failed");
    }
    ~OutputStream() { std::fclose(file_); }
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    std::FILE* get() const { return file_; }

    std::string text() const {
        std::fflush(file_);
        const long end = std::ftell(file_);
        std::string bytes(static_cast<std::size_t>(end), '\0');
        std::rewind(file_);
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file_);
        bytes.resize(got);
        std::fseek(file_, 0, SEEK_END);
        return bytes;
    }

  private:
    std::FILE* file_;
};

} // namespace karvo::testing
