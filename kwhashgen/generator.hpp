// One whole run of the generator, from the command line to the exit status.
#pragma once

#include "common/command_line.hpp"
#include "hash_search.hpp"
#include "keyword_list.hpp"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kwhashgen {

inline constexpr std::uint32_t default_step_size = 5;

using karvo::status_error;
using karvo::status_success;
using karvo::Streams;
// The search left colliding keywords. An exit status is 8 bits wide: the
// calling shell sees 255 (as it would for a status of -1).
inline constexpr int status_hash_failed = 255;

// Everything one run works on.
struct Generator {
    std::uint32_t step_size = default_step_size;
    std::uint32_t table_size = 1; // the search's modulus; see table_size_for()
    std::uint32_t theoretical_max_hash = 0;
    KeywordStore store;
    CharValues values{};
    FrequencyTable frequencies{};
    SearchScratch scratch;
};

// The step size an argument asks for: scanned as an unsigned decimal number
// (white space and a sign allowed, trailing bytes ignored), 5 when it holds
// none, and made odd.
std::uint32_t parse_step_size(const std::string& argument);

// Runs the generator. `args` holds the program name first, then the
// arguments. An argument that is exactly --help or --version is answered on
// `out`, even with a terminal on standard input; otherwise a terminal on
// standard input or more than one argument is refused with the usage text.
// Returns the exit status. An allocation failure throws std::bad_alloc before
// anything is written to `out`; karvo::run_program() reports it.
int run(const std::vector<std::string>& args, bool input_is_terminal, const Streams& streams);

// The same run on a given state, which the caller can inspect afterwards. The
// state is reset first, so a state can serve any number of runs.
int run(Generator& generator, const std::vector<std::string>& args, bool input_is_terminal,
        const Streams& streams);

} // namespace kwhashgen
