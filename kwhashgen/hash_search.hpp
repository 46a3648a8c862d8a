// The perfect-hash search: byte frequencies, weighting and sort, the greedy
// placement with its value trials, and the final verification.
#pragma once

#include "keyword_list.hpp"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kwhashgen {

// Value of every byte, -1 for a byte that no keyword contains.
using CharValues = std::array<std::int32_t, 256>;
// How often each byte occurs in a range of keywords.
using FrequencyTable = std::array<std::uint32_t, 256>;

// A hash starts from the keyword's length rather than from 0. The generated
// hash function must start the same way.
inline constexpr bool hash_starts_from_length = true;

struct SearchParams {
    std::uint32_t table_size = 1; // power of two; the values tried lie below it
    std::uint32_t step_size = 5;  // odd stride of the value trials
    bool length_start = hash_starts_from_length;
};

// Counts every byte of records 0 to first_records-1, each occurrence counting.
void count_frequencies(const KeywordStore& store, std::uint32_t first_records,
                       FrequencyTable& frequencies);

// Weighs each record by the frequencies of its bytes and sorts the store
// heaviest first; records of equal weight keep their order.
void weight_and_sort(KeywordStore& store, const FrequencyTable& frequencies);

// Every byte that occurs in a keyword starts at 0, every other byte at -1.
void set_initial_values(const KeywordStore& store, CharValues& values);

// Hash of one keyword under the given values (the record is not changed).
std::uint32_t keyword_hash(const KeywordRecord& record, const CharValues& values,
                           bool length_start);

// Bytes, ascending, that occur in exactly one of the two keywords.
std::vector<unsigned char> candidate_bytes(const KeywordRecord& a, const KeywordRecord& b);

// One pass that moves rarer bytes forward: at each position the first later
// byte with a strictly lower count is swapped in. Not a full sort.
void order_candidates(std::vector<unsigned char>& candidates, const FrequencyTable& frequencies);

// Places the records one by one, resolving each record's first collision
// with an earlier one by a value trial. Leaves every record's stored hash as
// the last computation of the plain algorithm would.
void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      const SearchParams& params);

// Recomputes every hash under the final values and writes one "Collision"
// line per colliding pair to `messages`. Returns 0, or -1 when any collide.
int verify_hashes(KeywordStore& store, const CharValues& values, bool length_start,
                  std::FILE* messages);

// The main pass followed by the verification.
int search(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
           const SearchParams& params, std::FILE* messages);

} // namespace kwhashgen
