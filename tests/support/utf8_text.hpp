// UTF-8 text built from code points, for the tests of the text functions.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace test_support {

// Appends the UTF-8 form of code_point (any value up to U+10FFFF, surrogates
// encoded like any other, so that tests can build ill-formed text too).
inline void append_utf8(std::string& out, std::uint32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | code_point >> 6);
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | code_point >> 12);
        out += static_cast<char>(0x80 | (code_point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code_point >> 18);
        out += static_cast<char>(0x80 | (code_point >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code_point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

inline std::string utf8(std::initializer_list<std::uint32_t> code_points) {
    std::string out;
    for (const std::uint32_t code_point : code_points) {
        append_utf8(out, code_point);
    }
    return out;
}

} // namespace test_support
