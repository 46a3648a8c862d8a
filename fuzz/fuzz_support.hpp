// Helpers shared by the fuzz targets: an invariant check that aborts (so
// the fuzzer records the input), and in-memory standard streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz_support {

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A stream whose bytes are collected in memory.
class MemoryOutput {
  public:
    MemoryOutput() : file_(open_memstream(&data_, &size_)) { check(file_ != nullptr, "memstream"); }
    ~MemoryOutput() {
        if (file_ != nullptr)
            std::fclose(file_);
        std::free(data_);
    }
    MemoryOutput(const MemoryOutput&) = delete;
    MemoryOutput& operator=(const MemoryOutput&) = delete;
    std::FILE* get() const { return file_; }
    std::string text() {
        std::fflush(file_);
        return {data_, size_};
    }

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

// A stream that reads the fuzz input, NUL bytes included.
class MemoryInput {
  public:
    MemoryInput(const std::uint8_t* data, std::size_t size)
        : copy_(reinterpret_cast<const char*>(data), size),
          file_(size == 0 ? std::fopen("/dev/null", "r")
                          : fmemopen(copy_.data(), copy_.size(), "r")) {
        check(file_ != nullptr, "input stream");
    }
    ~MemoryInput() { std::fclose(file_); }
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;
    std::FILE* get() const { return file_; }

  private:
    std::string copy_;
    std::FILE* file_;
};

} // namespace fuzz_support
