// Runs the whole keyword hash generator in-process on a list held in memory.
#pragma once

#include "kwhashgen/generator.hpp"
#include "streams.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace karvo::testing {

struct KwhashgenRun {
    int status = 0;
    std::string out;
    std::string err;
    // The state the run left, for checks of the search's result.
    std::unique_ptr<kwhashgen::Generator> generator = std::make_unique<kwhashgen::Generator>();
};

// `arguments` follow the program name "kwhashgen"; standard input is `in`.
inline KwhashgenRun run_kwhashgen_on(std::FILE* in, std::vector<std::string> arguments = {},
                                     bool input_is_terminal = false) {
    arguments.insert(arguments.begin(), "kwhashgen");
    OutputStream out;
    OutputStream err;
    KwhashgenRun run;
    run.status =
        kwhashgen::run(*run.generator, arguments, input_is_terminal, {in, out.get(), err.get()});
    run.out = out.text();
    run.err = err.text();
    return run;
}

inline KwhashgenRun run_kwhashgen(const std::string& list, std::vector<std::string> arguments = {},
                                  bool input_is_terminal = false) {
    InputStream in(list);
    return run_kwhashgen_on(in.get(), std::move(arguments), input_is_terminal);
}

} // namespace karvo::testing
