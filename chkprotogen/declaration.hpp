// Judging a line of the C source: whether it is a MAKE_INTRINSIC declaration,
// an old or unhandled form that draws a warning, or neither; and parsing a
// declaration into the parts its check line needs.
#pragma once

#include <cstddef>
#include <span>

namespace chkprotogen {

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

} // namespace chkprotogen
