// The C fragment chkprotogen writes: the check variables of every signature
// and return type, one check per declaration, and the closing brace.
#pragma once

#include "declaration.hpp"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace chkprotogen {

void write_header(std::FILE* out);
void write_footer(std::FILE* out);

// The plain check: the function assigned to the check variable of its
// signature, which a compiler rejects (or warns about) when the prototypes
// differ.
void write_assignment(std::FILE* out, const ParsedDeclaration& declaration);

// The check for the build functions. For gcc and clang, a typedef of an array
// whose size is -1 unless the function's type is the check variable's type:
// a negative array size is a constraint violation, which no warning flag
// turns off, and the typedef's name (chkproto_wrong_prototype_<function>)
// names the culprit in the error. A #line directive makes the compiler report
// it at `table_line` of `table_name`. Other compilers get the plain
// assignment, under the same #line.
void write_assertion(std::FILE* out, const ParsedDeclaration& declaration, std::uint32_t table_line,
                     std::string_view table_name);

} // namespace chkprotogen
