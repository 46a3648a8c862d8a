#include "emit.hpp"

#include "line_reader.hpp"

#include <array>
#include <cstring>
#include <string_view>

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
