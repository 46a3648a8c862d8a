// Runs chkprotogen in-process on a source held in memory.
#pragma once

#include "process.hpp"

#include <string>
#include <vector>

namespace karvo::testing {

// `arguments` follow the program name "chkprotogen".
ProcessResult run_chkprotogen(const std::string& input, std::vector<std::string> arguments = {},
                              bool input_is_terminal = false);

} // namespace karvo::testing
