#include "chkprotogen_in_process.hpp"

#include "chkprotogen/generator.hpp"
#include "streams.hpp"

namespace karvo::testing {

ProcessResult run_chkprotogen(const std::string& input, std::vector<std::string> arguments,
                              bool input_is_terminal) {
    arguments.insert(arguments.begin(), "chkprotogen");
    InputStream in(input);
    OutputStream out;
    OutputStream err;
    ProcessResult result;
    result.status =
        chkprotogen::run(arguments, input_is_terminal, {in.get(), out.get(), err.get()});
    result.out = out.text();
    result.err = err.text();
    return result;
}

} // namespace karvo::testing
