// Runs the whole generator in-process on a list held in memory.
#pragma once

#include "generator.hpp"
#include "streams.hpp"

#include <memory>
#include <string>
#include <vector>

namespace kwhashgen::testing {

struct Run {
    int status = 0;
    std::string out;
    std::string err;
    std::unique_ptr<Generator> generator = std::make_unique<Generator>();
};

inline Run run_in_process(const std::string& list, std::vector<std::string> arguments = {},
                          bool input_is_terminal = false) {
    arguments.insert(arguments.begin(), "kwhashgen");
    karvo::testing::InputStream in(list);
    karvo::testing::OutputStream out;
    karvo::testing::OutputStream err;
    Run run;
    run.status = run_generator(*run.generator, arguments, input_is_terminal,
                               {in.get(), out.get(), err.get()});
    run.out = out.text();
    run.err = err.text();
    return run;
}

} // namespace kwhashgen::testing
