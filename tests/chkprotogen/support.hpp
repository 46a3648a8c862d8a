// Helpers for the chkprotogen tests beyond the shared ones: the filter run
// in-process.
#pragma once

#include "process.hpp"

#include <string>

namespace chkprotogen::testing {

using karvo::testing::ProcessResult;

// Runs chkprotogen::run over `input` with captured output streams.
ProcessResult run_filter(const std::string& input);

} // namespace chkprotogen::testing
