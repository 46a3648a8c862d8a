// What both generators share around their logic: the streams a run works on,
// the exit statuses, the usage, --help and --version texts, the final flush of
// the output, and the entry point that turns an allocation failure into a
// message and a status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace karvo {

// Exit statuses of both generators.
inline constexpr int status_success = 0;
inline constexpr int status_error = 1;

struct Streams {
    std::FILE* in;
    std::FILE* out;
    std::FILE* err;
};

// The texts a generator shows about itself.
struct ToolTexts {
    const char* name;        // the program's own name, used when argv[0] is missing
    const char* summary;     // what the program does, lines ending in newlines
    const char* usage;       // what follows the program name on the usage line
    const char* usage_notes; // lines printed after the usage line; may be ""
    const char* options;     // option lines of --help before --help and --version
};

// args[0], or the tool's own name when there is none.
const char* program_name(const std::vector<std::string>& args, const ToolTexts& texts);

// "Usage: <program> <usage>" and the usage notes.
void write_usage(std::FILE* to, const std::vector<std::string>& args, const ToolTexts& texts);

// Answers --help or --version on `out` when an argument is exactly one of them
// (the first such argument wins) and returns true; returns false when no
// argument asks. The answer still has to pass finish_output().
bool answer_information_request(const std::vector<std::string>& args, const ToolTexts& texts,
                                const Streams& streams);

// Flushes the output. A full disk must not pass for a complete output, so a
// failed write is a message and status_error.
int finish_output(const Streams& streams);

// Writes the message of a failed allocation and returns status_error.
int report_allocation_failure(const Streams& streams);

// The signature of a generator's run: arguments with the program name first,
// whether standard input is a terminal, the streams; returns the exit status.
using RunFunction = int (*)(const std::vector<std::string>& args, bool input_is_terminal,
                            const Streams& streams);

// A whole program: gathers argv and calls `run`. An allocation that fails
// anywhere, while gathering the arguments included, ends the run with
// "Malloc error." and status_error; a generator writes its output only after
// its last allocation, so nothing reaches `out` then.
int run_program(int argc, char** argv, bool input_is_terminal, const Streams& streams,
                RunFunction run);

} // namespace karvo
