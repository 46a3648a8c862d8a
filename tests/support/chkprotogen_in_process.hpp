// Runs chkprotogen in-process on a source held in memory.
#pragma once

#include "chkprotogen/generator.hpp"
#include "process.hpp"
#include "streams.hpp"

#include <string>
#include <vector>

namespace karvo::testing {

// `arguments` follow the program name "chkprotogen".
inline ProcessResult run_chkprotogen(const std::string& input,
                                     std::vector<std::string> arguments = {},
                                     bool input_is_terminal = false) {
    arguments.insert(arguments.begin(), "chkprotogen");
    InputStream in(input);
    OutputStream out;
    OutputStream err;
    const int status =
        chkprotogen::run(arguments, input_is_terminal, {in.get(), out.get(), err.get()});
    return {status, out.text(), err.text()};
}

} // namespace karvo::testing
