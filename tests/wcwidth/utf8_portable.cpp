// The UTF-8 functions as a compiler without the trailing-zero count builds
// them: the same header, with its portable path forced. The header's
// functions are static, so this file's copies are its own.
#define KVWC_UTF8_PORTABLE
#include "utf8_portable.hpp"

#include "wcwidthtab_utf8.h"

std::size_t portable_utf8_ascii_length(const char* s, std::size_t len) {
    return KVwchar_utf8_ascii_length(s, len);
}

std::size_t portable_utf8_width(const char* s, std::size_t len) {
    return KVwchar_utf8_width(s, len);
}
