#include "declaration.hpp"

#include <array>
#include <cstring>
#include <string_view>

namespace chkprotogen {
namespace {

constexpr std::string_view macro_name = "MAKE_INTRINSIC";
constexpr std::string_view type_prefix = "KARVO_";

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

// Blanks before the macro name and around fields. A newline counts too: it
// ends the line and never starts a field.
constexpr bool is_blank_or_newline(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

constexpr bool ends_key(char c) {
    return c == ' ' || c == '\t' || c == '(';
}

constexpr bool starts_supported_key(char c) {
    return c == '0' || c == 'I' || c == 'S';
}

char* skip_blanks(char* text) {
    while (is_blank_or_newline(*text))
        ++text;
    return text;
}

bool starts_with(const char* text, std::string_view prefix) {
    return std::strncmp(text, prefix.data(), prefix.size()) == 0;
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
    while (count < text.size() && is_blank_or_newline(text[count]))
        ++count;
    return count;
}

} // namespace

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

} // namespace chkprotogen
