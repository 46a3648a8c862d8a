#include "streams.hpp"

#include <cstdlib>
#include <stdexcept>

namespace karvo::testing {

// fmemopen() cannot open an empty buffer on every C library; an empty input
// is read from /dev/null instead.
InputStream::InputStream(std::string bytes)
    : bytes_(std::move(bytes)),
      file_(bytes_.empty() ? std::fopen("/dev/null", "r")
                           : fmemopen(bytes_.data(), bytes_.size(), "r")) {
    if (file_ == nullptr)
        throw std::runtime_error("cannot open an in-memory input stream");
}

InputStream::~InputStream() {
    std::fclose(file_);
}

OutputStream::OutputStream() : file_(open_memstream(&data_, &size_)) {
    if (file_ == nullptr)
        throw std::runtime_error("cannot open an in-memory output stream");
}

OutputStream::~OutputStream() {
    std::fclose(file_);
    std::free(data_);
}

std::string OutputStream::text() const {
    std::fflush(file_);
    return {data_, size_};
}

} // namespace karvo::testing
