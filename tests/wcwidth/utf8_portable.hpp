#pragma once

#include <cstddef>

// KVwchar_utf8_ascii_length and KVwchar_utf8_width built with
// KVWC_UTF8_PORTABLE (standard C only).
std::size_t portable_utf8_ascii_length(const char* s, std::size_t len);
std::size_t portable_utf8_width(const char* s, std::size_t len);
