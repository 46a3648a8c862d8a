// Runs chkprotogen in-process on a source held in memory.
#pragma once

#include "chkprotogen/generator.hpp"
#include "process.hpp"
#include "streams.hpp"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace karvo::testing {

// `arguments` follow the program name "chkprotogen"; standard input is `in`.
inline ProcessResult run_chkprotogen_on(std::FILE* in, std::vector<std::string> arguments = {},
                                        bool input_is_terminal = false) {
    arguments.insert(arguments.begin(), "chkprotogen");
    OutputStream out;
    OutputStream err;
    const int status = chkprotogen::run(arguments, input_is_terminal, {in, out.get(), err.get()});
    return {status, out.text(), err.text()};
}

inline ProcessResult run_chkprotogen(const std::string& input,
                                     std::vector<std::string> arguments = {},
                                     bool input_is_terminal = false) {
    InputStream in(input);
    return run_chkprotogen_on(in.get(), std::move(arguments), input_is_terminal);
}

} // namespace karvo::testing
