#include "generator.hpp"

#include "declaration.hpp"
#include "emit.hpp"
#include "line_reader.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

namespace chkprotogen {
namespace {

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

// A full disk must not leave a truncated fragment behind a status of 0.
int finish_output(const Streams& streams) {
    if (std::fflush(streams.out) != 0 || std::ferror(streams.out) != 0) {
        std::fputs("Write error on standard output.\n", streams.err);
        return status_error;
    }
    return status_success;
}

// Handles one chunk: counts it, classifies it, and writes its warning or its
// assignment line.
void handle_chunk(Scanner& scanner, std::span<const char> chunk) {
    ++scanner.line_counter;
    const unsigned line_number = scanner.line_counter;
    const Classification classification = classify_line(chunk);
    switch (classification.kind) {
    case LineKind::other:
        return;
    case LineKind::old_fashioned:
        std::fprintf(scanner.err, "Warning: line %u is old-fashioned\n", line_number);
        return;
    case LineKind::unhandled_form:
        std::fprintf(scanner.err, "Warning: Unable to handle MAKE_INTRINSIC form on line %u\n",
                     line_number);
        return;
    case LineKind::declaration:
        break;
    }

    // The parser cuts fields in place, so it works on a NUL-terminated copy.
    std::memcpy(scanner.line.data(), chunk.data(), chunk.size());
    scanner.line[chunk.size()] = '\0';
    const ParsedDeclaration parsed =
        parse_declaration(scanner.line.data() + classification.key_offset);
    switch (parsed.outcome) {
    case ParseOutcome::dropped:
        return;
    case ParseOutcome::unsupported_return:
        std::fprintf(scanner.err, "return type on line %u is not supported\n", line_number);
        return;
    case ParseOutcome::assignment:
        write_assignment(scanner.out, parsed);
        return;
    }
}

int filter(const Streams& streams) {
    Scanner scanner(streams.in, streams.out, streams.err);
    std::FILE* const out = streams.out;
    write_header(out);
    for (;;) {
        // The counter is 32 bits wide and wraps like any unsigned count.
        scanner.line_counter += static_cast<std::uint32_t>(skip_plain_lines(scanner.reader));
        const std::span<const char> chunk = next_chunk(scanner.reader);
        if (chunk.empty())
            break;
        handle_chunk(scanner, chunk);
    }
    // Without its closing brace the fragment does not compile, so a table that
    // could not be read whole cannot pass for checked.
    if (scanner.reader.read_failed) {
        std::fputs("Read error on standard input.\n", streams.err);
        return status_error;
    }
    write_footer(out);
    return finish_output(streams);
}

const char* program_name(const std::vector<std::string>& args) {
    return args.empty() ? "chkprotogen" : args[0].c_str();
}

void write_usage(std::FILE* to, const std::vector<std::string>& args) {
    std::fprintf(to, "Usage: %s < infile > outfile\n", program_name(args));
}

void write_help(std::FILE* out, const std::vector<std::string>& args) {
    std::fputs("Writes a C fragment that makes the C compiler check the prototype of every\n"
               "function entered by a MAKE_INTRINSIC_<key>(name, function, return_type) line\n"
               "of a C source.\n",
               out);
    write_usage(out, args);
    std::fputs("  --help     show this text and exit\n"
               "  --version  show the version and exit\n",
               out);
}

} // namespace

int run(const std::vector<std::string>& args, bool input_is_terminal, const Streams& streams) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") {
            write_help(streams.out, args);
            return finish_output(streams);
        }
        if (args[i] == "--version") {
            std::fputs("chkprotogen " KARVO_VERSION "\n", streams.out);
            return finish_output(streams);
        }
    }
    if (args.size() > 1 || input_is_terminal) {
        write_usage(streams.err, args);
        return status_error;
    }
    return filter(streams);
}

} // namespace chkprotogen
