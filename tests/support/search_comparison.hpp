// Running the fast search and the step-by-step search from the same start, so
// that the tests and the fuzz target can require identical results.
#pragma once

#include "kwhashgen/hash_search.hpp"
#include "kwhashgen/keyword_list.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kwhashgen::comparison {

// A keyword list read, weighed and sorted as the generator does it, with the
// initial values and the search parameters of the run.
struct PreparedSearch {
    std::unique_ptr<KeywordStore> store = std::make_unique<KeywordStore>();
    ReadStatus read_status = ReadStatus::ok;
    CharValues initial{};
    SearchParams params;
};

PreparedSearch prepare_search(const std::string& list, std::uint32_t step_size);

// What a search leaves behind.
struct SearchOutcome {
    CharValues values{};
    std::vector<std::uint32_t> hashes_after_main_pass;
    std::vector<std::uint32_t> hashes_after_verification;
    int result = 0;
    std::string reports;

    bool operator==(const SearchOutcome&) const = default;
};

SearchOutcome run_fast_search(const PreparedSearch& prepared, SearchScratch& scratch);
SearchOutcome run_stepwise_search(const PreparedSearch& prepared);

// An upper bound on the step-by-step search's basic steps for this store:
// at most one resolution per record, each trying at most every byte that one
// of two keywords holds, each trial at most table_size tries, and each try
// rehashing every byte and comparing every pair of records.
std::uint64_t stepwise_cost_bound(const KeywordStore& store, std::uint32_t table_size);

} // namespace kwhashgen::comparison
