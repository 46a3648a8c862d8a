#include "search_comparison.hpp"

#include "stepwise_search.hpp"
#include "streams.hpp"

#include <algorithm>

namespace kwhashgen::comparison {
namespace {

using karvo::testing::InputStream;
using karvo::testing::OutputStream;

std::vector<std::uint32_t> stored_hashes(const KeywordStore& store) {
    std::vector<std::uint32_t> hashes;
    for (std::uint32_t k = 0; k < store.count; ++k)
        hashes.push_back(store.records[k].hash);
    return hashes;
}

template <typename MainPass, typename Verify>
SearchOutcome run_search(const PreparedSearch& prepared, MainPass main_pass, Verify verify) {
    auto store = std::make_unique<KeywordStore>(*prepared.store);
    SearchOutcome outcome;
    outcome.values = prepared.initial;
    FrequencyTable frequencies{};
    main_pass(*store, outcome.values, frequencies, prepared.params);
    outcome.hashes_after_main_pass = stored_hashes(*store);
    OutputStream reports;
    outcome.result = verify(*store, outcome.values, prepared.params.length_start, reports.get());
    outcome.hashes_after_verification = stored_hashes(*store);
    outcome.reports = reports.text();
    return outcome;
}

} // namespace

PreparedSearch prepare_search(const std::string& list, std::uint32_t step_size) {
    PreparedSearch prepared;
    KeywordStore& store = *prepared.store;
    InputStream in(list);
    prepared.read_status = read_keyword_list(in.get(), store);
    FrequencyTable frequencies{};
    count_frequencies(store, store.count, frequencies);
    weight_and_sort(store, frequencies);
    set_initial_values(store, prepared.initial);
    prepared.params = {table_size_for(store.count), step_size, hash_starts_from_length};
    return prepared;
}

SearchOutcome run_fast_search(const PreparedSearch& prepared, SearchScratch& scratch) {
    const auto main_pass = [&scratch](KeywordStore& store, CharValues& values,
                                      FrequencyTable& frequencies, const SearchParams& params) {
        search_main_pass(store, values, frequencies, scratch, params);
    };
    return run_search(prepared, main_pass, verify_hashes);
}

SearchOutcome run_stepwise_search(const PreparedSearch& prepared) {
    return run_search(prepared, stepwise::search_main_pass, stepwise::verify_hashes);
}

std::uint64_t stepwise_cost_bound(const KeywordStore& store, std::uint32_t table_size) {
    std::uint64_t bytes = 0;
    for (std::uint32_t k = 0; k < store.count; ++k)
        bytes += store.records[k].length;
    const std::uint64_t count = store.count;
    const std::uint64_t candidates =
        std::min<std::uint64_t>(256, 2 * std::uint64_t{store.max_length});
    return count * candidates * table_size * (bytes + count * count);
}

} // namespace kwhashgen::comparison
