// The filter as first written, the model of its line chunking: fgets() into a
// 1024-byte buffer, one chunk at a time. The real reader passes over plain
// lines in bulk and must agree with this on every input (tests, fuzz target).
// Returns the number of chunks (lines, as warnings count them).
#pragma once

#include "chkprotogen/declaration.hpp"
#include "chkprotogen/emit.hpp"
#include "chkprotogen/line_reader.hpp"

#include <cstdio>

namespace chkprotogen::testing {

inline unsigned run_with_fgets(std::FILE* in, std::FILE* out, std::FILE* err) {
    write_header(out);
    char buffer[line_buffer_size];
    unsigned line = 0;
    for (long before = std::ftell(in); std::fgets(buffer, sizeof buffer, in) != nullptr;
         before = std::ftell(in)) {
        // ftell, not strlen: the chunk may hold NUL bytes.
        const auto length = static_cast<std::size_t>(std::ftell(in) - before);
        ++line;
        const Classification c = classify_line({buffer, length});
        if (c.kind == LineKind::old_fashioned)
            std::fprintf(err, "Warning: line %u is old-fashioned\n", line);
        if (c.kind == LineKind::unhandled_form)
            std::fprintf(err, "Warning: Unable to handle MAKE_INTRINSIC form on line %u\n", line);
        if (c.kind != LineKind::declaration)
            continue;
        const ParsedDeclaration parsed = parse_declaration(buffer + c.key_offset);
        if (parsed.outcome == ParseOutcome::unsupported_return)
            std::fprintf(err, "return type on line %u is not supported\n", line);
        if (parsed.outcome == ParseOutcome::assignment)
            std::fprintf(out, "  %c_F%s = %s;\n", parsed.name_letter, parsed.key, parsed.function);
    }
    write_footer(out);
    return line;
}

} // namespace chkprotogen::testing
