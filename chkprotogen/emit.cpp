#include "emit.hpp"

#include "line_reader.hpp"

#include <array>
#include <cstring>

namespace chkprotogen {
namespace {

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

void put(std::FILE* out, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

constexpr bool is_identifier_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The function field without the blanks that may follow it before its comma.
std::string_view trimmed_function(const char* function) {
    std::string_view text = function;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The typedef's name: the function field with every byte that cannot stand in
// an identifier written as '_'. Two fields that come out alike do no harm:
// each typedef lives in a block of its own.
void put_check_name(std::FILE* out, std::string_view function) {
    put(out, "chkproto_wrong_prototype_");
    for (const char c : function)
        std::fputc(is_identifier_byte(c) ? c : '_', out);
}

// The table's name as the body of a C string literal: quote and backslash
// escaped, the second of two question marks escaped (it could start a
// trigraph), control bytes and DEL as three-digit octal escapes.
void put_string_body(std::FILE* out, std::string_view text) {
    char previous = '\0';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\' || (c == '?' && previous == '?')) {
            std::fputc('\\', out);
            std::fputc(c, out);
        } else if (byte < 0x20 || byte == 0x7F) {
            std::fprintf(out, "\\%03o", byte);
        } else {
            std::fputc(c, out);
        }
        previous = c;
    }
}

// #line takes numbers from 1 to 2147483647; a line beyond them goes without.
void put_line_directive(std::FILE* out, std::uint32_t table_line, std::string_view table_name) {
    if (table_line == 0 || table_line > 2147483647U)
        return;
    std::fprintf(out, "#line %lu \"", static_cast<unsigned long>(table_line));
    put_string_body(out, table_name);
    put(out, "\"\n");
}

} // namespace

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

} // namespace chkprotogen

namespace chkprotogen {

void write_assertion(std::FILE* out, const ParsedDeclaration& declaration, std::uint32_t table_line,
                     std::string_view table_name) {
    const std::string_view function = trimmed_function(declaration.function);
    put(out, "#if defined(__GNUC__) || defined(__clang__)\n");
    put_line_directive(out, table_line, table_name);
    put(out, "  { typedef char ");
    put_check_name(out, function);
    put(out, "[__builtin_types_compatible_p(__typeof__(&");
    put(out, function);
    put(out, "), __typeof__(");
    std::fputc(declaration.name_letter, out);
    put(out, "_F");
    put(out, declaration.key);
    put(out, ")) ? 1 : -1]; (void) sizeof (");
    put_check_name(out, function);
    put(out, "); }\n#else\n");
    put_line_directive(out, table_line, table_name);
    write_assignment(out, declaration);
    put(out, "#endif\n");
}

} // namespace chkprotogen
