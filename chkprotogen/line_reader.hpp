// Line reading for chkprotogen: the input split into chunks exactly as a
// 1024-byte fgets() splits it, read in large blocks, with plain lines passed
// over in bulk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

namespace chkprotogen {

// One line read takes at most this many bytes of input (up to and including a
// newline); a longer line arrives as several chunks, each handled as a line.
inline constexpr std::size_t line_buffer_size = 1024;
inline constexpr std::size_t max_chunk_length = line_buffer_size - 1;

// Splits an input stream into chunks exactly as a 1024-byte fgets() would, but
// reads in large blocks so that scanning a big source costs little more than
// reading it. Memory is fixed: the block never grows.
struct LineReader {
    static constexpr std::size_t block_size = 64 * 1024;
    // Plain lines are skipped a window at a time; the block has room after its
    // data for the last window and for the few bytes its search for a word
    // looks past it.
    static constexpr std::size_t window_size = 64;
    static constexpr std::size_t padding = window_size + 16;

    std::FILE* in;
    std::array<char, block_size + padding> block{};
    std::size_t begin = 0; // start of the data not yet handed out
    std::size_t end = 0;   // end of the data read so far
    bool input_exhausted = false;
    bool read_failed = false; // the input ended in a read error, not at its end

    explicit LineReader(std::FILE* input) : in(input) {}
};

// The next chunk (at most max_chunk_length bytes, ending after the first
// newline if there is one within that length), or an empty span at the end of
// input. After a read error the chunks read before it are handed out, except
// a last one that the error cut short; then the span is empty and read_failed
// is set. The span stays valid until the next call.
std::span<const char> next_chunk(LineReader& reader);

// Most lines of a source are not declarations, and a line without the text
// MAKE can neither be one nor draw a warning. This passes over such lines in
// the data already read, as long as each is a single chunk, far faster than
// splitting them off one by one; it returns how many it passed, which the
// caller counts as lines read. It stops before any line it cannot vouch for,
// which next_chunk() then hands out.
std::size_t skip_plain_lines(LineReader& reader);

// Newlines, and places where the text MAKE starts, in a window of
// LineReader::window_size bytes, one bit per byte (bit i for byte i). Every
// line that chkprotogen writes or warns about holds MAKE (the start of
// MAKE_INTRINSIC); few others do. The window must be followed by 3 readable
// bytes, which only serve to find a MAKE that starts at its end.
struct WindowBits {
    std::uint64_t newlines = 0;
    std::uint64_t make_starts = 0;
};

// The scan skip_plain_lines() uses: SSE2 where the target has it, else the
// portable one. Both are always built where SSE2 is, so that tests can hold
// them against each other.
WindowBits scan_window(const char* window);
WindowBits scan_window_portable(const char* window);
#if defined(__SSE2__)
WindowBits scan_window_sse2(const char* window);
#endif

} // namespace chkprotogen
