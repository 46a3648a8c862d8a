#include "kwhashgen_in_process.hpp"

#include "streams.hpp"

namespace karvo::testing {

KwhashgenRun run_kwhashgen(const std::string& list, std::vector<std::string> arguments,
                           bool input_is_terminal) {
    arguments.insert(arguments.begin(), "kwhashgen");
    InputStream in(list);
    OutputStream out;
    OutputStream err;
    KwhashgenRun run;
    run.status = kwhashgen::run(*run.generator, arguments, input_is_terminal,
                                {in.get(), out.get(), err.get()});
    run.out = out.text();
    run.err = err.text();
    return run;
}

} // namespace karvo::testing
