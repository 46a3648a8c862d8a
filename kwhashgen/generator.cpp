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

static_assert(default_step_size == 5, "the usage text names the default step size");

constexpr karvo::ToolTexts tool_texts = {
    "kwhashgen",
    "Reads a keyword list (one keyword a line, optionally followed by its type)\n"
    "and writes the C source of a perfect hash and lookup over those keywords.\n",
    "[step-size] < keywords > hash.c",
    "  Default step-size is 5\n",
    "",
};

int read_input(Generator& generator, const Streams& streams) {
    switch (read_keyword_list(streams.in, generator.store)) {
    case ReadStatus::ok:
        break;
    case ReadStatus::too_many_keywords:
        std::fputs("Only 256 keywords permitted.\n", streams.err);
        return status_error;
    case ReadStatus::out_of_memory:
        return karvo::report_allocation_failure(streams);
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

// Everything but the search's scratch tables, which mark their entries with
// generation stamps and so never need clearing. The records keep their
// strings' storage for the next list.
void reset(Generator& generator) {
    generator.step_size = default_step_size;
    generator.table_size = 1;
    generator.theoretical_max_hash = 0;
    generator.store.count = 0;
    generator.store.max_length = 0;
    generator.store.min_length = KeywordStore{}.min_length;
    generator.values.fill(0);
    generator.frequencies.fill(0);
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
    reset(generator);
    if (karvo::answer_information_request(command_line, tool_texts, streams))
        return karvo::finish_output(streams);
    if (input_is_terminal || command_line.size() > 2) {
        karvo::write_usage(streams.err, command_line, tool_texts);
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

    // The last allocation of the run: a failure here still leaves standard
    // output empty and "Success." unsaid.
    const KeywordRows rows = keyword_rows(store);
    std::fputs("Success.\n", streams.err);
    write_opening_comment(streams.out, command_line);
    write_hash_source(streams.out, streams.err, store, generator.values, rows,
                      hash_starts_from_length);

    return karvo::finish_output(streams);
}

} // namespace kwhashgen
