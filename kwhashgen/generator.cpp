#include "generator.hpp"

#include "emit.hpp"

#include <cstdio>

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

void write_usage(std::FILE* err, const std::vector<std::string>& command_line) {
    const char* program = command_line.empty() ? "kwhashgen" : command_line[0].c_str();
    std::fprintf(err, "Usage: %s [step-size] < keywords > hash.c\n", program);
    std::fprintf(err, "  Default step-size is %u\n", default_step_size);
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

int run_generator(Generator& generator, const std::vector<std::string>& command_line,
                  bool input_is_terminal, const Streams& streams) {
    generator.step_size = default_step_size;
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
    if (search(store, generator.values, generator.frequencies, params, streams.err) != 0) {
        std::fputs("Hash failed.\n", streams.err);
        return status_hash_failed;
    }

    std::fputs("Success.\n", streams.err);
    write_opening_comment(streams.out, command_line);
    write_hash_source(streams.out, streams.err, store, generator.values, hash_starts_from_length);

    // A full disk must not pass for a complete source file.
    if (std::fflush(streams.out) != 0 || std::ferror(streams.out)) {
        std::fputs("Write error on standard output.\n", streams.err);
        return status_error;
    }
    return status_success;
}

} // namespace kwhashgen
