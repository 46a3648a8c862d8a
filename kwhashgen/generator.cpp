#include "generator.hpp"

#include "emit.hpp"

#include <cstdio>
#include <memory>

namespace kwhashgen {

std::uint32_t parse_step_size(const std::string& argument) {
    unsigned int scanned = 0;
    std::uint32_t step = default_step_size;
    if (std::sscanf(argument.c_str(), "%u", &scanned) == 1)
        step = scanned;
    if (step % 2 == 0)
        ++step;
    return step;
}

namespace {

const char* program_name(const std::vector<std::string>& args) {
    return args.empty() ? "kwhashgen" : args[0].c_str();
}

void write_usage(std::FILE* to, const std::vector<std::string>& args) {
    std::fprintf(to, "Usage: %s [step-size] < keywords > hash.c\n", program_name(args));
    std::fprintf(to, "  Default step-size is %u\n", default_step_size);
}

void write_help(std::FILE* out, const std::vector<std::string>& args) {
    std::fputs("Reads a keyword list (one keyword a line, optionally followed by its type)\n"
               "and writes the C source of a perfect hash and lookup over those keywords.\n",
               out);
    write_usage(out, args);
    std::fputs("  --help     show this text and exit\n"
               "  --version  show the version and exit\n",
               out);
}

// A full disk must not pass for a complete output.
int finish_output(const Streams& streams) {
    if (std::fflush(streams.out) != 0 || std::ferror(streams.out)) {
        std::fputs("Write error on standard output.\n", streams.err);
        return status_error;
    }
    return status_success;
}

// Answers --help or --version when an argument is exactly one of them (the
// first such argument wins); returns false when no argument asks.
bool answer_information_request(const std::vector<std::string>& args, const Streams& streams) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") {
            write_help(streams.out, args);
            return true;
        }
        if (args[i] == "--version") {
            std::fputs("kwhashgen " KARVO_VERSION "\n", streams.out);
            return true;
        }
    }
    return false;
}

int read_input(Generator& generator, const Streams& streams) {
    switch (read_keyword_list(streams.in, generator.store)) {
    case ReadStatus::ok:
        break;
    case ReadStatus::too_many_keywords:
        std::fputs("Only 256 keywords permitted.\n", streams.err);
        return status_error;
    case ReadStatus::out_of_memory:
        std::fputs("Malloc error.\n", streams.err);
        return status_error;
    case ReadStatus::read_error:
        std::fputs("Read error on standard input.\n", streams.err);
        return status_error;
    }
    // An empty keyword table is not valid C before C23, so an empty list
    // gets a message instead of a source that does not compile.
    if (generator.store.count == 0) {
        std::fputs("No keywords.\n", streams.err);
        return status_error;
    }
    return status_success;
}

} // namespace

int run(const std::vector<std::string>& args, bool input_is_terminal, const Streams& streams) {
    // The state is large (256 records, the search's tables); keep it off the
    // stack.
    const auto generator = std::make_unique<Generator>();
    return run(*generator, args, input_is_terminal, streams);
}

int run(Generator& generator, const std::vector<std::string>& command_line, bool input_is_terminal,
        const Streams& streams) {
    generator.step_size = default_step_size;
    if (answer_information_request(command_line, streams))
        return finish_output(streams);
    if (input_is_terminal || command_line.size() > 2) {
        write_usage(streams.err, command_line);
        return status_error;
    }
    if (command_line.size() == 2)
        generator.step_size = parse_step_size(command_line[1]);

    if (const int status = read_input(generator, streams); status != status_success)
        return status;

    KeywordStore& store = generator.store;
    generator.table_size = table_size_for(store.count);
    generator.theoretical_max_hash = generator.table_size * store.max_length;
    std::fprintf(streams.err, "Theoretical Max_Table_Value: %u\n", generator.table_size);
    std::fprintf(streams.err, "Theoretical Max_Hash_Value: %u\n", generator.theoretical_max_hash);

    count_frequencies(store, store.count, generator.frequencies);
    weight_and_sort(store, generator.frequencies);
    set_initial_values(store, generator.values);
    const SearchParams params{generator.table_size, generator.step_size, hash_starts_from_length};
    if (search(store, generator.values, generator.frequencies, generator.scratch, params,
               streams.err) != 0) {
        std::fputs("Hash failed.\n", streams.err);
        return status_hash_failed;
    }

    std::fputs("Success.\n", streams.err);
    write_opening_comment(streams.out, command_line);
    write_hash_source(streams.out, streams.err, store, generator.values, hash_starts_from_length);

    return finish_output(streams);
}

} // namespace kwhashgen
