#include "chkprotogen.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace chkprotogen {
namespace {

constexpr std::string_view macro_name = "MAKE_INTRINSIC";
constexpr std::string_view type_prefix = "KARVO_";

// Signature keys that get check variables, in the order they are declared.
// Every mix of int and string arguments up to three, and four only when all
// four are of one kind.
constexpr std::array<std::string_view, 17> signature_keys = {
    "0",   "I",   "S",   "II",  "SS",  "SI",  "IS",   "III",  "IIS",
    "ISI", "ISS", "SII", "SIS", "SSI", "SSS", "IIII", "SSSS",
};

// Declaration prefixes of the four return types, in the order the header
// declares them; each ends with the check variable's name letter and "_F".
constexpr std::array<std::string_view, 4> return_declaration_prefixes = {
    "static void (*V_F",
    "static int (*I_F",
    "static char *(*S_F",
    "static double (*D_F",
};

// Return-type names in the order they are matched against a declaration's
// third field; each is compared over its whole length.
struct ReturnTypeName {
    std::string_view name;
    char name_letter;
};
constexpr std::array<ReturnTypeName, 4> return_type_names = {{
    {"VOID_TYPE", 'V'},
    {"STRING_TYPE", 'S'},
    {"INT_TYPE", 'I'},
    {"DOUBLE_TYPE", 'D'},
}};

constexpr bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

constexpr bool ends_key(char c) {
    return c == ' ' || c == '\t' || c == '(';
}

constexpr bool starts_supported_key(char c) {
    return c == '0' || c == 'I' || c == 'S';
}

constexpr std::string_view parameter_text(char key_letter) {
    switch (key_letter) {
    case 'I':
        return "int*";
    case 'S':
        return "char*";
    default:
        return "void";
    }
}

char* skip_blanks(char* text) {
    while (is_blank(*text))
        ++text;
    return text;
}

bool starts_with(const char* text, std::string_view prefix) {
    return std::strncmp(text, prefix.data(), prefix.size()) == 0;
}

void put(std::FILE* out, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

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
    // fread comes back short only at the end of input or on a read error, and
    // both end the input.
    if (got < wanted)
        reader.input_exhausted = true;
}

// Newlines, and starts of the text MAKE, in a 64-byte window, one bit per
// byte. Every line that chkprotogen writes or warns about holds MAKE; few
// others do.
struct WindowBits {
    std::uint64_t newlines = 0;
    std::uint64_t marks = 0;
};

constexpr std::string_view mark = macro_name.substr(0, 4);

WindowBits scan_window(const char* window) {
    static_assert(LineReader::window_size == 64);
    WindowBits bits;
#if defined(__SSE2__)
    const auto load = [](const char* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    const auto equal = [](__m128i bytes, char c) {
        return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
    };
    for (unsigned part = 0; part < 4; ++part) {
        const char* const at = window + 16 * part;
        const __m128i first = load(at);
        const __m128i marks = _mm_and_si128(
            _mm_and_si128(equal(first, mark[0]), equal(load(at + 1), mark[1])),
            _mm_and_si128(equal(load(at + 2), mark[2]), equal(load(at + 3), mark[3])));
        const auto newline_mask = static_cast<unsigned>(_mm_movemask_epi8(equal(first, '\n')));
        const auto mark_mask = static_cast<unsigned>(_mm_movemask_epi8(marks));
        bits.newlines |= static_cast<std::uint64_t>(newline_mask) << (16 * part);
        bits.marks |= static_cast<std::uint64_t>(mark_mask) << (16 * part);
    }
#else
    for (std::size_t i = 0; i < LineReader::window_size; ++i) {
        bits.newlines |= static_cast<std::uint64_t>(window[i] == '\n') << i;
        bits.marks |=
            static_cast<std::uint64_t>(std::memcmp(window + i, mark.data(), mark.size()) == 0) << i;
    }
#endif
    return bits;
}

// Bits of the positions in [from, to) of the window that starts at base.
std::uint64_t positions_between(std::size_t base, std::size_t from, std::size_t to) {
    std::uint64_t bits = ~std::uint64_t{0};
    if (from > base)
        bits <<= from - base;
    if (to - base < LineReader::window_size)
        bits &= (std::uint64_t{1} << (to - base)) - 1;
    return bits;
}

// The name letter of the return type that `field` starts with, or 0 if it
// starts with none of them.
char return_name_letter(const char* field) {
    for (const auto& type : return_type_names)
        if (starts_with(field, type.name))
            return type.name_letter;
    return 0;
}

std::size_t count_leading_blanks(std::span<const char> text) {
    std::size_t count = 0;
    while (count < text.size() && is_blank(text[count]))
        ++count;
    return count;
}

} // namespace

std::size_t skip_plain_lines(LineReader& reader) {
    std::size_t line_start = reader.begin;
    std::size_t lines = 0;
    for (std::size_t base = reader.begin & ~(LineReader::window_size - 1); base < reader.end;
         base += LineReader::window_size) {
        const WindowBits bits = scan_window(reader.block.data() + base);
        const std::uint64_t valid = positions_between(base, reader.begin, reader.end);
        std::uint64_t newlines = bits.newlines & valid;
        const std::uint64_t marks = bits.marks & valid;
        // Lines up to the first MAKE are plain; the line holding it may not be.
        if (marks != 0)
            newlines &= (std::uint64_t{1} << std::countr_zero(marks)) - 1;
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
        if (marks != 0)
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
    const std::size_t length = newline != nullptr ? static_cast<std::size_t>(newline - start) + 1
                                                  : std::min(available, max_chunk_length);
    reader.begin += length;
    return {start, length};
}

Classification classify_line(std::span<const char> chunk) {
    // Past the end of the chunk reads as NUL, the end of a C string. Every test
    // below fails on a NUL, so nothing after an embedded NUL is ever looked at.
    const auto at = [chunk](std::size_t i) { return i < chunk.size() ? chunk[i] : '\0'; };
    std::size_t i = count_leading_blanks(chunk);
    if (chunk.size() - i < macro_name.size() ||
        std::memcmp(chunk.data() + i, macro_name.data(), macro_name.size()) != 0)
        return {LineKind::other, 0};
    i += macro_name.size();
    if (at(i) != '_')
        return {LineKind::old_fashioned, 0};
    ++i;
    if (!starts_supported_key(at(i)))
        return {LineKind::unhandled_form, 0};
    return {LineKind::declaration, i};
}

ParsedDeclaration parse_declaration(char* key_text) {
    ParsedDeclaration parsed;
    char* cursor = key_text;
    while (*cursor != '\0' && !ends_key(*cursor))
        ++cursor;
    if (*cursor == '\0')
        return parsed;
    *cursor = '\0';

    // The first field (the intrinsic's name) is not used; only its comma is.
    char* const first_comma = std::strchr(cursor + 1, ',');
    if (first_comma == nullptr)
        return parsed;
    char* const function = skip_blanks(first_comma + 1);
    if (*function == '\0')
        return parsed;
    char* const second_comma = std::strchr(function, ',');
    if (second_comma == nullptr)
        return parsed;
    *second_comma = '\0';

    const char* return_field = skip_blanks(second_comma + 1);
    if (starts_with(return_field, type_prefix))
        return_field += type_prefix.size();
    parsed.name_letter = return_name_letter(return_field);
    if (parsed.name_letter == 0) {
        parsed.outcome = ParseOutcome::unsupported_return;
        return parsed;
    }
    parsed.outcome = ParseOutcome::assignment;
    parsed.key = key_text;
    parsed.function = function;
    return parsed;
}

void write_header(std::FILE* out) {
    for (const std::string_view key : signature_keys) {
        for (const std::string_view prefix : return_declaration_prefixes) {
            put(out, prefix);
            put(out, key);
            put(out, ")(");
            for (std::size_t i = 0; i < key.size(); ++i) {
                if (i > 0)
                    put(out, ",");
                put(out, parameter_text(key[i]));
            }
            put(out, ");\n");
        }
    }
    put(out, "\nstatic void chkproto_not_used_fun (void)\n{\n");
}

void write_footer(std::FILE* out) {
    put(out, "\n}\n");
}

void write_assignment(std::FILE* out, const ParsedDeclaration& declaration) {
    // Same bytes as "  %c_F%s = %s;\n", assembled for a single write. Key and
    // name both come from one line buffer, so the line always fits.
    std::array<char, line_buffer_size + 16> text;
    std::size_t length = 0;
    const auto append = [&](std::string_view part) {
        std::memcpy(text.data() + length, part.data(), part.size());
        length += part.size();
    };
    const char head[] = {' ', ' ', declaration.name_letter, '_', 'F'};
    append({head, sizeof head});
    append(declaration.key);
    append(" = ");
    append(declaration.function);
    append(";\n");
    put(out, {text.data(), length});
}

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

int run(std::FILE* in, std::FILE* out, std::FILE* err) {
    Scanner scanner(in, out, err);
    write_header(out);
    for (;;) {
        // The counter is 32 bits wide and wraps like any unsigned count.
        scanner.line_counter += static_cast<std::uint32_t>(skip_plain_lines(scanner.reader));
        const std::span<const char> chunk = next_chunk(scanner.reader);
        if (chunk.empty())
            break;
        handle_chunk(scanner, chunk);
    }
    write_footer(out);

    // A full disk must not leave a truncated fragment behind a status of 0.
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        std::fputs("Write error on standard output.\n", err);
        return exit_failure;
    }
    return exit_success;
}

bool must_refuse(int argc, bool stdin_is_terminal) {
    return argc > 1 || stdin_is_terminal;
}

void write_usage(std::FILE* err, const char* program_name) {
    std::fprintf(err, "Usage: %s < infile > outfile\n",
                 program_name != nullptr ? program_name : "chkprotogen");
}

} // namespace chkprotogen
