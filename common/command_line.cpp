#include "command_line.hpp"

#include <new>

namespace karvo {

const char* program_name(const std::vector<std::string>& args, const ToolTexts& texts) {
    return args.empty() ? texts.name : args[0].c_str();
}

void write_usage(std::FILE* to, const std::vector<std::string>& args, const ToolTexts& texts) {
    std::fprintf(to, "Usage: %s %s\n", program_name(args, texts), texts.usage);
    std::fputs(texts.usage_notes, to);
}

bool answer_information_request(const std::vector<std::string>& args, const ToolTexts& texts,
                                const Streams& streams) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") {
            std::fputs(texts.summary, streams.out);
            write_usage(streams.out, args, texts);
            std::fputs(texts.options, streams.out);
            std::fputs("  --help     show this text and exit\n"
                       "  --version  show the version and exit\n",
                       streams.out);
            return true;
        }
        if (args[i] == "--version") {
            std::fprintf(streams.out, "%s %s\n", texts.name, KARVO_VERSION);
            return true;
        }
    }
    return false;
}

int finish_output(const Streams& streams) {
    if (std::fflush(streams.out) != 0 || std::ferror(streams.out) != 0) {
        std::fputs("Write error on standard output.\n", streams.err);
        return status_error;
    }
    return status_success;
}

int report_allocation_failure(const Streams& streams) {
    std::fputs("Malloc error.\n", streams.err);
    return status_error;
}

int run_program(int argc, char** argv, bool input_is_terminal, const Streams& streams,
                RunFunction run) {
    try {
        const std::vector<std::string> args(argv, argv + argc);
        return run(args, input_is_terminal, streams);
    } catch (const std::bad_alloc&) {
        return report_allocation_failure(streams);
    }
}

} // namespace karvo
