// The perfect-hash search: byte frequencies, weighting and sort, the greedy
// placement with its value trials, and the final verification.
#pragma once

#include "keyword_list.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

namespace kwhashgen {

// Value of every byte, -1 for a byte that no keyword contains.
using CharValues = std::array<std::int32_t, 256>;
// How often each byte occurs in a range of keywords.
using FrequencyTable = std::array<std::uint32_t, 256>;

// A hash starts from the keyword's length rather than from 0. The generated
// hash function must start the same way.
inline constexpr bool hash_starts_from_length = true;

// The table size of a list: the smallest power of two that is not below the
// keyword count (1 for 0 or 1). Values lie below it, so it is the modulus of
// the value trials, at most max_keywords.
std::uint32_t table_size_for(std::uint32_t keyword_count);

// Hashes lie below this: a keyword is at most line_chunk_bytes long, and each
// of its bytes is valued below the table size, at most 256.
inline constexpr std::size_t hash_limit = line_chunk_bytes * 256 + 1;

// The fast search's working tables, fixed in size so that a search allocates
// nothing. They live in the generator's state; nothing in them outlasts a
// search except the stamp generations, which spare clearing the stamps.
struct SearchScratch {
    // How often each byte occurs in each record; a keyword of at most
    // line_chunk_bytes bytes holds no byte more than 255 times.
    std::array<std::array<std::uint8_t, 256>, max_keywords> byte_counts;
    std::array<std::uint32_t, max_keywords> current_hash; // under the current values
    std::array<std::uint32_t, max_keywords> trial_hash;   // without the tried byte's share
    std::array<std::uint32_t, max_keywords> with_byte;    // records holding the tried byte
    std::uint32_t with_byte_count = 0;
    struct Try {
        std::uint32_t value;
        std::uint32_t last_computed; // index of the last record the try hashed
    };
    std::array<Try, max_keywords> tries; // one per value tried, at most table_size
    std::uint32_t try_count = 0;
    // Hash index of the records without the tried byte (stamp = generation
    // of the trial that set it), and the hashes seen in one try.
    std::array<std::uint32_t, hash_limit> index_stamp{};
    std::array<std::uint8_t, hash_limit> index_record;
    std::array<std::uint32_t, hash_limit> seen_stamp{};
    std::uint32_t index_generation = 0;
    std::uint32_t seen_generation = 0;
};
static_assert(line_chunk_bytes <= 255 && max_keywords <= 256,
              "byte counts and record numbers are kept in bytes");

struct SearchParams {
    std::uint32_t table_size = 1; // table_size_for(count); the values tried lie below it
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

// Bytes that occur in exactly one of the two keywords, ascending, at the
// start of `candidates`. Returns how many there are.
using CandidateBytes = std::array<unsigned char, 256>;
std::size_t candidate_bytes(const KeywordRecord& a, const KeywordRecord& b,
                            CandidateBytes& candidates);

// One pass that moves rarer bytes forward: at each position the first later
// byte with a strictly lower count is swapped in. Not a full sort.
void order_candidates(std::span<unsigned char> candidates, const FrequencyTable& frequencies);

// Places the records one by one, resolving each record's first collision
// with an earlier one by a value trial. Leaves every record's stored hash as
// the last computation of the step-by-step algorithm would.
void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      SearchScratch& scratch, const SearchParams& params);

// Recomputes every hash under the final values and writes one "Collision"
// line per colliding pair to `messages`. Returns 0, or -1 when any collide.
int verify_hashes(KeywordStore& store, const CharValues& values, bool length_start,
                  std::FILE* messages);

// The main pass followed by the verification.
int search(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
           SearchScratch& scratch, const SearchParams& params, std::FILE* messages);

} // namespace kwhashgen
