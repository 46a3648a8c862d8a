// Prototype check generator: reads a C source whose intrinsic functions are
// entered by MAKE_INTRINSIC_<key>(name, c_function, return_type) lines and
// writes a C fragment that assigns every such C function to a function-pointer
// variable of the prototype the line claims, so that the C compiler rejects
// every function whose real prototype differs.
//
// All state lives in the structs below and is passed explicitly; the streams
// are plain FILE* so the whole filter runs in-process under test.
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

    explicit LineReader(std::FILE* input) : in(input) {}
};

// The next chunk (at most max_chunk_length bytes, ending after the first
// newline if there is one within that length), or an empty span at the end of
// input. A read error counts as the end of input. The span stays valid until
// the next call.
std::span<const char> next_chunk(LineReader& reader);

// Most lines of a source are not declarations, and a line without the text
// MAKE can neither be one nor draw a warning. This passes over such lines in
// the data already read, as long as each is a single chunk, far faster than
// splitting them off one by one; it returns how many it passed, which the
// caller counts as lines read. It stops before any line it cannot vouch for,
// which next_chunk() then hands out.
std::size_t skip_plain_lines(LineReader& reader);

// How a line is treated, judged from its first non-blank text.
enum class LineKind {
    other,          // not a declaration line; ignored silently
    old_fashioned,  // MAKE_INTRINSIC not followed by an underscore
    unhandled_form, // key does not start with 0, I or S
    declaration,    // handed to the line parser
};

struct Classification {
    LineKind kind;
    std::size_t key_offset; // where the signature key starts, for declarations
};

// Classifies a chunk. Bytes from the first NUL on are not part of the line's
// text, as with a C string read by fgets().
Classification classify_line(std::span<const char> chunk);

enum class ParseOutcome {
    assignment,         // key, function and name_letter are set
    dropped,            // malformed; dropped without a message
    unsupported_return, // the return-type field names no known type
};

struct ParsedDeclaration {
    ParseOutcome outcome = ParseOutcome::dropped;
    char name_letter = 0;
    const char* key = nullptr;
    const char* function = nullptr;
};

// Parses the NUL-terminated text that starts at the signature key, cutting the
// key and the function name in place by overwriting their delimiters with NUL.
ParsedDeclaration parse_declaration(char* key_text);

void write_header(std::FILE* out);
void write_footer(std::FILE* out);
void write_assignment(std::FILE* out, const ParsedDeclaration& declaration);

// Per-run state of the filter: the reader, the line buffer the parser cuts in
// place, and the 1-based counter that warnings name lines by.
struct Scanner {
    LineReader reader;
    std::FILE* out;
    std::FILE* err;
    std::array<char, line_buffer_size> line{};
    std::uint32_t line_counter = 0;

    Scanner(std::FILE* input, std::FILE* output, std::FILE* messages)
        : reader(input), out(output), err(messages) {}
};

// Handles one chunk: counts it, classifies it, and writes its warning or its
// assignment line.
void handle_chunk(Scanner& scanner, std::span<const char> chunk);

inline constexpr int exit_success = 0;
inline constexpr int exit_failure = 1;

// Runs the whole filter: header, one pass over the input, footer. Returns
// exit_failure (after saying so on `err`) if standard output could not be
// written completely, exit_success otherwise, whatever warnings were written.
int run(std::FILE* in, std::FILE* out, std::FILE* err);

// True when the program must refuse to run: any argument, or a terminal on
// standard input.
bool must_refuse(int argc, bool stdin_is_terminal);

// Writes the usage message naming the program as invoked; a missing name
// (argc == 0) is replaced by the tool's own name.
void write_usage(std::FILE* err, const char* program_name);

} // namespace chkprotogen
