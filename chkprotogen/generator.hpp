// Prototype check generator: reads a C source whose intrinsic functions are
// entered by MAKE_INTRINSIC_<key>(name, c_function, return_type) lines and
// writes a C fragment that assigns every such C function to a function-pointer
// variable of the prototype the line claims, so that the C compiler rejects
// every function whose real prototype differs.
#pragma once

#include "common/command_line.hpp"

#include <cstdio>
#include <string>
#include <vector>

namespace chkprotogen {

using karvo::status_error;
using karvo::status_success;
using karvo::Streams;

// Runs the program. `args` holds the program name first, then the arguments.
// An argument that is exactly --help or --version is answered on `out`, even
// with a terminal on standard input. The options are
//   --assert-prototypes=TABLE (or --assert-prototypes TABLE): write each check
//     as a compile-time assertion as well (see emit.hpp), naming TABLE and
//     the line; a table that yields no check is then an error;
//   --allow-empty, with --assert-prototypes: a table without checks is not.
// Any other argument, or a terminal on standard input, is refused with the
// usage text. Otherwise the filter runs: header, one pass over the input,
// footer, and warnings on `err`. Returns status_error (after saying so on
// `err`) if the input could not be read to its end, which stops the run where
// it is, without the footer, if the output could not be written completely,
// or for an empty table that must not be; status_success otherwise, whatever
// warnings were written. The run allocates nothing.
int run(const std::vector<std::string>& args, bool input_is_terminal, const Streams& streams);

} // namespace chkprotogen
