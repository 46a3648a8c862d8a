// The C fragment chkprotogen writes: the check variables of every signature
// and return type, one assignment line per declaration, and the closing brace.
#pragma once

#include "declaration.hpp"

#include <cstdio>

namespace chkprotogen {

void write_header(std::FILE* out);
void write_footer(std::FILE* out);
void write_assignment(std::FILE* out, const ParsedDeclaration& declaration);

} // namespace chkprotogen
