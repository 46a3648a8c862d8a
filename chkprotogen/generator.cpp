#include "generator.hpp"

#include "declaration.hpp"
#include "emit.hpp"
#include "line_reader.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

namespace chkprotogen {
namespace {

constexpr karvo::ToolTexts tool_texts = {
    "chkprotogen",
    "Writes a C fragment that makes the C compiler check the prototype of every\n"
    "function entered by a MAKE_INTRINSIC_<key>(name, function, return_type) line\n"
    "of a C source.\n",
    "[--assert-prototypes=TABLE [--allow-empty]] < infile > outfile",
    "",
    "  --assert-prototypes=TABLE\n"
    "             assert each prototype at compile time, in a form that no\n"
    "             warning flag silences (gcc, clang); errors name TABLE (the\n"
    "             input's name) and its line; a table without checks fails\n"
    "  --allow-empty\n"
    "             with --assert-prototypes: a table without checks does not fail\n",
};

struct Options {
    bool assert_prototypes = false;
    std::string_view table_name; // for #line, with assert_prototypes
    bool allow_empty = false;
};

constexpr std::string_view assert_option = "--assert-prototypes";

// The options of the command line, or nothing when it holds anything else.
std::optional<Options> parse_options(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--allow-empty" && !options.allow_empty) {
            options.allow_empty = true;
        } else if (arg == assert_option && !options.assert_prototypes && i + 1 < args.size()) {
            options.assert_prototypes = true;
            options.table_name = args[++i];
        } else if (arg.size() > assert_option.size() && arg.starts_with(assert_option) &&
                   arg[assert_option.size()] == '=' && !options.assert_prototypes) {
            options.assert_prototypes = true;
            options.table_name = arg.substr(assert_option.size() + 1);
        } else {
            return std::nullopt;
        }
    }
    // The empty-table rule belongs to the assertions.
    if (options.allow_empty && !options.assert_prototypes)
        return std::nullopt;
    if (options.assert_prototypes && options.table_name.empty())
        return std::nullopt;
    return options;
}

// Per-run state of the filter: the reader, the line buffer the parser cuts in
// place, the 1-based counter that warnings name lines by (a line longer than
// one chunk counts once per chunk), the number of the table's line the
// current chunk belongs to, and the checks written.
struct Scanner {
    LineReader reader;
    std::FILE* out;
    std::FILE* err;
    const Options& options;
    std::array<char, line_buffer_size> line{};
    std::uint32_t line_counter = 0;
    std::uint32_t table_line = 1;
    std::uint32_t checks = 0;

    Scanner(std::FILE* input, std::FILE* output, std::FILE* messages, const Options& run_options)
        : reader(input), out(output), err(messages), options(run_options) {}
};

void write_check(Scanner& scanner, const ParsedDeclaration& parsed, std::uint32_t table_line) {
    ++scanner.checks;
    if (scanner.options.assert_prototypes)
        write_assertion(scanner.out, parsed, table_line, scanner.options.table_name);
    else
        write_assignment(scanner.out, parsed);
}

// Handles one chunk: counts it, classifies it, and writes its warning or its
// assignment line.
void handle_chunk(Scanner& scanner, std::span<const char> chunk) {
    ++scanner.line_counter;
    const unsigned line_number = scanner.line_counter;
    const std::uint32_t table_line = scanner.table_line;
    if (chunk.back() == '\n')
        ++scanner.table_line;
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
        write_check(scanner, parsed, table_line);
        return;
    }
}

int filter(const Streams& streams, const Options& options) {
    Scanner scanner(streams.in, streams.out, streams.err, options);
    std::FILE* const out = streams.out;
    write_header(out);
    for (;;) {
        // The counters are 32 bits wide and wrap like any unsigned count.
        const auto skipped = static_cast<std::uint32_t>(skip_plain_lines(scanner.reader));
        scanner.line_counter += skipped;
        scanner.table_line += skipped;
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
    // A check target over a table that checks nothing would pass while
    // proving nothing, for example when every line names a return type that
    // is not known.
    if (options.assert_prototypes && !options.allow_empty && scanner.checks == 0) {
        std::fputs("No prototype to check: no MAKE_INTRINSIC line of ", streams.err);
        std::fwrite(options.table_name.data(), 1, options.table_name.size(), streams.err);
        std::fputs(" yields a check.\n", streams.err);
        return status_error;
    }
    return karvo::finish_output(streams);
}

} // namespace

int run(const std::vector<std::string>& args, bool input_is_terminal, const Streams& streams) {
    if (karvo::answer_information_request(args, tool_texts, streams))
        return karvo::finish_output(streams);
    const std::optional<Options> options = parse_options(args);
    if (!options || input_is_terminal) {
        karvo::write_usage(streams.err, args, tool_texts);
        return status_error;
    }
    return filter(streams, *options);
}

} // namespace chkprotogen
