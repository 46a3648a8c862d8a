#include "line_reader.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace chkprotogen {
namespace {

const char* find_newline(const char* text, std::size_t length) {
    return static_cast<const char*>(std::memchr(text, '\n', std::min(length, max_chunk_length)));
}

void refill(LineReader& reader) {
    const std::size_t remaining = reader.end - reader.begin;
    std::memmove(reader.block.data(), reader.block.data() + reader.begin, remaining);
    reader.begin = 0;
    reader.end = remaining;
    const std::size_t wanted = LineReader::block_size - remaining;
    const std::size_t got = std::fread(reader.block.data() + remaining, 1, wanted, reader.in);
    reader.end += got;
    // fread comes back short only at the end of input or on a read error; both
    // end the input, but only the end of input ends it well.
    if (got < wanted) {
        reader.input_exhausted = true;
        reader.read_failed = std::ferror(reader.in) != 0;
    }
}

constexpr std::string_view make_text = "MAKE";

// Bits of the positions in [from, to) of the window that starts at base.
std::uint64_t positions_between(std::size_t base, std::size_t from, std::size_t to) {
    std::uint64_t bits = ~std::uint64_t{0};
    if (from > base)
        bits <<= from - base;
    if (to - base < LineReader::window_size)
        bits &= (std::uint64_t{1} << (to - base)) - 1;
    return bits;
}

} // namespace

WindowBits scan_window_portable(const char* window) {
    WindowBits bits;
    for (std::size_t i = 0; i < LineReader::window_size; ++i) {
        bits.newlines |= static_cast<std::uint64_t>(window[i] == '\n') << i;
        bits.make_starts |= static_cast<std::uint64_t>(
                                std::memcmp(window + i, make_text.data(), make_text.size()) == 0)
                            << i;
    }
    return bits;
}

#if defined(__SSE2__)
// Ten times the portable scan's speed; over a typical source it halves the
// whole filter's time (bench/chkprotogen: BM_ScanWindows, and the filter
// built with either).
WindowBits scan_window_sse2(const char* window) {
    static_assert(LineReader::window_size == 64);
    const auto load = [](const char* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    const auto equal = [](__m128i bytes, char c) {
        return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
    };
    WindowBits bits;
    for (unsigned part = 0; part < 4; ++part) {
        const char* const at = window + 16 * part;
        const __m128i first = load(at);
        const __m128i starts = _mm_and_si128(
            _mm_and_si128(equal(first, make_text[0]), equal(load(at + 1), make_text[1])),
            _mm_and_si128(equal(load(at + 2), make_text[2]), equal(load(at + 3), make_text[3])));
        const auto newline_mask = static_cast<unsigned>(_mm_movemask_epi8(equal(first, '\n')));
        const auto make_mask = static_cast<unsigned>(_mm_movemask_epi8(starts));
        bits.newlines |= static_cast<std::uint64_t>(newline_mask) << (16 * part);
        bits.make_starts |= static_cast<std::uint64_t>(make_mask) << (16 * part);
    }
    return bits;
}
#endif

WindowBits scan_window(const char* window) {
#if defined(__SSE2__)
    return scan_window_sse2(window);
#else
    return scan_window_portable(window);
#endif
}

std::size_t skip_plain_lines(LineReader& reader) {
    std::size_t line_start = reader.begin;
    std::size_t lines = 0;
    for (std::size_t base = reader.begin & ~(LineReader::window_size - 1); base < reader.end;
         base += LineReader::window_size) {
        const WindowBits bits = scan_window(reader.block.data() + base);
        const std::uint64_t valid = positions_between(base, reader.begin, reader.end);
        std::uint64_t newlines = bits.newlines & valid;
        const std::uint64_t make_starts = bits.make_starts & valid;
        // Lines up to the first MAKE are plain; the line holding it may not be.
        if (make_starts != 0)
            newlines &= (std::uint64_t{1} << std::countr_zero(make_starts)) - 1;
        if (newlines != 0) {
            // Only the first line ending here can have begun in an earlier
            // window, so only it can be too long for a single chunk.
            const std::size_t first_end =
                base + static_cast<std::size_t>(std::countr_zero(newlines));
            if (first_end + 1 - line_start > max_chunk_length)
                break;
            lines += static_cast<std::size_t>(std::popcount(newlines));
            line_start = base + LineReader::window_size -
                         static_cast<std::size_t>(std::countl_zero(newlines));
        } else if (base + LineReader::window_size - line_start > max_chunk_length) {
            // A line already longer than one chunk: next_chunk() splits it,
            // without this scanning on to its end for every chunk.
            break;
        }
        if (make_starts != 0)
            break;
    }
    reader.begin = line_start;
    return lines;
}

std::span<const char> next_chunk(LineReader& reader) {
    std::size_t available = reader.end - reader.begin;
    const char* newline = find_newline(reader.block.data() + reader.begin, available);
    if (newline == nullptr && available < max_chunk_length && !reader.input_exhausted) {
        refill(reader);
        available = reader.end;
        newline = find_newline(reader.block.data(), available);
    }
    const char* const start = reader.block.data() + reader.begin;
    // A line that the read error cut off is not handed out as if it had ended.
    if (newline == nullptr && available < max_chunk_length && reader.read_failed) {
        reader.begin = reader.end;
        return {};
    }
    const std::size_t length = newline != nullptr ? static_cast<std::size_t>(newline - start) + 1
                                                  : std::min(available, max_chunk_length);
    reader.begin += length;
    return {start, length};
}

} // namespace chkprotogen
